// How the three lists are coloured, follow each other, and size their columns.
#include "WindowDriver.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

using namespace window_driver;
using testing_keys::code;

namespace {

struct Answer {
    LRESULT result;
    COLORREF text;
};

// Asks the window how an item is drawn, as the list view does at CDDS_ITEMPREPAINT.
Answer DrawnAs(HWND window, int listId, int row)
{
    HWND list = GetDlgItem(window, listId);
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = list;
    draw.nmcd.hdr.idFrom = listId;
    draw.nmcd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = row;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    draw.nmcd.lItemlParam = item.lParam;
    draw.clrText = 0x123456;
    LRESULT result = SendMessageA(window, WM_NOTIFY, listId, reinterpret_cast<LPARAM>(&draw));
    return {result, draw.clrText};
}

LRESULT PrepaintAnswer(HWND window, int listId)
{
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = GetDlgItem(window, listId);
    draw.nmcd.hdr.idFrom = listId;
    draw.nmcd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    return SendMessageA(window, WM_NOTIFY, listId, reinterpret_cast<LPARAM>(&draw));
}

int RowOfKey(HWND window, int listId, const std::string& name)
{
    return window_driver::RowOfKey(GetDlgItem(window, listId), name);
}

const COLORREF green = RGB(0, 128, 0), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);

struct MainWindowLists : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!IsNT)
            GTEST_SKIP() << "mappings are read from the NT store here";
        StoreMappingsOfEveryKind();
    }
};

TEST_F(MainWindowLists, ColoursRowsAndKeysByKind)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        for (int id : {IDC_MAPPED_LIST, IDC_FROM_LIST, IDC_TO_LIST})
            EXPECT_EQ(CDRF_NOTIFYITEMDRAW, PrepaintAnswer(w, id)) << id;
        struct Case {
            int list;
            const char* key;  // nullptr: row number `row` of the mapped-keys list
            int row;
            LRESULT result;
            COLORREF text;
        };
        const Case cases[] = {
            {IDC_MAPPED_LIST, nullptr, 0, CDRF_NEWFONT, green},
            {IDC_MAPPED_LIST, nullptr, 1, CDRF_NEWFONT, blue},
            {IDC_MAPPED_LIST, nullptr, 2, CDRF_NEWFONT, blue},
            {IDC_MAPPED_LIST, nullptr, 3, CDRF_NEWFONT, red},
            {IDC_FROM_LIST, "Caps Lock", 0, CDRF_NEWFONT, green},
            {IDC_FROM_LIST, "Escape", 0, CDRF_NEWFONT, blue},
            {IDC_FROM_LIST, "F1", 0, CDRF_NEWFONT, blue},
            {IDC_FROM_LIST, "Left Windows", 0, CDRF_NEWFONT, red},
            {IDC_FROM_LIST, "Left Ctrl", 0, CDRF_DODEFAULT, 0x123456},
            {IDC_TO_LIST, "Left Ctrl", 0, CDRF_NEWFONT, green},
            {IDC_TO_LIST, "F1", 0, CDRF_NEWFONT, blue},
            {IDC_TO_LIST, "<Disabled>", 0, CDRF_NEWFONT, red},
            {IDC_TO_LIST, "Caps Lock", 0, CDRF_DODEFAULT, 0x123456},
            {IDC_TO_LIST, "Left Windows", 0, CDRF_DODEFAULT, 0x123456},
        };
        for (const Case& c : cases) {
            int row = c.key ? RowOfKey(w, c.list, c.key) : c.row;
            SCOPED_TRACE(std::to_string(c.list) + " " + (c.key ? c.key : std::to_string(row)));
            Answer answer = DrawnAs(w, c.list, row);
            EXPECT_EQ(c.result, answer.result);
            EXPECT_EQ(c.text, answer.text);
        }
    });
}

TEST_F(MainWindowLists, NoColorLeavesEveryListInSystemColours)
{
    application.settings.WriteSettingInt("NoColor", 1);
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        for (int id : {IDC_MAPPED_LIST, IDC_FROM_LIST, IDC_TO_LIST}) {
            EXPECT_EQ(CDRF_DODEFAULT, PrepaintAnswer(w, id));
            Answer answer = DrawnAs(w, id, 0);
            EXPECT_EQ(CDRF_DODEFAULT, answer.result);
            EXPECT_EQ(0x123456u, answer.text);
        }
        // The icons stay.
        EXPECT_EQ(SwapFirst, ItemImage(GetDlgItem(w, IDC_MAPPED_LIST), 1));
    });
}

// On every platform, Windows 98's too.
struct ListStyles : WindowTest {};

TEST_F(ListStyles, EveryListSelectsWholeRows)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        for (int id : {IDC_MAPPED_LIST, IDC_FROM_LIST, IDC_TO_LIST}) {
            LRESULT styles = SendMessageA(GetDlgItem(w, id), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
            EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT), styles & LVS_EX_FULLROWSELECT) << id;
        }
    });
}

