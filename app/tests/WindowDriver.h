// Drives the real main window as a user would, from inside its modal loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "Application.h"
#include "FakeSystem.h"
#include "MainWindow.h"
#include "Platform.h"
#include "Registry.h"
#include "TextInTests.h"
#include "resource.h"

namespace window_driver {

inline std::function<void(HWND)>& pendingScript()
{
    static std::function<void(HWND)> script;
    return script;
}

inline MainWindow*& runningWindow()
{
    static MainWindow* window = nullptr;
    return window;
}

inline bool& scriptRan()
{
    static bool ran = false;
    return ran;
}

// Runs the window modally; `script` runs once inside its modal loop if the window gets that
// far, and the window is cancelled afterwards unless the script ended it. The window's end
// code, -1 when it could not be created.
inline INT_PTR RunScripted(MainWindow& window, std::function<void(HWND)> script)
{
    pendingScript() = std::move(script);
    runningWindow() = &window;
    scriptRan() = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK -> void {
        KillTimer(nullptr, id);
        MainWindow* w = runningWindow();
        if (!w || !w->Handle() || w->Ended())
            return;
        scriptRan() = true;
        auto script = std::move(pendingScript());
        if (script)
            script(w->Handle());
        if (w->Handle() && !w->Ended())
            w->End(-7);
    });
    INT_PTR result = window.Run();
    KillTimer(nullptr, timer);
    runningWindow() = nullptr;
    pendingScript() = nullptr;
    return result;
}

// Runs the window with `script` inside its modal loop (see RunScripted) and returns its end
// code. A window that did not open, or closed before the script could run, fails the test
// at the caller's line: otherwise the checks in the script would pass without being made.
inline INT_PTR RunWindow(MainWindow& window, std::function<void(HWND)> script, const char* file = __builtin_FILE(),
                         int line = __builtin_LINE())
{
    INT_PTR result = RunScripted(window, std::move(script));
    if (result == -1)
        ADD_FAILURE_AT(file, line) << "the window did not open";
    else if (!scriptRan())
        ADD_FAILURE_AT(file, line) << "the window closed before the test could act on it (end code " << result << ")";
    return result;
}

// Runs a window that is to close by itself while it opens, and returns its end code. One
// that did not open, or stayed open, fails the test at the caller's line.
inline INT_PTR RunWindowClosingAtOpening(MainWindow& window, const char* file = __builtin_FILE(),
                                         int line = __builtin_LINE())
{
    INT_PTR result = RunScripted(window, [](HWND) {});
    if (result == -1)
        ADD_FAILURE_AT(file, line) << "the window did not open";
    else if (scriptRan())
        ADD_FAILURE_AT(file, line) << "the window stayed open";
    return result;
}

inline std::string ItemText(HWND list, int row, int column = 0)
{
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

inline int ItemImage(HWND list, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

inline int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// "Key>Mapped to" for every row of the mapped-keys list.
inline std::vector<std::string> MappedRows(HWND window)
{
    HWND list = GetDlgItem(window, IDC_MAPPED_LIST);
    std::vector<std::string> rows;
    for (int i = 0; i < RowCount(list); ++i)
        rows.push_back(ItemText(list, i, 0) + ">" + ItemText(list, i, 1));
    return rows;
}

inline std::vector<int> SelectedRows(HWND list)
{
    std::vector<int> rows;
    for (int i = -1; (i = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) != -1;)
        rows.push_back(i);
    return rows;
}

inline int FocusedRow(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED)); }

// Name of the one selected key of a key list, or "" when none is selected.
inline std::string SelectedKey(HWND window, int listId)
{
    HWND list = GetDlgItem(window, listId);
    std::vector<int> rows = SelectedRows(list);
    return rows.empty() ? "" : ItemText(list, rows[0]);
}

inline void SetRowState(HWND list, int row, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// Row of the key with this name in a key list, or -1.
inline int RowOfKey(HWND list, const std::string& name)
{
    for (int i = 0; i < RowCount(list); ++i)
        if (ItemText(list, i) == name)
            return i;
    return -1;
}

// Clicks a key by name in a key list (selected and focused, as a click leaves it).
inline void PickKey(HWND window, int listId, const std::string& name)
{
    HWND list = GetDlgItem(window, listId);
    for (int i = 0; i < RowCount(list); ++i)
        if (ItemText(list, i) == name) {
            SetRowState(list, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            return;
        }
    ADD_FAILURE() << "no key " << name;
}

// Selects exactly these rows of the mapped-keys list, the first one focused.
inline void PickRows(HWND window, std::vector<int> rows)
{
    HWND list = GetDlgItem(window, IDC_MAPPED_LIST);
    SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t n = 0; n < rows.size(); ++n)
        SetRowState(list, rows[n], LVIS_SELECTED | (n == 0 ? LVIS_FOCUSED : 0), LVIS_SELECTED | LVIS_FOCUSED);
}

inline void Click(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

inline bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

// The one box shown so far: an application message box (caption "Swivelkin", OK with the
// exclamation icon) with this text, owned by `owner` unless that is null.
inline void ExpectOneApplicationBox(const FakeSystem& fake, const std::string& text, HWND owner = nullptr)
{
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ(text, fake.boxes[0].text);
    EXPECT_EQ("Swivelkin", fake.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), fake.boxes[0].type);
    if (owner) {
        EXPECT_EQ(owner, fake.boxes[0].owner);
    }
}

inline int ColumnWidth(HWND list, int column)
{
    return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}

// The width the list view itself gives a column for its contents; the column keeps its own.
inline int ContentWidth(HWND list, int column)
{
    int kept = ColumnWidth(list, column);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
    int content = ColumnWidth(list, column);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, column, kept);
    return content;
}

