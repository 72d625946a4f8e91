// Damaged inputs made from valid ones, and what each must give when read, worked out here
// apart from the program's own readers. No Windows header: the inputs are only bytes.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "KeyCatalogue.h"

namespace hostile {

using Bytes = std::vector<unsigned char>;
using Random = std::mt19937;

inline std::uint32_t Below(Random& random, std::uint32_t n) { return n ? random() % n : 0; }
inline bool OneIn(Random& random, std::uint32_t n) { return Below(random, n) == 0; }

inline void Put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
inline void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline std::uint32_t Get16(const Bytes& in, std::size_t at) { return in[at] | in[at + 1] << 8; }
inline std::uint32_t Get32(const Bytes& in, std::size_t at) { return Get16(in, at) | Get16(in, at + 2) << 16; }

// A valid input, and where its count field lies (`countAt` < 0 for none) with the count
// it holds, so that a mutation can set it to the values readers get wrong.
struct Seed {
    Bytes bytes;
    int countAt;
    std::uint32_t count;
};

// What a mutation did, for the report of a failing case.
struct Mutated {
    Bytes bytes;
    std::string how;
};

// A code the catalogue knows, one it lacks, or an extended one: what every reader must sort out.
inline std::uint16_t AnyCode(Random& random)
{
    switch (Below(random, 8)) {
    case 0: return static_cast<std::uint16_t>(random());
    case 1: return 0x0056;                                          // no such key
    case 2: return static_cast<std::uint16_t>(0xE000 | Below(random, 0x80));  // extended
    default: return KeyCatalogue::entryAt(static_cast<int>(Below(random, KeyCatalogue::size))).code;
    }
}

// Cut, grown, bytes changed, the count set to 0, -1, 2^31-1 or the real count +- 1, or
// bytes from scratch; one to three of them.
inline Mutated Mutate(Random& random, const Seed& seed)
{
    Mutated out{seed.bytes, ""};
    Bytes& b = out.bytes;
    const int steps = 1 + static_cast<int>(Below(random, 3));
    for (int step = 0; step < steps; ++step) {
        switch (Below(random, 8)) {
        case 0: {
            std::size_t at = Below(random, static_cast<std::uint32_t>(b.size() + 1));
            b.resize(at);
            out.how += " cut to " + std::to_string(at);
            break;
        }
        case 1: {
            std::size_t more = 1 + Below(random, OneIn(random, 4) ? 4096 : 16);
            for (std::size_t i = 0; i < more; ++i)
                b.push_back(static_cast<unsigned char>(OneIn(random, 2) ? 0 : random()));
            out.how += " grown by " + std::to_string(more);
            break;
        }
        case 2:
        case 3: {
            // Half the time among the records only, so that the header survives.
            const int flips = 1 + static_cast<int>(Below(random, 6));
            const std::size_t from = seed.countAt > 0 && OneIn(random, 2) ? seed.countAt + 4 : 0;
            for (int i = 0; i < flips && b.size() > from; ++i) {
                std::size_t at = from + Below(random, static_cast<std::uint32_t>(b.size() - from));
                b[at] = static_cast<unsigned char>(OneIn(random, 2) ? b[at] ^ (1u << Below(random, 8)) : random());
                out.how += " byte " + std::to_string(at) + "=" + std::to_string(b[at]);
            }
            break;
        }
        case 4:
        case 5: {
            if (seed.countAt < 0 || b.size() < static_cast<std::size_t>(seed.countAt) + 4)
                break;
            const std::uint32_t counts[] = {0, 0xFFFFFFFFu, 0x7FFFFFFFu, seed.count + 1, seed.count - 1,
                                            0x80000000u, seed.count * 2, 0x40000000u};
            std::uint32_t count = counts[Below(random, sizeof counts / sizeof counts[0])];
            for (int i = 0; i < 4; ++i)
                b[seed.countAt + i] = static_cast<unsigned char>(count >> (8 * i));
            out.how += " count=" + std::to_string(count);
            break;
        }
        case 6: {
            std::size_t at = Below(random, static_cast<std::uint32_t>(b.size() + 1));
            Bytes piece(b.begin() + at, b.begin() + std::min(b.size(), at + 1 + Below(random, 64)));
            b.insert(b.begin() + Below(random, static_cast<std::uint32_t>(b.size() + 1)), piece.begin(), piece.end());
            out.how += " repeated " + std::to_string(piece.size()) + " from " + std::to_string(at);
            break;
        }
        case 7:
            if (OneIn(random, 3)) {
                b.assign(Below(random, 96), 0);
                for (unsigned char& c : b)
                    c = static_cast<unsigned char>(random());
                out.how += " from scratch";
            }
            break;
        }
    }
    if (out.how.empty())
        out.how = " unchanged";
    return out;
}

// Map files ---------------------------------------------------------------------------

const char mapHeaderText[] = "Swivelkin 2.0";

// The header in one of the length forms a reader takes, or one it must refuse: the text
// cut, in another case, with a NUL and more inside, UTF-16 with a unit cut in half, or the
// UTF-16 marker twice.
inline Bytes MapHeader(Random& random, std::string& how)
{
    std::string text = mapHeaderText;
    switch (Below(random, 10)) {
    case 0: text = "swivelkin 2.0"; break;
    case 1: text += std::string(1, '\0') + "and more"; break;
    case 2: text.resize(Below(random, 13)); break;
    case 3: text = "Swivelkin 2.1"; break;
    default: break;
    }
    const bool wide = OneIn(random, 3);
    const std::uint32_t units = static_cast<std::uint32_t>(text.size());
    Bytes out;
    if (wide) {
        out = {0xFF, 0xFE, 0xFF};
        if (OneIn(random, 8))
            out.insert(out.end(), {0xFF, 0xFE, 0xFF});  // the marker twice
    }
    std::uint32_t length = units;
    if (OneIn(random, 6))
        length += OneIn(random, 2) ? 1 : 0xFFFFFFFFu;  // one more or one fewer than there are
    switch (Below(random, 3)) {
    case 0:
        if (length < 0xFF) {
            out.push_back(static_cast<unsigned char>(length));
            how += " one-byte length";
            break;
        }
        // fall through
    case 1:
        if (length < 0xFFFE) {
            out.push_back(0xFF);
            Put16(out, length);
            how += " 16-bit length";
            break;
        }
        // fall through
    default:
        out.push_back(0xFF);
        Put16(out, 0xFFFF);
        Put32(out, length);
        how += " 32-bit length";
        break;
    }
    if (wide)
        how += " UTF-16";
    for (unsigned char c : text) {
        out.push_back(c);
        if (wide)
            out.push_back(OneIn(random, 20) ? 0xD8 : 0);  // now and then half a surrogate pair
    }
    if (wide && OneIn(random, 6)) {
        out.pop_back();  // the last unit cut in half
        how += " odd end";
    }
    how += " \"" + std::string(text.c_str()) + "\"";
    return out;
}

// A map file of a few records, its header in any form.
inline Seed MapFileSeed(Random& random, std::string& how)
{
    Seed seed{MapHeader(random, how), 0, 0};
    const std::uint32_t records = OneIn(random, 5) ? 0 : 1 + Below(random, OneIn(random, 8) ? 300 : 6);
    seed.countAt = static_cast<int>(seed.bytes.size());
    seed.count = records;
    Put32(seed.bytes, records);
    for (std::uint32_t i = 0; i < records; ++i) {
        std::uint16_t from = AnyCode(random), to = OneIn(random, 6) ? 0 : AnyCode(random);
        if (i > 0 && OneIn(random, 4))
            std::swap(from, to);  // now and then a swap pair's other half
        Put16(seed.bytes, to);
        Put16(seed.bytes, from);
    }
    how += " " + std::to_string(records) + " records";
    return seed;
}

enum MapReading { MapOk, MapIoError, MapNotValid };

// A map file as Load must read it: the result, and on success the (from, to) records in
// file order.
struct MapFileReading {
    MapReading result;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> records;
};

inline MapFileReading ReadMapFile(const Bytes& b)
{
    MapFileReading out{MapIoError, {}};
    std::size_t p = 0;
    auto has = [&](std::uint64_t n) { return p + n <= b.size(); };
    std::uint64_t length = 0;
    bool wide = false;
    for (;;) {
        if (!has(1))
            return out;
        const unsigned first = b[p++];
        if (first != 0xFF) {
            length = first;
            break;
        }
        if (!has(2))
            return out;
        const std::uint32_t second = Get16(b, p);
        p += 2;
        if (second == 0xFFFF) {
            if (!has(4))
                return out;
            length = Get32(b, p);
            p += 4;
            break;
        }
        if (second != 0xFFFE) {
            length = second;
            break;
        }
        if (wide) {
            out.result = MapNotValid;
            return out;
        }
        wide = true;
    }
    const std::uint64_t unit = wide ? 2 : 1;
    if (!has(length * unit))
        return out;
    std::u32string text;
    for (std::uint64_t i = 0; i < length; ++i) {
        std::uint32_t c = wide ? Get16(b, p + 2 * i) : b[p + i];
        if (c == 0)
            break;
        text.push_back(c);
    }
    p += length * unit;
    const std::string expected = mapHeaderText;
    if (text != std::u32string(expected.begin(), expected.end())) {
        out.result = MapNotValid;
        return out;
    }
    if (!has(4))
        return out;
    const std::int32_t count = static_cast<std::int32_t>(Get32(b, p));
    p += 4;
    if (count > 0) {
        if (!has(4ull * static_cast<std::uint32_t>(count)))
            return out;
        for (std::int32_t i = 0; i < count; ++i, p += 4)
            out.records.push_back({static_cast<std::uint16_t>(Get16(b, p + 2)), static_cast<std::uint16_t>(Get16(b, p))});
    }
    out.result = MapOk;
    return out;
}

// The "ScanCode Map" value -----------------------------------------------------------------

inline Seed ScancodeMapSeed(Random& random, std::string& how)
{
    Seed seed{{}, 8, 0};
    const std::uint32_t entries = Below(random, OneIn(random, 8) ? 200 : 6);
    Put32(seed.bytes, OneIn(random, 4) ? random() : 0);
    Put32(seed.bytes, OneIn(random, 4) ? random() : 0);
    seed.count = entries + 1;
    Put32(seed.bytes, seed.count);
    for (std::uint32_t i = 0; i < entries; ++i)
        Put32(seed.bytes, static_cast<std::uint32_t>(AnyCode(random)) << 16 | (OneIn(random, 6) ? 0 : AnyCode(random)));
    Put32(seed.bytes, 0);
    how += " " + std::to_string(entries) + " entries";
    return seed;
}

// What opening the window must make of a value of this type and these bytes: the read
// result (0, 3 wrong type, 6 not a value) and on 0 the (from, to) entries in stored order.
struct ScancodeMapReading {
    int result;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> entries;
};

inline ScancodeMapReading ReadScancodeMapValue(std::uint32_t type, const Bytes& b)
{
    const std::uint32_t binary = 3;  // REG_BINARY
    if (type != binary)
        return {3, {}};
    if (b.size() < 16)
        return {6, {}};
    const std::uint64_t count = Get32(b, 8);
    if (count == 0 || b.size() != 12 + 4 * count || Get32(b, b.size() - 4) != 0)
        return {6, {}};
    ScancodeMapReading out{0, {}};
    for (std::uint64_t i = 0; i + 1 < count; ++i) {
        const std::uint32_t word = Get32(b, 12 + 4 * i);
        out.entries.push_back({static_cast<std::uint16_t>(word >> 16), static_cast<std::uint16_t>(word & 0xFFFF)});
    }
    return out;
}

// The Windows 95/98/ME table -----------------------------------------------------------------

inline Seed TableSeed(Random& random, std::string& how)
{
    Seed seed{Bytes(256), -1, 0};
    for (int i = 0; i < 256; ++i)
        seed.bytes[i] = static_cast<unsigned char>(i);
    const int changes = static_cast<int>(Below(random, 6));
    for (int i = 0; i < changes; ++i)
        seed.bytes[Below(random, 256)] = static_cast<unsigned char>(OneIn(random, 5) ? 0 : random());
    how += " " + std::to_string(changes) + " changes";
    return seed;
}

// The (from, to) rows that a stored table gives; none unless it is REG_BINARY of 256 bytes.
inline std::vector<std::pair<std::uint16_t, std::uint16_t>> ReadTable(std::uint32_t type, const Bytes& b)
{
    std::vector<std::pair<std::uint16_t, std::uint16_t>> rows;
    if (type != 3 || b.size() != 256)
        return rows;
    for (int i = 0; i < 256; ++i)
        if (b[i] != i)
            rows.push_back({static_cast<std::uint16_t>(i), b[i]});
    return rows;
}

// Registry value types, the right one most of the time.
inline std::uint32_t AnyValueType(Random& random)
{
    const std::uint32_t types[] = {3, 3, 3, 3, 3, 3, 0, 1, 2, 4, 7, 11, 0x1234};
    return types[Below(random, sizeof types / sizeof types[0])];
}

// The settings file ------------------------------------------------------------------------

// A settings file with this user's section in it: the three keys with sound values, huge
// numbers, a SavePath of 300 characters or pointing nowhere, sections missing or
// repeated, and then bytes changed or cut as for any other input.
inline Seed SettingsSeed(Random& random, const std::string& section, std::string& how)
{
    auto number = [&]() -> std::string {
        const char* numbers[] = {"0", "1", "2", "-1", "4294967295", "2147483648", "99999999999999999999",
                                 "0x10", " 7", "1e9", "", "yes", "-2147483649"};
        return numbers[Below(random, sizeof numbers / sizeof numbers[0])];
    };
    auto savePath = [&]() -> std::string {
        switch (Below(random, 6)) {
        case 0: return "C:\\" + std::string(300, 'p');
        case 1: return "C:\\no such folder\\deeper";
        case 2: return "\\\\nowhere\\share";
        case 3: return std::string(5000, 'x');
        case 4: return "";
        default: return "C:\\windows";
        }
    };
    std::string text;
    const int sections = static_cast<int>(Below(random, 3));
    for (int s = 0; s < sections + 1; ++s) {
        const bool ours = s == 0 ? !OneIn(random, 6) : OneIn(random, 2);
        text += "[" + (ours ? section : std::string("someone.Settings")) + "]\r\n";
        if (!OneIn(random, 4))
            text += "SavePath=" + savePath() + "\r\n";
        if (!OneIn(random, 4))
            text += "WarnRestart=" + number() + "\r\n";
        if (!OneIn(random, 4))
            text += "NoColor=" + number() + "\r\n";
        if (OneIn(random, 4))
            text += "NoColor=" + number() + "\r\n";  // a key twice
    }
    how += " " + std::to_string(sections + 1) + " sections";
    return {Bytes(text.begin(), text.end()), -1, 0};
}

}  // namespace hostile
