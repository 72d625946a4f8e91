// Little-endian byte strings for store and file tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes words(std::initializer_list<std::uint32_t> values)
{
    Bytes out;
    for (std::uint32_t w : values)
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<unsigned char>(w >> shift));
    return out;
}
