#include "KeyCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(KeyCatalogue, LooksUpCodesOnAllSixteenBits)
{
    struct Case {
        ScanCode code;
        int index;
        const char* name;
    };
    const Case cases[] = {
        {0x0001, 102, "Escape"},      {0x002A, 1, "Left Shift"},    {0xE01D, 4, "Right Ctrl"},
        {0x001D, 3, "Left Ctrl"},     {0x0000, 0, "<Disabled>"},    {0xE01C, 64, "Keypad Enter"},
        {0x001C, 49, "Enter"},        {0xE035, 60, "Keypad /"},     {0x0035, 55, "Slash /?"},
        {0x002B, 56, "Backslash \\|"}, {0x0028, 52, "Quote '\""},   {0x0056, -1, nullptr},
        {0x00E0, -1, nullptr},        {0x1D00, -1, nullptr},        {0xFFFF, -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.index, KeyCatalogue::indexOfCode(c.code));
        if (c.name)
            EXPECT_STREQ(c.name, KeyCatalogue::nameOfCode(c.code));
        else
            EXPECT_EQ(nullptr, KeyCatalogue::nameOfCode(c.code));
    }
}

TEST(KeyCatalogue, HoldsUniqueKeysWithSeventeenExtendedOnes)
{
    ASSERT_EQ(103, KeyCatalogue::size);
    std::set<ScanCode> codes;
    std::set<std::string> names;
    std::set<int> extended;
    for (int i = 0; i < KeyCatalogue::size; ++i) {
        const KeyEntry& entry = KeyCatalogue::entryAt(i);
        codes.insert(entry.code);
        names.insert(entry.name);
        EXPECT_NE('\0', entry.name[0]);
        EXPECT_EQ(i, KeyCatalogue::indexOfCode(entry.code));
        if (KeyCatalogue::isExtended(entry.code))
            extended.insert(i);
    }
    EXPECT_EQ(103u, codes.size());
    EXPECT_EQ(103u, names.size());
    EXPECT_EQ((std::set<int>{4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 60, 64}), extended);
    EXPECT_STREQ("<Disabled>", KeyCatalogue::entryAt(0).name);
    EXPECT_STREQ("Z", KeyCatalogue::entryAt(101).name);
}

TEST(KeyCatalogue, ExtendedMeansHighByteSet)
{
    EXPECT_FALSE(KeyCatalogue::isExtended(0x0000));
    EXPECT_FALSE(KeyCatalogue::isExtended(0x00FF));
    EXPECT_TRUE(KeyCatalogue::isExtended(0x0100));
    EXPECT_TRUE(KeyCatalogue::isExtended(0xE05B));
}

}  // namespace
