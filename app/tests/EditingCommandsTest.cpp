// Map, Swap, Disable and Unmap on the real window, driven as a user would.
#include "ListInvariants.h"
#include "WindowDriver.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace window_driver;
using testing_keys::code;
using Rows = std::vector<std::string>;

namespace {

struct EditingCommands : WindowTest {
    // Picks the two keys and presses the button.
    void Command(HWND w, int button, const std::string& from, const std::string& to = "")
    {
        PickKey(w, IDC_FROM_LIST, from);
        if (!to.empty())
            PickKey(w, IDC_TO_LIST, to);
        Click(w, button);
    }
    static std::vector<int> Icons(HWND w)
    {
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        std::vector<int> icons;
        for (int i = 0; i < RowCount(list); ++i)
            icons.push_back(ItemImage(list, i));
        return icons;
    }
    static void ExpectSelection(HWND w, int row, const std::string& from, const std::string& to)
    {
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        EXPECT_EQ(std::vector<int>{row}, SelectedRows(list));
        EXPECT_EQ(row, FocusedRow(list));
        EXPECT_EQ(from, SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ(to, SelectedKey(w, IDC_TO_LIST));
    }
};

TEST_F(EditingCommands, MapAddsOneRowAtItsSortedPlaceAndSelectsIt)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "Tab", "Q");
        Command(w, IDC_MAP, "Caps Lock", "Left Ctrl");
        EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Tab>Q"}), MappedRows(w));
        EXPECT_EQ((std::vector<int>{Plain, Plain}), Icons(w));
        ExpectSelection(w, 0, "Caps Lock", "Left Ctrl");
        EXPECT_EQ(1, window.dirty);
        EXPECT_TRUE(Enabled(w, IDC_UNMAP));

        // A mapped source gets the new target in its own row.
        Command(w, IDC_MAP, "Tab", "W");
        EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Tab>W"}), MappedRows(w));
        ExpectSelection(w, 1, "Tab", "W");
    });
}

TEST_F(EditingCommands, MapToDisabledIsDisable)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "Caps Lock", "<Disabled>");
        Command(w, IDC_DISABLE, "Num Lock", "Q");  // Disable ignores the Map-to key
        EXPECT_EQ((Rows{"Caps Lock><Disabled>", "Num Lock><Disabled>"}), MappedRows(w));
        EXPECT_EQ((std::vector<int>{Disabled, Disabled}), Icons(w));
        EXPECT_EQ(Disabled, window.mappings.fromStatus(testing_keys::indexOf("Caps Lock")));
        ExpectSelection(w, 1, "Num Lock", "<Disabled>");
        EXPECT_EQ(0, window.selectedToCode);
        EXPECT_FALSE(Enabled(w, IDC_SWAP));
    });
}

TEST_F(EditingCommands, MapOfAKeyToItselfRemovesItsRowWithoutAsking)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "A", "B");
        Command(w, IDC_MAP, "C", "D");
        Command(w, IDC_MAP, "E", "F");
        Command(w, IDC_MAP, "C", "C");
        EXPECT_EQ((Rows{"A>B", "E>F"}), MappedRows(w));
        ExpectSelection(w, 1, "E", "F");
        Command(w, IDC_MAP, "E", "E");
        ExpectSelection(w, 0, "A", "B");
        EXPECT_TRUE(fake.boxes.empty());
    });

    MainWindow untouched(application.settings, application.sharedBlock);
    RunWindow(untouched, [&](HWND w) {
        Command(w, IDC_MAP, "Q", "Q");
        EXPECT_EQ(Rows{}, MappedRows(w));
        EXPECT_EQ(0, untouched.dirty);
    });
}

TEST_F(EditingCommands, SwapMakesAnAdjacentPair)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "Tab", "Z");
        Command(w, IDC_SWAP, "Caps Lock", "Left Ctrl");
        EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Left Ctrl>Caps Lock", "Tab>Z"}), MappedRows(w));
        EXPECT_EQ((std::vector<int>{SwapFirst, SwapSecond, Plain}), Icons(w));
        // The row of the second key is selected, and the key lists show it.
        ExpectSelection(w, 1, "Left Ctrl", "Caps Lock");
        EXPECT_EQ(1, window.dirty);
    });
}

TEST_F(EditingCommands, SwapWithAMappedSecondKeyRetargetsItsRow)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "B", "Z");
        Command(w, IDC_SWAP, "A", "B");
        EXPECT_EQ((Rows{"A>B", "B>A"}), MappedRows(w));
        ExpectSelection(w, 0, "A", "B");
    });
}

TEST_F(EditingCommands, UnmapOfHalfASwapLeavesItsPartnerPlain)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_SWAP, "A", "B");
        PickRows(w, {0});
        Click(w, IDC_UNMAP);
        EXPECT_EQ(Rows{"B>A"}, MappedRows(w));
        EXPECT_EQ(std::vector<int>{Plain}, Icons(w));
        EXPECT_TRUE(fake.boxes.empty());
        ExpectSelection(w, 0, "B", "A");
    });
}

