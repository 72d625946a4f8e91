// The working set of key mappings, with the derived state the main window draws.
#pragma once

#include <cstddef>
#include <cstdint>

#include "KeyCatalogue.h"

enum MappingKind {
    Plain = 0,
    SwapFirst = 1,
    SwapSecond = 2,
    Disabled = 3,
    NotInvolved = 4,  // key statuses only, never a row's kind
};

struct KeyMapping {
    ScanCode fromCode;
    ScanCode toCode;
    std::int32_t kind;
    const char* fromName;  // catalogue text, or nullptr for a code the catalogue lacks
    const char* toName;
};

class MappingList {
public:
    MappingList();
    ~MappingList();
    MappingList(const MappingList&) = delete;
    MappingList& operator=(const MappingList&) = delete;

    int count() const { return count_; }
    const KeyMapping& at(int index) const { return rows_[index]; }
    const KeyMapping* rows() const { return rows_; }
    int toStatus(int catalogueIndex) const { return toStatus_[catalogueIndex]; }
    int fromStatus(int catalogueIndex) const { return fromStatus_[catalogueIndex]; }

    // Index of the first row whose source is `from`, or -1.
    int findByFrom(ScanCode from) const;
    // Adds a row at the end; its index, or -1 when the storage cannot grow.
    int append(ScanCode from, ScanCode to);
    // index must name an existing row.
    void removeAt(int index);
    // Makes `from` produce `to`: retargets the first row of that source or appends one.
    int setMapping(ScanCode from, ScanCode to);
    void clear();
    // Exchanges the whole contents of two lists; cannot fail.
    void swap(MappingList& other);
    void resetDerived();
    // Sorts by source name, brings swap pairs together and recomputes kinds and statuses.
    void normalise();

    // The allocator behind the rows and normalise's scratch space (realloc semantics).
    // Tests replace it to make the storage fail to grow.
    typedef void* (*ResizeFunction)(void* block, std::size_t bytes);
    static ResizeFunction resizeStorage;

private:
    void sortByName();
    void pairSwaps();
    void pairSwapsInPlace();
    bool pairSwapsIndexed();
    void fillStatuses();

    bool grow();

    KeyMapping* rows_;
    int count_;
    int capacity_;  // rows the storage holds room for; count_ <= capacity_
    std::int32_t toStatus_[KeyCatalogue::size];
    std::int32_t fromStatus_[KeyCatalogue::size];
};

// Case-folded byte-wise comparison of two key names: <0, 0 or >0.
int compareKeyNames(const char* a, const char* b);
