// The fixed table of the 103 keys that can be remapped, in the order the key lists show them.
#pragma once

#include <cstdint>

typedef std::uint16_t ScanCode;  // low byte: set-1 make code; high byte 0xE0 for extended keys

struct KeyEntry {
    ScanCode code;
    const char* name;  // static text; never copied or freed
};

namespace KeyCatalogue {
const int size = 103;

// index must lie in 0 .. size - 1
const KeyEntry& entryAt(int index);

// Catalogue index of the entry with this code (all 16 bits compared), or -1.
int indexOfCode(ScanCode code);

// Name of the entry with this code, or nullptr when the catalogue lacks it.
const char* nameOfCode(ScanCode code);

inline bool isExtended(ScanCode code) { return code > 0xFF; }
}  // namespace KeyCatalogue
