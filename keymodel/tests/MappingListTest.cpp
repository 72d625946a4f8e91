#include "MappingList.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace testing_keys;
using Rows = std::vector<std::string>;

namespace {

std::vector<std::string> sourcesAfterNormalise(const std::vector<std::string>& names)
{
    MappingList list;
    // Appended in reverse, so the sort has to do the work.
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        list.append(code(*it), code("A"));
    list.normalise();
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list.at(i).fromName);
    return out;
}

TEST(MappingListSort, FoldsCaseAndComparesByteByByte)
{
    const std::vector<std::vector<std::string>> orders = {
        {"Left Alt", "Left arrow", "Left brace [{", "Left Ctrl", "Left Shift", "Left Windows"},
        {"F1", "F10", "F11", "F12", "F2"},
        {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A"},
        {"Keypad *", "Keypad +", "Keypad -", "Keypad .", "Keypad /", "Keypad 0", "Keypad 1",
         "Keypad 2", "Keypad 3", "Keypad 4", "Keypad 5", "Keypad 6", "Keypad 7", "Keypad 8",
         "Keypad 9", "Keypad Enter"},
    };
    for (const auto& order : orders)
        EXPECT_EQ(order, sourcesAfterNormalise(order));
}

TEST(MappingListSort, CompareKeyNamesPutsAPrefixFirst)
{
    EXPECT_LT(compareKeyNames("F1", "F10"), 0);
    EXPECT_GT(compareKeyNames("F10", "F1"), 0);
    EXPECT_EQ(0, compareKeyNames("Left arrow", "LEFT ARROW"));
    EXPECT_LT(compareKeyNames("Left Alt", "Left arrow"), 0);
    EXPECT_LT(compareKeyNames("[", "\x80"), 0);  // bytes compare unsigned
}

TEST(MappingListSort, UnknownCodesKeepTheirRowsAfterNamedKeys)
{
    MappingList list;
    fill(list, {{"0x0056", "A"}, {"Z", "0x0070"}, {"0x0055", "B"}, {"A", "B"}});
    list.normalise();
    EXPECT_EQ((Rows{"A>B:0", "Z>0x0070:0", "0x0055>B:0", "0x0056>A:0"}), describe(list));
    // The unknown target touches no status; the named ones do.
    EXPECT_EQ(NotInvolved, list.fromStatus(indexOf("B")));
    EXPECT_EQ(Plain, list.toStatus(indexOf("B")));
    EXPECT_EQ(Plain, list.fromStatus(indexOf("Z")));
}

struct PairCase {
    const char* title;
    std::vector<Row> rows;
    Rows expected;
};

TEST(MappingListNormalise, BringsSwapPairsTogether)
{
    const PairCase cases[] = {
        {"pair with a plain row between",
         {{"Caps Lock", "Left Ctrl"}, {"Escape", "F1"}, {"Left Ctrl", "Caps Lock"}},
         {"Caps Lock>Left Ctrl:1", "Left Ctrl>Caps Lock:2", "Escape>F1:0"}},
        {"cycle of three holds no pair",
         {{"X", "Y"}, {"Y", "Z"}, {"Z", "X"}},
         {"X>Y:0", "Y>Z:0", "Z>X:0"}},
        {"shared target",
         {{"Caps Lock", "Tab"}, {"Left Ctrl", "Tab"}, {"Tab", "Caps Lock"}},
         {"Caps Lock>Tab:1", "Tab>Caps Lock:2", "Left Ctrl>Tab:0"}},
        {"adjacent pair", {{"A", "B"}, {"B", "A"}}, {"A>B:1", "B>A:2"}},
        {"one row", {{"A", "B"}}, {"A>B:0"}},
        {"disabled row", {{"Left Windows", "<Disabled>"}}, {"Left Windows><Disabled>:3"}},
        {"two disabled keys are no pair",
         {{"A", "<Disabled>"}, {"B", "<Disabled>"}},
         {"A><Disabled>:3", "B><Disabled>:3"}},
        {"a key mapped to itself pairs only with another such row",
         {{"A", "A"}, {"A", "A"}, {"B", "B"}},
         {"A>A:1", "A>A:2", "B>B:0"}},
        {"each row takes the first partner after it",
         {{"A", "B"}, {"B", "A"}, {"B", "A"}, {"C", "D"}},
         {"A>B:1", "B>A:2", "B>A:0", "C>D:0"}},
        {"a second pair further on",
         {{"A", "Z"}, {"B", "Y"}, {"C", "D"}, {"Y", "B"}, {"Z", "A"}},
         {"A>Z:1", "Z>A:2", "B>Y:1", "Y>B:2", "C>D:0"}},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(c.title);
        MappingList list;
        fill(list, c.rows);
        list.normalise();
        EXPECT_EQ(c.expected, describe(list));
    }
}

TEST(MappingListNormalise, FillsStatusesLaterRowsWinning)
{
    MappingList list;
    fill(list, {{"Caps Lock", "Left Ctrl"}, {"Escape", "F1"}, {"Left Ctrl", "Caps Lock"},
                {"Left Windows", "<Disabled>"}});
    list.normalise();
    EXPECT_EQ(SwapFirst, list.fromStatus(indexOf("Caps Lock")));
    EXPECT_EQ(SwapSecond, list.fromStatus(indexOf("Left Ctrl")));
    EXPECT_EQ(Plain, list.fromStatus(indexOf("Escape")));
    EXPECT_EQ(Disabled, list.fromStatus(indexOf("Left Windows")));
    EXPECT_EQ(SwapFirst, list.toStatus(indexOf("Left Ctrl")));
    EXPECT_EQ(SwapSecond, list.toStatus(indexOf("Caps Lock")));
    EXPECT_EQ(Plain, list.toStatus(indexOf("F1")));
    EXPECT_EQ(NotInvolved, list.toStatus(indexOf("Escape")));
    EXPECT_EQ(NotInvolved, list.toStatus(indexOf("Left Windows")));
    EXPECT_EQ(Disabled, list.toStatus(0));
    EXPECT_EQ(NotInvolved, list.fromStatus(0));
    for (int c = 1; c < KeyCatalogue::size; ++c)
        EXPECT_NE(Disabled, list.toStatus(c)) << c;

    MappingList shared;
    fill(shared, {{"Caps Lock", "Tab"}, {"Left Ctrl", "Tab"}, {"Tab", "Caps Lock"}});
    shared.normalise();
    EXPECT_EQ(Plain, shared.toStatus(indexOf("Tab")));  // written last, by the plain row
}

TEST(MappingListNormalise, EmptyListHasStartingStatuses)
{
    MappingList list;
    list.normalise();
    EXPECT_EQ(0, list.count());
    EXPECT_EQ(nullptr, list.rows());
    EXPECT_EQ(Disabled, list.toStatus(0));
    for (int c = 1; c < KeyCatalogue::size; ++c)
        EXPECT_EQ(NotInvolved, list.toStatus(c));
    for (int c = 0; c < KeyCatalogue::size; ++c)
        EXPECT_EQ(NotInvolved, list.fromStatus(c));
    EXPECT_EQ(-1, list.findByFrom(0));
    EXPECT_EQ(-1, list.findByFrom(code("A")));
}

TEST(MappingListEdit, SetMappingRetargetsInPlaceUntilNormalise)
{
    MappingList list;
    fill(list, {{"Z", "A"}, {"B", "C"}});
    EXPECT_EQ(0, list.setMapping(code("Z"), code("Q")));
    EXPECT_EQ((Rows{"Z>Q:0", "B>C:0"}), describe(list));
    EXPECT_EQ(2, list.setMapping(code("D"), code("E")));
    EXPECT_EQ(3, list.count());
    list.normalise();
    EXPECT_EQ((Rows{"B>C:0", "D>E:0", "Z>Q:0"}), describe(list));
}

TEST(MappingListEdit, DisablingOneRowOfAPairLeavesItsPartnerPlain)
{
    MappingList list;
    fill(list, {{"Caps Lock", "Left Ctrl"}, {"Left Ctrl", "Caps Lock"}});
    list.normalise();
    list.setMapping(code("Left Ctrl"), 0);
    EXPECT_EQ(1, list.findByFrom(code("Left Ctrl")));
    list.normalise();
    EXPECT_EQ((Rows{"Caps Lock>Left Ctrl:0", "Left Ctrl><Disabled>:3"}), describe(list));
    EXPECT_EQ(Disabled, list.fromStatus(indexOf("Left Ctrl")));
}

TEST(MappingListEdit, DuplicateSourcesFindAndChangeOnlyTheFirst)
{
    MappingList list;
    fill(list, {{"A", "B"}, {"C", "D"}, {"A", "E"}});
    EXPECT_EQ(0, list.findByFrom(code("A")));
    list.setMapping(code("A"), code("F"));
    EXPECT_EQ((Rows{"A>F:0", "C>D:0", "A>E:0"}), describe(list));
    list.removeAt(0);
    EXPECT_EQ(1, list.findByFrom(code("A")));
}

TEST(MappingListEdit, RemovingRowsMovesLaterRowsDownAndFreesTheLast)
{
    MappingList list;
    fill(list, {{"A", "B"}, {"C", "D"}, {"E", "F"}});
    list.removeAt(1);
    EXPECT_EQ((Rows{"A>B:0", "E>F:0"}), describe(list));
    list.removeAt(1);
    list.removeAt(0);
    EXPECT_EQ(0, list.count());
    EXPECT_EQ(nullptr, list.rows());
    fill(list, {{"A", "B"}});
    list.clear();
    EXPECT_EQ(0, list.count());
    EXPECT_EQ(nullptr, list.rows());
}

TEST(MappingListEdit, SwapExchangesRowsAndStatuses)
{
    MappingList a, b;
    fill(a, {{"A", "B"}});
    a.normalise();
    b.swap(a);
    EXPECT_EQ(0, a.count());
    EXPECT_EQ(NotInvolved, a.toStatus(indexOf("B")));
    EXPECT_EQ((Rows{"A>B:0"}), describe(b));
    EXPECT_EQ(Plain, b.toStatus(indexOf("B")));
}

TEST(MappingListEdit, AppendedRowHasADefinedKindBeforeNormalise)
{
    MappingList list;
    list.append(code("A"), 0);
    list.append(code("B"), code("C"));
    EXPECT_EQ(Disabled, list.at(0).kind);
    EXPECT_EQ(Plain, list.at(1).kind);
}

TEST(FailingStorage, AppendAndSetMappingReportAFullListAndChangeNothing)
{
    MappingList list;
    LimitedStorage growth(1);
    EXPECT_EQ(0, list.append(code("A"), code("B")));
    EXPECT_EQ(-1, list.append(code("C"), code("D")));
    EXPECT_EQ(-1, list.setMapping(code("C"), code("D")));
    EXPECT_EQ(0, list.setMapping(code("A"), code("E")));  // no growth needed
    EXPECT_EQ((Rows{"A>E:0"}), describe(list));
}

TEST(GrowingStorage, ManyAppendsAskForStorageOnlyAFewTimes)
{
    LimitedStorage storage(LimitedStorage::anyNumber);
    MappingList list;
    for (int i = 0; i < 100000; ++i)
        list.append(code("A"), i % 2 ? code("B") : 0);
    EXPECT_EQ(100000, list.count());
    EXPECT_LE(storage.requests(), 18);  // doubling: 1, 2, 4, ... 131072 rows
    EXPECT_EQ(code("B"), list.at(99999).toCode);
    EXPECT_EQ(0, list.at(99998).toCode);
}

TEST(GrowingStorage, WhenDoublingFailsOneMoreRowStillFitsAndThenTheListIsFull)
{
    LimitedStorage storage(LimitedStorage::anyNumber, 5 * sizeof(KeyMapping));
    MappingList list;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i, list.append(code("A"), code("B")));  // the fifth only after 8 rows were refused
    EXPECT_EQ(-1, list.append(code("C"), code("D")));
    EXPECT_EQ(-1, list.setMapping(code("C"), code("D")));
    EXPECT_EQ(5, list.count());
    list.normalise();
    EXPECT_EQ((Rows{"A>B:0", "A>B:0", "A>B:0", "A>B:0", "A>B:0"}), describe(list));
}

TEST(FailingStorage, NormaliseWithoutScratchSpaceGivesTheSameResult)
{
    const std::vector<Row> rows = {{"Caps Lock", "Left Ctrl"}, {"Escape", "F1"},
                                   {"Left Ctrl", "Caps Lock"}, {"A", "B"}, {"B", "A"},
                                   {"B", "A"}, {"X", "Y"}, {"Y", "Z"}, {"Z", "X"}};
    LimitedStorage growth(1000);
    MappingList withScratch, without;
    fill(withScratch, rows);
    fill(without, rows);
    withScratch.normalise();
    LimitedStorage::allow(0);
    without.normalise();
    EXPECT_EQ(describe(withScratch), describe(without));
}

}  // namespace
