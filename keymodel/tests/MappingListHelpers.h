// Builds mapping lists from key names and describes them as text, for readable assertions.
#pragma once

#include "MappingList.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_keys {

// Code of the catalogue key with this name; a name of the form "0x0056" gives that code.
inline ScanCode code(const std::string& name)
{
    if (name.rfind("0x", 0) == 0)
        return static_cast<ScanCode>(std::stoul(name, nullptr, 16));
    for (int i = 0; i < KeyCatalogue::size; ++i)
        if (name == KeyCatalogue::entryAt(i).name)
            return KeyCatalogue::entryAt(i).code;
    throw std::invalid_argument("no key named " + name);
}

inline int indexOf(const std::string& name) { return KeyCatalogue::indexOfCode(code(name)); }

struct Row {
    std::string from, to;
};

inline void fill(MappingList& list, const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        list.append(code(row.from), code(row.to));
}

// "Caps Lock>Left Ctrl:1" per row, kind after the colon.
inline std::vector<std::string> describe(const MappingList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) {
        const KeyMapping& row = list.at(i);
        char unknownFrom[8], unknownTo[8];
        snprintf(unknownFrom, sizeof unknownFrom, "0x%04X", row.fromCode);
        snprintf(unknownTo, sizeof unknownTo, "0x%04X", row.toCode);
        out.push_back(std::string(row.fromName ? row.fromName : unknownFrom) + ">" +
                      (row.toName ? row.toName : unknownTo) + ":" + std::to_string(row.kind));
    }
    return out;
}

// While it lives, the mapping list's storage may grow only `growths` more times, and never
// to more than `largest` bytes; it counts the requests. Releasing always works. Shrinking
// counts as growing, as the list asks for either the same way.
class LimitedStorage {
public:
    static constexpr int anyNumber = INT_MAX;
    explicit LimitedStorage(int growths, std::size_t largest = SIZE_MAX) : saved_(MappingList::resizeStorage)
    {
        left() = growths;
        limit() = largest;
        requests() = 0;
        MappingList::resizeStorage = resize;
    }
    ~LimitedStorage() { MappingList::resizeStorage = saved_; }
    LimitedStorage(const LimitedStorage&) = delete;
    LimitedStorage& operator=(const LimitedStorage&) = delete;
    static void allow(int growths) { left() = growths; }
    static int& requests()
    {
        static int n;
        return n;
    }

private:
    static int& left()
    {
        static int growths;
        return growths;
    }
    static std::size_t& limit()
    {
        static std::size_t bytes;
        return bytes;
    }
    static void* resize(void* block, std::size_t bytes)
    {
        if (bytes == 0) {
            std::free(block);
            return nullptr;
        }
        ++requests();
        if (left()-- <= 0)
            return nullptr;
        return bytes > limit() ? nullptr : std::realloc(block, bytes);
    }
    MappingList::ResizeFunction saved_;
};

}  // namespace testing_keys
