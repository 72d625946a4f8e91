// normalise on random lists, against a literal step-by-step version of the sort and the
// swap-pair pass.
#include "MappingList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace {

struct Rec {
    ScanCode from, to;
    int kind;
    bool operator==(const Rec& o) const { return from == o.from && to == o.to && kind == o.kind; }
};

// Named keys by name; keys without a name after them, by code; one source's rows by target.
bool sortsBefore(const Rec& a, const Rec& b)
{
    const char* na = KeyCatalogue::nameOfCode(a.from);
    const char* nb = KeyCatalogue::nameOfCode(b.from);
    if (na && nb) {
        int c = compareKeyNames(na, nb);
        if (c != 0)
            return c < 0;
    } else if (na || nb) {
        return na != nullptr;
    } else if (a.from != b.from) {
        return a.from < b.from;
    }
    return a.to < b.to;
}

std::vector<Rec> referenceNormalise(std::vector<Rec> rows)
{
    for (Rec& r : rows)
        r.kind = r.to == 0 ? Disabled : Plain;
    std::sort(rows.begin(), rows.end(), sortsBefore);
    size_t i = 0;
    while (i + 1 < rows.size()) {
        auto partner = [&](size_t j) { return rows[j].from == rows[i].to && rows[j].to == rows[i].from; };
        size_t j = i + 1;
        if (!partner(j)) {
            j = i + 2;
            while (j < rows.size() && !partner(j))
                ++j;
        }
        if (j < rows.size()) {
            std::rotate(rows.begin() + i + 1, rows.begin() + j, rows.begin() + j + 1);
            rows[i].kind = SwapFirst;
            rows[i + 1].kind = SwapSecond;
            i += 2;
        } else {
            i += 1;
        }
    }
    return rows;
}

std::vector<Rec> recordsOf(const MappingList& list)
{
    std::vector<Rec> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back({list.at(i).fromCode, list.at(i).toCode, list.at(i).kind});
    return out;
}

// Codes drawn from a small pool, so that repeated sources, partners and unknown codes
// (0x0056, 0x0070) all turn up often.
std::vector<Rec> randomRows(std::mt19937& rng, int n, int poolSize, bool uniqueSources)
{
    std::vector<ScanCode> pool;
    for (int i = 0; i < poolSize - 2; ++i)
        pool.push_back(KeyCatalogue::entryAt(1 + static_cast<int>(rng() % 102)).code);
    pool.push_back(0x0056);
    pool.push_back(0x0070);
    std::vector<Rec> rows;
    std::map<ScanCode, bool> used;
    for (int i = 0; i < n; ++i) {
        ScanCode from = pool[rng() % pool.size()];
        ScanCode to = rng() % 8 == 0 ? 0 : pool[rng() % pool.size()];
        if (uniqueSources && used[from])
            continue;
        used[from] = true;
        rows.push_back({from, to, -1});
    }
    return rows;
}

void checkInvariants(const MappingList& list)
{
    for (int i = 0; i < list.count(); ++i) {
        const KeyMapping& row = list.at(i);
        ASSERT_GE(row.kind, 0);
        ASSERT_LE(row.kind, 3);
        bool pairedWithNext = i + 1 < list.count() && list.at(i + 1).fromCode == row.toCode &&
                              list.at(i + 1).toCode == row.fromCode && list.at(i + 1).kind == SwapSecond;
        EXPECT_EQ(row.kind == SwapFirst, pairedWithNext) << "row " << i;
        if (row.kind == SwapSecond) {
            EXPECT_TRUE(i > 0 && list.at(i - 1).kind == SwapFirst) << "row " << i;
        }
    }
    // Leaving the second rows of pairs aside, the sources stand in sorted order.
    const KeyMapping* last = nullptr;
    for (int i = 0; i < list.count(); ++i) {
        if (list.at(i).kind == SwapSecond)
            continue;
        if (last) {
            Rec a{last->fromCode, last->toCode, 0}, b{list.at(i).fromCode, list.at(i).toCode, 0};
            EXPECT_FALSE(sortsBefore(b, a)) << "row " << i;
        }
        last = &list.at(i);
    }
    EXPECT_EQ(Disabled, list.toStatus(0));
    EXPECT_EQ(NotInvolved, list.fromStatus(0));
}

TEST(NormaliseProperties, MatchesTheStepByStepPassAndKeepsEveryRow)
{
    std::mt19937 rng(20261210);
    for (int round = 0; round < 400; ++round) {
        bool unique = round % 2 == 0;
        int poolSize = 3 + round % 12;
        std::vector<Rec> rows = randomRows(rng, static_cast<int>(rng() % 40), poolSize, unique);
        MappingList list;
        for (const Rec& r : rows)
            ASSERT_NE(-1, list.append(r.from, r.to));
        list.normalise();
        SCOPED_TRACE(round);
        ASSERT_EQ(referenceNormalise(rows), recordsOf(list));
        checkInvariants(list);
        if (unique) {
            std::vector<Rec> once = recordsOf(list);
            list.normalise();
            EXPECT_EQ(once, recordsOf(list));
        }
    }
}

}  // namespace
