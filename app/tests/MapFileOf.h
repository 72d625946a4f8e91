// The one builder of map files for the window and program-copy tests.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "Bytes.h"
#include "KeyCatalogue.h"

// A map file of these (from, to) mappings, as Save writes it: the header, the count (or
// `count` when it is not negative, to make a file that lies about it), then each mapping as
// its target and then its source.
inline Bytes MapFileOf(const std::vector<std::pair<ScanCode, ScanCode>>& mappings, int count = -1)
{
    Bytes out{0x0D, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0'};
    Bytes n = words({static_cast<std::uint32_t>(count < 0 ? static_cast<int>(mappings.size()) : count)});
    out.insert(out.end(), n.begin(), n.end());
    for (auto& m : mappings)
        for (ScanCode c : {m.second, m.first}) {
            out.push_back(static_cast<unsigned char>(c));
            out.push_back(static_cast<unsigned char>(c >> 8));
        }
    return out;
}
