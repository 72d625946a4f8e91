#include "ScancodeMapValue.h"
#include "StoreResults.h"
#include "Bytes.h"

#include "Pairs.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

Bytes encoded(const MappingList& list)
{
    Bytes out(ScancodeMapValue::encodedSize(list.count()));
    ScancodeMapValue::encode(list, out.data());
    return out;
}

TEST(ScancodeMapValue, DecodesValidValuesInStoredOrder)
{
    struct Case {
        const char* title;
        Bytes value;
        Pairs rows;
    };
    const Case cases[] = {
        {"empty map", words({0, 0, 1, 0}), {}},
        {"worked example", Bytes{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0x1D, 0, 0x3A, 0, 0, 0, 0, 0},
         {{0x003A, 0x001D}}},
        {"header words are not examined", words({1, 5, 2, 0x003A001D, 0}), {{0x003A, 0x001D}}},
        {"extended key switched off", words({0, 0, 2, 0xE05B0000, 0}), {{0xE05B, 0}}},
        {"code the catalogue lacks", words({0, 0, 2, 0x0056001E, 0}), {{0x0056, 0x001E}}},
        {"one source twice", words({0, 0, 3, 0x003A001D, 0x003A0001, 0}), {{0x003A, 0x001D}, {0x003A, 0x0001}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        MappingList list;
        EXPECT_EQ(ReadOk, ScancodeMapValue::decode(c.value.data(), c.value.size(), list));
        EXPECT_EQ(c.rows, pairsOf(list));
    }
}

TEST(ScancodeMapValue, RejectsMalformedValues)
{
    struct Case {
        const char* title;
        Bytes value;
    };
    const Case cases[] = {
        {"12 bytes", words({0, 0, 1})},
        {"count 0", words({0, 0, 0, 0})},
        {"count 2, 16 bytes", words({0, 0, 2, 0})},
        {"last word 1", words({0, 0, 2, 0x003A001D, 1})},
        {"count that wraps to the size", words({0, 0, 0x40000001, 0})},
        {"count beyond the size", words({0, 0, 0xFFFFFFFF, 0})},
        {"size not a word multiple", Bytes{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        MappingList list;
        EXPECT_EQ(ReadBadFormat, ScancodeMapValue::decode(c.value.data(), c.value.size(), list));
        EXPECT_EQ(0, list.count());
    }
}

TEST(ScancodeMapValue, EncodesRowsInListOrder)
{
    MappingList list;
    EXPECT_EQ(words({0, 0, 1, 0}), encoded(list));

    list.append(0x003A, 0x001D);
    EXPECT_EQ((Bytes{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0x1D, 0, 0x3A, 0, 0, 0, 0, 0}), encoded(list));

    MappingList three;
    three.append(0xE05B, 0);
    three.append(0x0056, 0x001E);
    three.append(0x0001, 0x003B);
    Bytes value = encoded(three);
    EXPECT_EQ(words({0, 0, 4, 0xE05B0000, 0x0056001E, 0x0001003B, 0}), value);

    MappingList back;
    EXPECT_EQ(ReadOk, ScancodeMapValue::decode(value.data(), value.size(), back));
    EXPECT_EQ(pairsOf(three), pairsOf(back));
}

TEST(ScancodeMapValue, SizeOfAValueThatCannotExistIsZero)
{
    EXPECT_EQ(16u, ScancodeMapValue::encodedSize(0));
    EXPECT_EQ(28u, ScancodeMapValue::encodedSize(3));
    EXPECT_EQ(0u, ScancodeMapValue::encodedSize(-1));
    EXPECT_EQ(0u, ScancodeMapValue::encodedSize(0x7FFFFFFF));
}

TEST(ReadFailureMessage, GivesTheTextForEachFailure)
{
    EXPECT_EQ(nullptr, ReadFailureMessage(0));
    EXPECT_STREQ("Unable to access the registry.", ReadFailureMessage(1));
    EXPECT_STREQ("Unable to access scan code map.", ReadFailureMessage(2));
    EXPECT_STREQ("Scan code map value is the wrong data type.", ReadFailureMessage(3));
    EXPECT_STREQ("Memory allocation error.", ReadFailureMessage(4));
    EXPECT_STREQ("Unable to retrieve scan code map data.", ReadFailureMessage(5));
    EXPECT_STREQ("Scan code map data format is unknown or invalid.", ReadFailureMessage(6));
    EXPECT_EQ(nullptr, ReadFailureMessage(7));
}

}  // namespace
