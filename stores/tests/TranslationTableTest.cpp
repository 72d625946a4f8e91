#include "TranslationTable.h"
#include "Bytes.h"

#include "Pairs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

Bytes identity()
{
    Bytes table(TranslationTable::size);
    TranslationTable::fillIdentity(table.data());
    return table;
}

Bytes identityExcept(std::initializer_list<std::pair<int, int>> changes)
{
    Bytes table = identity();
    for (auto change : changes)
        table[change.first] = static_cast<unsigned char>(change.second);
    return table;
}

// The table encoded into the front of a larger buffer, so that a write past its end shows.
const unsigned char guard = 0xA5;
Bytes encodedWithGuard(const Pairs& rows)
{
    MappingList list;
    for (auto row : rows)
        list.append(row.first, row.second);
    Bytes buffer(TranslationTable::size + 64, guard);
    TranslationTable::encode(list, buffer.data());
    return buffer;
}

Bytes tableOf(const Bytes& buffer) { return Bytes(buffer.begin(), buffer.begin() + TranslationTable::size); }

TEST(TranslationTable, EncodesRowsOverTheIdentity)
{
    struct Case {
        const char* title;
        Pairs rows;
        Bytes table;
    };
    const Case cases[] = {
        {"no rows", {}, identity()},
        {"Caps Lock to Left Ctrl", {{0x3A, 0x1D}}, identityExcept({{0x3A, 0x1D}})},
        {"Caps Lock switched off", {{0x3A, 0}}, identityExcept({{0x3A, 0}})},
        {"exchanged pair", {{0x3A, 0x1D}, {0x1D, 0x3A}}, identityExcept({{0x3A, 0x1D}, {0x1D, 0x3A}})},
        {"later row of one source wins", {{0x3A, 0x1D}, {0x01, 0x02}, {0x3A, 0x0F}},
         identityExcept({{0x3A, 0x0F}, {0x01, 0x02}})},
        {"row mapping a key to itself", {{0x3A, 0x3A}}, identity()},
        {"target's low byte only", {{0x3A, 0xE05B}}, identityExcept({{0x3A, 0x5B}})},
        {"highest source", {{0xFF, 0x01}}, identityExcept({{0xFF, 0x01}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Bytes buffer = encodedWithGuard(c.rows);
        EXPECT_EQ(c.table, tableOf(buffer));
        EXPECT_EQ(Bytes(64, guard), Bytes(buffer.begin() + TranslationTable::size, buffer.end()));
    }
}

TEST(TranslationTable, RowsWithASourceBeyondTheTableAreLeftOut)
{
    Bytes buffer = encodedWithGuard({{0x0100, 0x1D}, {0xE05B, 0}, {0x3A, 0x1D}, {0xFFFF, 0x01}, {0xE01D, 0x3A}});
    EXPECT_EQ(identityExcept({{0x3A, 0x1D}}), tableOf(buffer));
    EXPECT_EQ(Bytes(64, guard), Bytes(buffer.begin() + TranslationTable::size, buffer.end()));
}

TEST(TranslationTable, EncodeOverwritesEveryEntry)
{
    Bytes table(TranslationTable::size, 0x77);
    MappingList list;
    list.append(0x3A, 0x1D);
    TranslationTable::encode(list, table.data());
    EXPECT_EQ(identityExcept({{0x3A, 0x1D}}), table);
}

TEST(TranslationTable, DecodesChangedEntriesInAscendingOrder)
{
    Bytes reversed(TranslationTable::size);
    Pairs allRows;
    for (int i = 0; i < 256; ++i) {
        reversed[i] = static_cast<unsigned char>(255 - i);
        allRows.push_back({static_cast<ScanCode>(i), static_cast<ScanCode>(255 - i)});
    }
    struct Case {
        const char* title;
        Bytes table;
        Pairs rows;
    };
    const Case cases[] = {
        {"identity", identity(), {}},
        {"Caps Lock to Left Ctrl", identityExcept({{0x3A, 0x1D}}), {{0x3A, 0x1D}}},
        {"Caps Lock switched off", identityExcept({{0x3A, 0}}), {{0x3A, 0}}},
        {"ascending, not stored order", identityExcept({{0x3A, 0x1D}, {0x1D, 0x3A}, {0x01, 0x3B}}),
         {{0x01, 0x3B}, {0x1D, 0x3A}, {0x3A, 0x1D}}},
        {"both ends", identityExcept({{0x00, 0x05}, {0xFF, 0x00}}), {{0x00, 0x05}, {0xFF, 0x00}}},
        {"every entry changed", reversed, allRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        MappingList list;
        TranslationTable::decode(c.table.data(), list);
        EXPECT_EQ(c.rows, pairsOf(list));
    }
}

TEST(TranslationTable, DecodedRowsNormaliseToTheirKinds)
{
    MappingList list;
    TranslationTable::decode(identityExcept({{0x3A, 0x1D}, {0x1D, 0x3A}, {0x01, 0}}).data(), list);
    list.normalise();
    // Sorted by name, the partner of the exchanged pair brought up beside its first row.
    EXPECT_EQ((Pairs{{0x3A, 0x1D}, {0x1D, 0x3A}, {0x01, 0}}), pairsOf(list));
    ASSERT_EQ(3, list.count());
    EXPECT_EQ(SwapFirst, list.at(0).kind);
    EXPECT_EQ(SwapSecond, list.at(1).kind);
    EXPECT_EQ(Disabled, list.at(2).kind);
}

TEST(TranslationTable, EncodeThenDecodeGivesTheRowsBack)
{
    MappingList list;
    list.append(0x01, 0x3B);
    list.append(0x1D, 0x3A);
    list.append(0x3A, 0);
    Bytes table(TranslationTable::size);
    TranslationTable::encode(list, table.data());
    MappingList back;
    TranslationTable::decode(table.data(), back);
    EXPECT_EQ(pairsOf(list), pairsOf(back));
}

int growthsBeforeFailure;
void* failSecondGrowth(void* block, std::size_t bytes)
{
    if (bytes == 0) {
        std::free(block);
        return nullptr;
    }
    if (growthsBeforeFailure-- == 1)
        return nullptr;
    return std::realloc(block, bytes);
}

TEST(TranslationTable, ARowTheListCannotTakeIsLeftOutAndTheRestFollow)
{
    MappingList::ResizeFunction saved = MappingList::resizeStorage;
    MappingList::resizeStorage = failSecondGrowth;
    growthsBeforeFailure = 2;
    MappingList list;
    TranslationTable::decode(identityExcept({{0x01, 0x3B}, {0x1D, 0x3A}, {0x3A, 0}}).data(), list);
    Pairs rows = pairsOf(list);
    list.clear();
    MappingList::resizeStorage = saved;
    EXPECT_EQ((Pairs{{0x01, 0x3B}, {0x3A, 0}}), rows);
}

}  // namespace
