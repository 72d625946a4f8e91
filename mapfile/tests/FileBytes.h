// Map files built byte by byte, and what a decode made of them, for readable tables.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "KeyCatalogue.h"
#include "MapRecords.h"

using Bytes = std::vector<unsigned char>;
using Records = std::vector<std::pair<ScanCode, ScanCode>>;  // (toCode, fromCode) in file order

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes le16(std::uint16_t v) { return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)}; }

inline Bytes le32(std::uint32_t v) { return le16(static_cast<std::uint16_t>(v)) + le16(static_cast<std::uint16_t>(v >> 16)); }

// Single-byte characters; a std::string may hold NULs.
inline Bytes narrow(const std::string& s) { return Bytes(s.begin(), s.end()); }

// UTF-16LE characters.
inline Bytes wide(const std::u16string& s)
{
    Bytes out;
    for (char16_t c : s)
        out = out + le16(c);
    return out;
}

// The header as the writer puts it: 0x0D and the 13 characters.
inline Bytes header() { return Bytes{0x0D} + narrow("Swivelkin 2.0"); }

inline Bytes record(ScanCode to, ScanCode from) { return le16(to) + le16(from); }

inline Records recordsOf(const MapRecords& records)
{
    Records out;
    for (int i = 0; i < records.count(); ++i)
        out.push_back({records.at(i).toCode, records.at(i).fromCode});
    return out;
}
