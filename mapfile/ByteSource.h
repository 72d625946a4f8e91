// Where a map file is read from. The loader wraps an open file in one; tests and the fuzzer
// wrap memory (tests/MemoryBytes.h).
#pragma once

#include <cstddef>
#include <cstdint>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies the next `size` bytes into `out`; false when they cannot all be read.
    virtual bool read(unsigned char* out, std::size_t size) = 0;
    // Bytes from the current position to the end, so that a declared length can be
    // checked against what is really there before anything is obtained for it.
    virtual std::uint64_t remaining() const = 0;
};
