#include "ScancodeMapValue.h"

#include <cstdint>

#include "StoreResults.h"

namespace {
std::uint32_t wordAt(const unsigned char* data, std::size_t offset)
{
    return static_cast<std::uint32_t>(data[offset]) | static_cast<std::uint32_t>(data[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data[offset + 2]) << 16 | static_cast<std::uint32_t>(data[offset + 3]) << 24;
}

void putWord(unsigned char* out, std::uint32_t word)
{
    out[0] = static_cast<unsigned char>(word);
    out[1] = static_cast<unsigned char>(word >> 8);
    out[2] = static_cast<unsigned char>(word >> 16);
    out[3] = static_cast<unsigned char>(word >> 24);
}
}  // namespace

namespace ScancodeMapValue {

int decode(const unsigned char* data, std::size_t size, MappingList& list)
{
    if (size < minimumSize)
        return ReadBadFormat;
    std::uint32_t count = wordAt(data, 8);
    if (count == 0)
        return ReadBadFormat;
    // 64-bit arithmetic: an oversized count can never match the size by wrapping round.
    if (static_cast<std::uint64_t>(size) != 12 + 4 * static_cast<std::uint64_t>(count))
        return ReadBadFormat;
    if (wordAt(data, 8 + 4 * static_cast<std::size_t>(count)) != 0)
        return ReadBadFormat;
    for (std::uint32_t i = 0; i + 1 < count; ++i) {
        std::uint32_t entry = wordAt(data, 12 + 4 * static_cast<std::size_t>(i));
        if (list.append(static_cast<ScanCode>(entry >> 16), static_cast<ScanCode>(entry & 0xFFFF)) == -1)
            return ReadNoMemory;
    }
    return ReadOk;
}

std::size_t encodedSize(int rows)
{
    if (rows < 0 || static_cast<std::uint64_t>(rows) > (UINT32_MAX - 16) / 4)
        return 0;
    std::uint64_t size = 16 + 4 * static_cast<std::uint64_t>(rows);
    return size > SIZE_MAX ? 0 : static_cast<std::size_t>(size);
}

void encode(const MappingList& list, unsigned char* out)
{
    const int n = list.count();
    putWord(out, 0);
    putWord(out + 4, 0);
    putWord(out + 8, static_cast<std::uint32_t>(n) + 1);
    for (int i = 0; i < n; ++i) {
        const KeyMapping& row = list.at(i);
        putWord(out + 12 + 4 * static_cast<std::size_t>(i),
                static_cast<std::uint32_t>(row.fromCode) << 16 | row.toCode);
    }
    putWord(out + 12 + 4 * static_cast<std::size_t>(n), 0);
}

}  // namespace ScancodeMapValue
