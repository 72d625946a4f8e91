// Selecting a key of a key list by pressing it: the key lists' context menu and the window
// that names the key pressed, driven with real keyboard and mouse input.
#include "WindowDriver.h"

#include "KeyMessage.h"

#include <gtest/gtest.h>

#include <memory>

using namespace window_driver;

namespace {

// lParam of a key message with this scan code and extended bit.
LPARAM KeyData(unsigned scanCode, bool extended) { return 1 | scanCode << 16 | (extended ? 1L << 24 : 0); }

TEST(KeyCodeOfMessage, GivesTheCatalogueCodeWhereWindowsReportsAnotherOne)
{
    struct Case {
        const char* key;
        WPARAM virtualKey;
        unsigned scanCode;
        bool extended;
        ScanCode code;
    };
    const Case cases[] = {
        {"A", 'A', 0x1E, false, 0x001E},
        {"Right Alt", VK_MENU, 0x38, true, 0xE038},
        {"Right Ctrl", VK_CONTROL, 0x1D, true, 0xE01D},
        {"Left Windows", VK_LWIN, 0x5B, true, 0xE05B},
        {"Num Lock: extended in the message, not in the catalogue", VK_NUMLOCK, 0x45, true, 0x0045},
        {"Num Lock from a keyboard that sends it plain", VK_NUMLOCK, 0x45, false, 0x0045},
        {"Pause: Num Lock's scan code", VK_PAUSE, 0x45, false, PAUSE_CODE},
        {"Ctrl+Num Lock: Pause's virtual key, Num Lock's extended bit", VK_PAUSE, 0x45, true, 0x0045},
        {"Keypad 7 is not Home", VK_NUMPAD7, 0x47, false, 0x0047},
        {"Home", VK_HOME, 0x47, true, 0xE047},
        {"Keypad Enter", VK_RETURN, 0x1C, true, 0xE01C},
        {"Print Screen is not Keypad *", VK_SNAPSHOT, 0x37, true, 0xE037},
        {"Ctrl+Pause (Break)", VK_CANCEL, 0x46, true, 0xE046},
        {"a message without a scan code is no key", 'A', 0x00, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.code, KeyCodeOfMessage(c.virtualKey, KeyData(c.scanCode, c.extended))) << c.key;
    EXPECT_EQ(-1, KeyCatalogue::indexOfCode(PAUSE_CODE));
    EXPECT_TRUE(CapturedOnKeyUp(VK_SNAPSHOT));
    EXPECT_FALSE(CapturedOnKeyUp(VK_RETURN));
}

const char keyPressCaption[] = "Select by Pressing the Key";

// One step of a script; false while it waits for something, so it is tried again shortly.
using Step = std::function<bool()>;

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    DWORD since = 0;
    bool running = false;
    MainWindow* window = nullptr;
};

Script& script()
{
    static Script s;
    return s;
}

HWND KeyPressWindow() { return FindWindowA("#32770", keyPressCaption); }

std::string DialogItemText(HWND window, int id)
{
    char text[256] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

std::string PressedKeyText() { return DialogItemText(KeyPressWindow(), IDC_PRESSED_KEY); }

HWND OpenMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Closes what is still open, innermost first, then the main window; true when all is closed.
bool CloseEverything()
{
    if (HWND dialog = KeyPressWindow()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return false;
    }
    if (OpenMenu()) {
        EndMenu();
        return false;
    }
    MainWindow* w = script().window;
    EndMenu();  // also the menu mode that F10 enters without a popup
    if (w->Handle() && !w->Ended())
        w->End(-7);
    return true;
}

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    Script& s = script();
    if (s.running)
        return;  // a step never waits in a loop of its own; this keeps a slip from nesting
    s.running = true;
    if (s.next < s.steps.size()) {
        if (s.steps[s.next]()) {
            ++s.next;
            s.since = GetTickCount();
        } else if (GetTickCount() - s.since > 8000) {
            HWND dialog = KeyPressWindow();
            ADD_FAILURE() << "step " << s.next << " waited in vain; menu open: " << (OpenMenu() != nullptr)
                          << ", key field: " << (dialog ? "\"" + PressedKeyText() + "\"" : "no window");
            s.next = s.steps.size();
        }
    } else if (CloseEverything()) {
        KillTimer(nullptr, timer);
    }
    s.running = false;
}

// Runs the window with the script's steps played from a timer inside whatever modal loop is
// running: the main window's, the menu's or the key-press window's.
INT_PTR RunScript(MainWindow& window, std::vector<Step> steps)
{
    Script& s = script();
    s = Script();
    s.steps = std::move(steps);
    s.window = &window;
    s.since = GetTickCount();
    SetTimer(nullptr, 0, 20, ScriptTick);
    return window.Run();
}

void SendKey(WORD virtualKey, WORD scanCode, bool extended, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    SendInput(1, &input, sizeof input);
}

struct Key {
    WORD virtualKey;
    WORD scanCode;
    bool extended;
};

const Key enter = {VK_RETURN, 0x1C, false}, escape = {VK_ESCAPE, 0x01, false}, shift = {VK_SHIFT, 0x2A, false},
          f10 = {VK_F10, 0x44, false}, apps = {VK_APPS, 0x5D, true}, letterP = {'P', 0x19, false};

Step Down(Key key)
{
    return [=] {
        SendKey(key.virtualKey, key.scanCode, key.extended, false);
        return true;
    };
}

Step Up(Key key)
{
    return [=] {
        SendKey(key.virtualKey, key.scanCode, key.extended, true);
        return true;
    };
}

void Press(std::vector<Step>& steps, Key key)
{
    steps.push_back(Down(key));
    steps.push_back(Up(key));
}

// Waits about this long, for a key that is held.
Step Hold(DWORD ms)
{
    auto start = std::make_shared<DWORD>(0);
    return [=] {
        if (!*start)
            *start = GetTickCount();
        return GetTickCount() - *start >= ms;
    };
}

Step Until(std::function<bool()> condition) { return condition; }

Step Check(std::function<void()> check)
{
    return [=] {
        check();
        return true;
    };
}

void MouseButton(HWND control, DWORD down, DWORD up)
{
    RECT rect;
    GetWindowRect(control, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    SendInput(2, input, sizeof input[0]);
}

Step ClickButton(int id)
{
    return [=] {
        MouseButton(GetDlgItem(KeyPressWindow(), id), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        return true;
    };
}

bool OkEnabled() { return IsWindowEnabled(GetDlgItem(KeyPressWindow(), IDOK)) != FALSE; }

std::string MenuItemText(HWND menuWindow)
{
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    char text[128] = "";
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    return std::to_string(GetMenuItemCount(menu)) + " " + text;
}

enum class Opening { ShiftF10, ContextKey, RightClick };

struct KeyPress : WindowTest {
    MainWindow window{application.settings, application.sharedBlock};
    HWND w = nullptr;

    HWND List(int id) { return GetDlgItem(w, id); }

    // Opens the key list's menu the given way and checks it; `choose` picks its item,
    // which opens the key-press window.
    void OpenMenuOn(std::vector<Step>& steps, int listId, Opening way, bool choose = true)
    {
        steps.push_back([=] {
            w = window.Handle();
            SendMessageA(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(List(listId)), TRUE);
            return true;
        });
        if (way == Opening::ShiftF10) {
            steps.push_back(Down(shift));
            Press(steps, f10);
            steps.push_back(Up(shift));
        } else if (way == Opening::ContextKey) {
            Press(steps, apps);
        } else {
            steps.push_back([=] {
                // The fifth row, so that the click lands on a row.
                RECT row = {LVIR_BOUNDS, 0, 0, 0};
                SendMessageA(List(listId), LVM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&row));
                POINT point = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
                ClientToScreen(List(listId), &point);
                SetCursorPos(point.x, point.y);
                INPUT input[2] = {};
                input[0].type = input[1].type = INPUT_MOUSE;
                input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
                input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
                SendInput(2, input, sizeof input[0]);
                return true;
            });
        }
        steps.push_back(Until([] { return OpenMenu() != nullptr; }));
        steps.push_back(Check([] { EXPECT_EQ("1 Select by &pressing the key...", MenuItemText(OpenMenu())); }));
        if (choose) {
            Press(steps, letterP);
            steps.push_back(Until([] { return KeyPressWindow() != nullptr && IsWindowVisible(KeyPressWindow()); }));
            const char* listName = listId == IDC_FROM_LIST ? "Map from:" : "Map to:";
            steps.push_back(Check([=] {
                HWND dialog = KeyPressWindow();
                EXPECT_EQ(w, GetWindow(dialog, GW_OWNER));
                EXPECT_EQ(std::string("Press the key to select in \"") + listName + "\".", DialogItemText(dialog, IDC_KEY_PROMPT));
                EXPECT_EQ("No key pressed yet", PressedKeyText());
                EXPECT_FALSE(OkEnabled());
                EXPECT_EQ(GetDlgItem(dialog, IDC_PRESSED_KEY), GetFocus());
            }));
        }
    }

    void PressAndExpect(std::vector<Step>& steps, Key key, const std::string& shown)
    {
        Press(steps, key);
        steps.push_back(Until([=] { return PressedKeyText() == shown; }));
    }

    static Step Closed()
    {
        return Until([] { return KeyPressWindow() == nullptr && !OpenMenu(); });
    }
};

TEST_F(KeyPress, MenuOpensOnBothKeyListsByMouseAndKeyboard)
{
    struct Case {
        int list;
        Opening way;
    };
    const Case cases[] = {
        {IDC_FROM_LIST, Opening::ShiftF10},   {IDC_TO_LIST, Opening::ShiftF10},   {IDC_FROM_LIST, Opening::ContextKey},
        {IDC_TO_LIST, Opening::ContextKey},   {IDC_FROM_LIST, Opening::RightClick}, {IDC_TO_LIST, Opening::RightClick},
    };
    std::vector<Step> steps;
    for (const Case& c : cases) {
        OpenMenuOn(steps, c.list, c.way);
        steps.push_back(ClickButton(IDCANCEL));
        steps.push_back(Closed());
    }
    // Escape closes the menu and nothing more; the mapped-keys list has no such menu.
    OpenMenuOn(steps, IDC_FROM_LIST, Opening::ShiftF10, false);
    Press(steps, escape);
    steps.push_back(Closed());
    steps.push_back([&] {
        SendMessageA(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(List(IDC_MAPPED_LIST)), TRUE);
        return true;
    });
    Press(steps, apps);
    steps.push_back(Hold(300));
    steps.push_back(Check([] { EXPECT_EQ(nullptr, OpenMenu()); }));
    EXPECT_EQ(-7, RunScript(window, steps)) << "the window stays open";
}

TEST_F(KeyPress, NamesEachKeyPressedOrSaysItIsNotInTheList)
{
    // Extended keys are not in the lists of Windows 95/98/ME.
    auto extended = [](const char* name) { return IsNT ? std::string(name) : std::string(""); };
    struct Case {
        Key key;
        std::string shown;  // "" for an extended key that is missing from this system's list
        const char* missingAs;
    };
    const Case cases[] = {
        {{VK_MENU, 0x38, false}, "Left Alt", nullptr},
        {{VK_F10, 0x44, false}, "F10", nullptr},
        {{'Q', 0x10, false}, "Q", nullptr},
        {{VK_TAB, 0x0F, false}, "Tab", nullptr},
        {{VK_RMENU, 0x38, true}, extended("Right Alt"), "0xE038 (not in the list)"},
        {{'Z', 0x2C, false}, "Z", nullptr},
        {{VK_RCONTROL, 0x1D, true}, extended("Right Ctrl"), "0xE01D (not in the list)"},
        {{VK_LWIN, 0x5B, true}, extended("Left Windows"), "0xE05B (not in the list)"},
        {{VK_RWIN, 0x5C, true}, extended("Right Windows"), "0xE05C (not in the list)"},
        {{VK_NUMLOCK, 0x45, true}, "Num Lock", nullptr},
        {{VK_PAUSE, 0x45, false}, "0xE11D (not in the list)", nullptr},
        {{VK_NUMLOCK, 0x45, true}, "Num Lock", nullptr},
        {{VK_PAUSE, 0x45, false}, "0xE11D (not in the list)", nullptr},
        {{VK_PAUSE, 0x45, true}, "Num Lock", nullptr},  // Ctrl+Num Lock, as Windows sends it
        {{VK_UP, 0x48, true}, extended("Up arrow"), "0xE048 (not in the list)"},
        {{VK_NUMPAD8, 0x48, false}, "Keypad 8", nullptr},
        {{VK_SNAPSHOT, 0x37, true}, "0xE037 (not in the list)", nullptr},
        {escape, "Escape", nullptr},
        {{VK_RETURN, 0x1C, true}, extended("Keypad Enter"), "0xE01C (not in the list)"},
        {enter, "Enter", nullptr},
    };
    std::vector<Step> steps;
    OpenMenuOn(steps, IDC_FROM_LIST, Opening::ShiftF10);
    steps.push_back(Check([&] {
        EXPECT_EQ(IsNT ? 102 : 85, RowCount(List(IDC_FROM_LIST)));
        // What the window tells the user about the keys it takes and about mapped keys.
        std::string texts;
        for (HWND child = GetWindow(KeyPressWindow(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[256] = "";
            GetWindowTextA(child, text, sizeof text);
            texts += std::string(text) + "|";
        }
        EXPECT_EQ("Press the key to select in \"Map from:\".|No key pressed yet||"
                  "Every key counts, Tab, Enter, Escape and Alt too. To finish from the keyboard, hold Enter for a "
                  "second for OK, or Escape for Cancel.|"
                  "A key that is already mapped reports the key it is mapped to.|OK|Cancel|",
                  texts);
    }));
    for (const Case& c : cases) {
        const bool listed = !c.shown.empty() && c.shown.find("not in the list") == std::string::npos;
        const std::string shown = c.shown.empty() ? c.missingAs : c.shown;
        PressAndExpect(steps, c.key, shown);
        steps.push_back(Check([=] {
            EXPECT_EQ(listed, OkEnabled()) << shown;
            EXPECT_NE(nullptr, KeyPressWindow()) << shown << " ended the window";
        }));
    }
    // Print Screen's key-down is often kept by Windows: its key-up alone names it.
    steps.push_back(Up({VK_SNAPSHOT, 0x37, true}));
    steps.push_back(Until([] { return PressedKeyText() == "0xE037 (not in the list)"; }));
    steps.push_back(ClickButton(IDCANCEL));
    steps.push_back(Closed());
    steps.push_back(Check([&] {
        EXPECT_EQ("Left Shift", SelectedKey(w, IDC_FROM_LIST)) << "Cancel selects nothing";
    }));
    EXPECT_EQ(-7, RunScript(window, steps));
}

TEST_F(KeyPress, OkSelectsTheKeyAsAClickWould)
{
    std::vector<Step> steps;
    // A key far down the list, so that it has to be scrolled into view.
    OpenMenuOn(steps, IDC_TO_LIST, Opening::ContextKey);
    PressAndExpect(steps, {'Q', 0x10, false}, "Q");
    steps.push_back(ClickButton(IDOK));
    steps.push_back(Closed());
    steps.push_back(Check([&] {
        HWND list = List(IDC_TO_LIST);
        const int row = RowOfKey(list, "Q");
        EXPECT_EQ(std::vector<int>{row}, SelectedRows(list));
        EXPECT_EQ(row, FocusedRow(list));
        RECT rect = {LVIR_BOUNDS, 0, 0, 0}, client;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        GetClientRect(list, &client);
        EXPECT_TRUE(rect.top >= 0 && rect.bottom <= client.bottom) << "in view";
        EXPECT_EQ(list, GetFocus());
        EXPECT_EQ("Left Shift", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_TRUE(Enabled(w, IDC_SWAP));
        EXPECT_EQ(0x0010, window.selectedToCode);
    }));
    // The same key in the other list: Swap follows as after a click.
    OpenMenuOn(steps, IDC_FROM_LIST, Opening::RightClick);
    PressAndExpect(steps, {'Q', 0x10, false}, "Q");
    steps.push_back(ClickButton(IDOK));
    steps.push_back(Closed());
    steps.push_back(Check([&] {
        EXPECT_EQ("Q", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ(List(IDC_FROM_LIST), GetFocus());
        EXPECT_EQ(0x0010, window.selectedFromCode);
        EXPECT_FALSE(Enabled(w, IDC_SWAP));
    }));
    // Map then works on the keys selected so.
    steps.push_back(Check([&] {
        PickKey(w, IDC_TO_LIST, "Z");
        Click(w, IDC_MAP);
        EXPECT_EQ(std::vector<std::string>{"Q>Z"}, MappedRows(w));
    }));
    EXPECT_EQ(-7, RunScript(window, steps));
}

Step HoldStateIs(const char* text)
{
    return Until([=] { return KeyPressWindow() && DialogItemText(KeyPressWindow(), IDC_HOLD_STATE) == text; });
}

TEST_F(KeyPress, HoldingEnterIsOkAndHoldingEscapeIsCancel)
{
    std::vector<Step> steps;
    OpenMenuOn(steps, IDC_FROM_LIST, Opening::ShiftF10);
    // Held without a key of the list, Enter does nothing.
    steps.push_back(Down(enter));
    steps.push_back(HoldStateIs("Press a key of the list first."));
    steps.push_back(Up(enter));
    steps.push_back(HoldStateIs(""));
    steps.push_back(Check([] { EXPECT_EQ("No key pressed yet", PressedKeyText()) << "a held Enter is not the key Enter"; }));
    PressAndExpect(steps, {'W', 0x11, false}, "W");
    // Held Escape cancels when let go, and not before.
    steps.push_back(Down(escape));
    steps.push_back(HoldStateIs("Let go of Escape to cancel."));
    steps.push_back(Up(escape));
    steps.push_back(Closed());
    steps.push_back(Check([&] { EXPECT_EQ("Left Shift", SelectedKey(w, IDC_FROM_LIST)); }));
    // Held Enter is OK; its autorepeat changes nothing meanwhile.
    OpenMenuOn(steps, IDC_FROM_LIST, Opening::ContextKey);
    PressAndExpect(steps, {'W', 0x11, false}, "W");
    steps.push_back(Down(enter));
    steps.push_back(HoldStateIs("Let go of Enter to select the key."));
    steps.push_back(Down(enter));
    steps.push_back(Down(enter));
    steps.push_back(Hold(100));
    steps.push_back(Check([] { EXPECT_EQ("W", PressedKeyText()); }));
    steps.push_back(HoldStateIs("Let go of Enter to select the key."));
    steps.push_back(Up(enter));
    steps.push_back(Closed());
    steps.push_back(Hold(200));
    steps.push_back(Check([&] {
        EXPECT_EQ("W", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ(List(IDC_FROM_LIST), GetFocus());
    }));
    EXPECT_EQ(-7, RunScript(window, steps)) << "neither Enter nor Escape reached the main window";
}

}  // namespace