// Ctrl+A as the list receives it.
inline void PressCtrlA(HWND list)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(list, WM_KEYDOWN, 'A', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

inline UINT_PTR& waitingTimer()
{
    static UINT_PTR timer = 0;
    return timer;
}

// Stops waiting for a window that did not come.
inline void StopWaitingForWindow()
{
    if (waitingTimer())
        KillTimer(nullptr, waitingTimer());
    waitingTimer() = 0;
}

// Waits in the modal loop of a dialog for the window that `find` finds, then acts on it once;
// gives up after ten seconds. One wait at a time: a new one replaces the one before.
inline void WhenWindowAppears(std::function<HWND()> find, std::function<void(HWND)> act)
{
    static std::function<HWND()> finder;
    static std::function<void(HWND)> pending;
    static int triesLeft;
    StopWaitingForWindow();
    finder = std::move(find);
    pending = std::move(act);
    triesLeft = 500;
    waitingTimer() = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK -> void {
        HWND found = finder();
        if (!found && --triesLeft > 0)
            return;
        StopWaitingForWindow();
        auto act = std::move(pending);
        if (found)
            act(found);
    });
}

// Waits in the modal loop of a dialog for a dialog with this title, then acts on it.
inline void WhenWindowAppears(const char* title, std::function<void(HWND)> act)
{
    std::string wanted = title;
    WhenWindowAppears([wanted] { return FindWindowA("#32770", wanted.c_str()); }, std::move(act));
}

// A file's bytes, whole; none when it cannot be read.
inline Bytes FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file of exactly these bytes.
inline void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";

// Stores a "ScanCode Map" of these (from, to) pairs, or removes the value for none.
inline void StoreScancodeMap(std::vector<std::pair<ScanCode, ScanCode>> rows)
{
    testing_registry::createKey(layoutKey);
    if (rows.empty()) {
        testing_registry::deleteValue(layoutKey, "ScanCode Map");
        return;
    }
    Bytes value = words({0, 0, static_cast<std::uint32_t>(rows.size() + 1)});
    for (auto& row : rows) {
        Bytes entry = words({static_cast<std::uint32_t>(row.first) << 16 | row.second});
        value.insert(value.end(), entry.begin(), entry.end());
    }
    Bytes terminator = words({0});
    value.insert(value.end(), terminator.begin(), terminator.end());
    testing_registry::setValue(layoutKey, "ScanCode Map", REG_BINARY, value);
}

// Stores one mapping of every kind. After normalise the rows are Caps Lock>Left Ctrl
// (plain), Escape>F1 and F1>Escape (a swap pair), Left Windows><Disabled>.
inline void StoreMappingsOfEveryKind()
{
    const ScanCode capsLock = 0x003A, leftCtrl = 0x001D, escape = 0x0001, f1 = 0x003B, leftWindows = 0xE05B;
    StoreScancodeMap({{escape, f1}, {leftWindows, 0}, {capsLock, leftCtrl}, {f1, escape}});
}

// A fresh application with its settings opened, the fake system calls installed, and a
// clean settings file for each test.
struct WindowTest : ::testing::Test {
    void SetUp() override
    {
        fake.install();
        application.settings.OpenSettings();
        DeleteFileA(application.settings.settingsPath.c_str());
        DetectPlatform();
        StoreScancodeMap({});
    }
    void TearDown() override
    {
        FakeSystem::restore();
        DeleteFileA(application.settings.settingsPath.c_str());
        StoreScancodeMap({});
    }
    FakeSystem fake;
    Application application;
};

// A window test whose application is the first copy: it has created the shared block, which
// goes again after the test.
struct FirstCopyWindowTest : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_EQ(1, application.CreateOrOpenSharedBlock());
    }
    void TearDown() override
    {
        if (application.sharedBlock)
            UnmapViewOfFile(application.sharedBlock);
        if (application.sharedMapping)
            CloseHandle(application.sharedMapping);
        WindowTest::TearDown();
    }
};

}  // namespace window_driver
