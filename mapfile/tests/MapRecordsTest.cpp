#include "MapRecords.h"
#include "FileBytes.h"

#include <gtest/gtest.h>

namespace {

void fill(MapRecords& records, const Records& rows)
{
    ASSERT_TRUE(records.obtain(static_cast<int>(rows.size())));
    for (std::size_t i = 0; i < rows.size(); ++i)
        records.at(static_cast<int>(i)) = {rows[i].first, rows[i].second};
}

struct FilterCase {
    const char* title;
    Records before;  // (toCode, fromCode)
    Records after;
    bool removed;
};

TEST(MapRecords, RemoveExtendedDropsEveryRecordWithACodeAbove0xFF)
{
    const FilterCase cases[] = {
        {"none extended", {{0x001D, 0x003A}, {0x0000, 0x0001}}, {{0x001D, 0x003A}, {0x0000, 0x0001}}, false},
        {"only record, from Right Ctrl", {{0x001D, 0xE01D}}, {}, true},
        {"extended target", {{0xE01D, 0x003A}, {0x001D, 0x0001}}, {{0x001D, 0x0001}}, true},
        {"two in a row",
         {{0x001D, 0x003A}, {0x001D, 0xE05B}, {0xE038, 0x0038}, {0x0001, 0x003B}},
         {{0x001D, 0x003A}, {0x0001, 0x003B}}, true},
        {"0x00FF kept, 0x0100 dropped", {{0x00FF, 0x003A}, {0x0100, 0x003B}}, {{0x00FF, 0x003A}}, true},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.title);
        MapRecords records;
        fill(records, c.before);
        EXPECT_EQ(c.removed, records.removeExtended());
        EXPECT_EQ(c.after, recordsOf(records));
    }
}

TEST(MapRecords, RemoveUnknownDropsEveryRecordWithACodeTheCatalogueLacks)
{
    const FilterCase cases[] = {
        {"all known, disabled target and code 0 source kept",
         {{0x0000, 0x003A}, {0x001D, 0x0000}, {0xE01D, 0xE05B}},
         {{0x0000, 0x003A}, {0x001D, 0x0000}, {0xE01D, 0xE05B}}, false},
        {"two invalid in a row",
         {{0x001D, 0x003A}, {0x0001, 0x0056}, {0x003B, 0x0056}, {0x0000, 0x0001}},
         {{0x001D, 0x003A}, {0x0000, 0x0001}}, true},
        {"unknown target", {{0x0056, 0x003A}}, {}, true},
        {"high byte counts", {{0x001D, 0xE03A}, {0x011D, 0x003A}, {0xE01D, 0x003A}}, {{0xE01D, 0x003A}}, true},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.title);
        MapRecords records;
        fill(records, c.before);
        EXPECT_EQ(c.removed, records.removeUnknown());
        EXPECT_EQ(c.after, recordsOf(records));
    }
}

TEST(MapRecords, ObtainedRecordsAreZero)
{
    MapRecords records;
    ASSERT_TRUE(records.obtain(2));
    EXPECT_EQ((Records{{0, 0}, {0, 0}}), recordsOf(records));
}

}  // namespace
