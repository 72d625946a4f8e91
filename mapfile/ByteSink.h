// Where a map file is written to. Save wraps a file in one; tests and the fuzzer wrap memory
// (tests/MemoryBytes.h).
#pragma once

#include <cstddef>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all `size` bytes; false when they cannot all be written.
    virtual bool write(const unsigned char* data, std::size_t size) = 0;
};
