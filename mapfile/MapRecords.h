// The records of a map file as read, in file order, and the two filters the loader applies
// before the records become mapping rows.
#pragma once

#include <cstddef>

#include "KeyCatalogue.h"

// Field order as in the file: the target first, then the source.
struct MapRecord {
    ScanCode toCode;
    ScanCode fromCode;
};

class MapRecords {
public:
    MapRecords() : rows_(nullptr), count_(0) {}
    ~MapRecords() { clear(); }
    MapRecords(const MapRecords&) = delete;
    MapRecords& operator=(const MapRecords&) = delete;

    int count() const { return count_; }
    const MapRecord& at(int index) const { return rows_[index]; }
    MapRecord& at(int index) { return rows_[index]; }

    // Replaces the records with `count` (1 or more) zero records, obtained at once. false,
    // with no records left, when the storage cannot be obtained or its size represented.
    bool obtain(int count);
    void clear();

    // Removes the records whose source or target is an extended key (not mappable on
    // Windows 95/98/ME); later records keep their order. true when any was removed.
    bool removeExtended();
    // Removes the records whose source or target the catalogue lacks; later records keep
    // their order. true when any was removed.
    bool removeUnknown();

    // The allocator behind the records (malloc semantics; released with std::free). Tests
    // replace it to see what is asked for and to make it fail.
    typedef void* (*ObtainFunction)(std::size_t bytes);
    static ObtainFunction obtainStorage;

private:
    template <class Unwanted>
    bool removeWhere(Unwanted unwanted);

    MapRecord* rows_;
    int count_;
};