// A list of COMCTL32 4.00 knows neither extended-style message and answers 0, as a control
// of another class does.
TEST(ListViewStyles, AListThatDoesNotKnowExtendedStylesTakesNone)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND old = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ListView view;
    view.Attach(list);
    EXPECT_TRUE(view.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT));
    view.Attach(old);
    EXPECT_FALSE(view.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT));
    DestroyWindow(list);
    DestroyWindow(old);
}

TEST_F(MainWindowLists, SelectingARowMovesBothKeySelections)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickRows(w, {3});
        EXPECT_EQ("Left Windows", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ("<Disabled>", SelectedKey(w, IDC_TO_LIST));
        EXPECT_FALSE(Enabled(w, IDC_SWAP));  // the target is <Disabled>
        EXPECT_TRUE(Enabled(w, IDC_UNMAP));
        PickRows(w, {1});
        EXPECT_EQ("Escape", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ("F1", SelectedKey(w, IDC_TO_LIST));
        EXPECT_TRUE(Enabled(w, IDC_SWAP));
        // The selected keys are scrolled into view.
        HWND from = GetDlgItem(w, IDC_FROM_LIST);
        RECT bounds = {}, client = {};
        bounds.left = LVIR_BOUNDS;
        SendMessageA(from, LVM_GETITEMRECT, RowOfKey(w, IDC_FROM_LIST, "Escape"), reinterpret_cast<LPARAM>(&bounds));
        GetClientRect(from, &client);
        EXPECT_GE(bounds.top, client.top);
        EXPECT_LE(bounds.bottom, client.bottom);
    });
}

TEST_F(MainWindowLists, SwapFollowsTheKeyListSelections)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        PickKey(w, IDC_TO_LIST, "Tab");
        EXPECT_FALSE(Enabled(w, IDC_SWAP));
        PickKey(w, IDC_TO_LIST, "Q");
        EXPECT_TRUE(Enabled(w, IDC_SWAP));
        PickKey(w, IDC_TO_LIST, "<Disabled>");
        EXPECT_FALSE(Enabled(w, IDC_SWAP));
        PickKey(w, IDC_TO_LIST, "Q");
        PickKey(w, IDC_FROM_LIST, "Q");
        EXPECT_FALSE(Enabled(w, IDC_SWAP));
    });
}

TEST_F(MainWindowLists, EmptySpaceClearsTheSelectionButNotTheRememberedKey)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        PickKey(w, IDC_TO_LIST, "Q");
        HWND from = GetDlgItem(w, IDC_FROM_LIST), to = GetDlgItem(w, IDC_TO_LIST);
        // What a click below the last row does to a list.
        SetRowState(from, -1, 0, LVIS_SELECTED);
        SetRowState(to, -1, 0, LVIS_SELECTED);
        EXPECT_EQ("", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ(code("Tab"), window.selectedFromCode);
        EXPECT_EQ(code("Q"), window.selectedToCode);
        EXPECT_TRUE(Enabled(w, IDC_SWAP));
    });
}

void PressInMappedList(HWND window, WORD key, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(GetDlgItem(window, IDC_MAPPED_LIST), WM_KEYDOWN, key, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST_F(MainWindowLists, CtrlASelectsEveryRowAndAAloneNothing)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        PickRows(w, {2});
        PressInMappedList(w, 'A', false);
        EXPECT_EQ(std::vector<int>{2}, SelectedRows(list));
        PressInMappedList(w, 'A', true);
        EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), SelectedRows(list));
        EXPECT_EQ(2, FocusedRow(list));
        EXPECT_TRUE(Enabled(w, IDC_UNMAP));
    });
}

TEST_F(MainWindowLists, ColumnsNeverShrinkBelowTheirOpeningWidths)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        auto width = [&](int column) { return ColumnWidth(list, column); };
        auto contentWidth = [&](int column) { return ContentWidth(list, column); };
        const int keyMin = window.keyColumnMinWidth, toMin = window.mappedToColumnMinWidth;
        EXPECT_EQ(keyMin, width(0));
        EXPECT_EQ(toMin, width(1));
        EXPECT_GE(keyMin, contentWidth(0) + 3);

        // A wider row widens "Key" to its contents plus 3 and "Mapped to" to its contents.
        PickKey(w, IDC_FROM_LIST, "Right Windows");
        PickKey(w, IDC_TO_LIST, "Backslash \\|");
        Click(w, IDC_MAP);
        ASSERT_EQ(5, RowCount(list));
        int key = contentWidth(0), to = contentWidth(1);
        ASSERT_GT(key, keyMin);  // the row is wider than the opening width
        EXPECT_EQ(key + 3, width(0));
        EXPECT_EQ(to < toMin ? toMin : to, width(1));

        // Fewer rows never take the columns below their opening widths.
        PickRows(w, {0, 1, 2, 3, 4});
        fake.answers = {IDYES};
        Click(w, IDC_UNMAP);
        EXPECT_EQ(keyMin, width(0));
        EXPECT_EQ(toMin, width(1));
    });
}

}  // namespace
