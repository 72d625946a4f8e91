// The rows of a mapping list as (from, to) pairs, for comparing with a table of cases.
#pragma once

#include <utility>
#include <vector>

#include "MappingList.h"

using Pairs = std::vector<std::pair<ScanCode, ScanCode>>;  // (from, to) in list order

inline Pairs pairsOf(const MappingList& list)
{
    Pairs out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back({list.at(i).fromCode, list.at(i).toCode});
    return out;
}