TEST_F(EditingCommands, UnmapOfSeveralRowsAsksFirstAndNoChangesNothing)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        for (const char* key : {"A", "B", "C", "D", "E"})
            Command(w, IDC_DISABLE, key);
        window.dirty = 0;
        PickRows(w, {1, 2, 4});
        fake.answers = {IDNO};
        Click(w, IDC_UNMAP);
        ASSERT_EQ(1u, fake.boxes.size());
        EXPECT_EQ("Are you sure you want to\nunmap these 3 keys?", fake.boxes[0].text);
        EXPECT_EQ("Swivelkin", fake.boxes[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), fake.boxes[0].type);
        EXPECT_EQ(w, fake.boxes[0].owner);
        EXPECT_EQ(5u, MappedRows(w).size());
        EXPECT_EQ((std::vector<int>{1, 2, 4}), SelectedRows(GetDlgItem(w, IDC_MAPPED_LIST)));
        EXPECT_EQ(0, window.dirty);

        fake.answers = {IDYES};
        Click(w, IDC_UNMAP);
        EXPECT_EQ((Rows{"A><Disabled>", "D><Disabled>"}), MappedRows(w));
        ExpectSelection(w, 1, "D", "<Disabled>");  // the row now at the first removed index
        EXPECT_EQ(1, window.dirty);

        PickRows(w, {1});
        Click(w, IDC_UNMAP);  // beyond the end now: the last row
        ExpectSelection(w, 0, "A", "<Disabled>");
        EXPECT_EQ(2u, fake.boxes.size());
    });
}

TEST_F(EditingCommands, CtrlAThenUnmapEmptiesTheListAfterOneQuestion)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "A", "B");
        Command(w, IDC_MAP, "C", "D");
        PickKey(w, IDC_FROM_LIST, "Tab");
        PickKey(w, IDC_TO_LIST, "Q");
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        SendMessageA(list, LVM_SETITEMSTATE, -1, 0);  // nothing selected
        PressCtrlA(list);
        fake.answers = {IDYES};
        Click(w, IDC_UNMAP);
        EXPECT_EQ(1u, fake.boxes.size());
        EXPECT_EQ(Rows{}, MappedRows(w));
        EXPECT_EQ(std::vector<int>{}, SelectedRows(list));
        EXPECT_FALSE(Enabled(w, IDC_UNMAP));
        // The key lists keep their selection and their remembered keys.
        EXPECT_EQ(code("Tab"), window.selectedFromCode);
        EXPECT_EQ(code("Q"), window.selectedToCode);
        EXPECT_EQ("Tab", SelectedKey(w, IDC_FROM_LIST));
    });
}

TEST_F(EditingCommands, ASwapWhoseSecondHalfCannotBeStoredKeepsTheFirstHalfDrawable)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        Command(w, IDC_MAP, "C", "D");
        window.dirty = 0;
        {
            testing_keys::LimitedStorage growth(1);
            Command(w, IDC_SWAP, "A", "B");
        }
        EXPECT_EQ((Rows{"C>D", "A>B"}), MappedRows(w));
        EXPECT_EQ((std::vector<int>{Plain, Plain}), Icons(w));
        EXPECT_EQ(0, window.dirty);
        UpdateWindow(GetDlgItem(w, IDC_MAPPED_LIST));
        // The next completed command puts the list in order again.
        Command(w, IDC_MAP, "E", "F");
        EXPECT_EQ((Rows{"A>B", "C>D", "E>F"}), MappedRows(w));
    });
}

TEST_F(EditingCommands, RandomCommandsKeepTheListsTrue)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        std::mt19937 rng(4242);
        HWND from = GetDlgItem(w, IDC_FROM_LIST), to = GetDlgItem(w, IDC_TO_LIST);
        // A few keys only, so that commands meet existing rows and pairs often.
        const int keyRows = 8;
        for (int step = 0; step < 120; ++step) {
            SetRowState(from, static_cast<int>(rng() % keyRows), LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
            SetRowState(to, static_cast<int>(rng() % (keyRows + 1)), LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
            int rows = RowCount(GetDlgItem(w, IDC_MAPPED_LIST));
            switch (rng() % 5) {
            case 0: Click(w, IDC_MAP); break;
            case 1: if (Enabled(w, IDC_SWAP)) Click(w, IDC_SWAP); break;
            case 2: Click(w, IDC_DISABLE); break;
            case 3:
                if (rows > 0) {
                    std::vector<int> picked;
                    for (int i = 0; i < rows; ++i)
                        if (rng() % 3 == 0)
                            picked.push_back(i);
                    PickRows(w, picked);
                    fake.answers = {rng() % 2 ? IDYES : IDNO};
                    Click(w, IDC_UNMAP);
                }
                break;
            case 4:
                if (rows > 0)
                    PickRows(w, {static_cast<int>(rng() % rows)});
                break;
            }
            SCOPED_TRACE(step);
            CheckInvariants(w, window);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    });
}

}  // namespace
