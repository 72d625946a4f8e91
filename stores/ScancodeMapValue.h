// The layout of the "ScanCode Map" registry value: three header words (version, flags,
// entry count including the terminator), one word per mapping (target in the low half,
// source in the high half), and a zero terminator; all little-endian.
#pragma once

#include <cstddef>

#include "MappingList.h"

namespace ScancodeMapValue {

const std::size_t minimumSize = 16;

// Appends the value's mappings to `list` in stored order. Returns ReadOk, ReadBadFormat
// when the bytes are no such value, or ReadNoMemory when the list stopped growing (the
// rows appended until then stay).
int decode(const unsigned char* data, std::size_t size, MappingList& list);

// Bytes needed for a value of `rows` mappings; 0 when that size cannot be represented.
std::size_t encodedSize(int rows);

// Writes the list as a value into `out`, which holds encodedSize(list.count()) bytes.
void encode(const MappingList& list, unsigned char* out);

}  // namespace ScancodeMapValue
