// What OK's tests share: the restart notice that follows a successful OK on the NT family,
// found and answered from inside the main window's modal loop, and the fixtures of a window
// on the NT family and on Windows 95/98/ME.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WindowDriver.h"
#include "resource.h"

namespace restart_notice {

// The restart notice over the main window, found by its check box.
inline HWND FindRestartNotice()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) CALLBACK -> BOOL {
        if (GetDlgItem(w, IDC_DONT_SHOW_AGAIN) && IsWindowVisible(w)) {
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct NoticeSeen {
    bool shown = false;
    std::string caption, text, box;
};

// Stops waiting for a notice that did not come.
inline void StopAnsweringRestartNotice() { window_driver::StopWaitingForWindow(); }

// Answers the restart notice when it comes: ticks the box if asked, then presses OK or Escape.
inline void AnswerRestartNotice(NoticeSeen& seen, bool tick, bool pressOK)
{
    window_driver::WhenWindowAppears(FindRestartNotice, [&seen, tick, pressOK](HWND notice) {
        char text[256];
        seen.shown = true;
        GetWindowTextA(notice, text, sizeof text);
        seen.caption = text;
        GetDlgItemTextA(notice, IDC_DONT_SHOW_AGAIN, text, sizeof text);
        seen.box = text;
        for (HWND child = GetWindow(notice, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF) {
                GetWindowTextA(child, text, sizeof text);
                seen.text = text;
            }
        if (tick)
            CheckDlgButton(notice, IDC_DONT_SHOW_AGAIN, BST_CHECKED);
        SendMessageA(notice, WM_COMMAND, pressOK ? IDOK : IDCANCEL, 0);
    });
}

// A window test on the NT family from Windows 2000 on, where a successful OK shows the
// restart notice.
struct ApplyOnNT : window_driver::WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!IsNT || IsNT4)
            GTEST_SKIP() << "the NT family from Windows 2000 on";
    }
    void TearDown() override
    {
        StopAnsweringRestartNotice();
        WindowTest::TearDown();
    }
    testing_registry::Value StoredMap() { return testing_registry::readValue(window_driver::layoutKey, "ScanCode Map"); }
};

// A window test on Windows 95/98/ME, with Wine reporting Windows 98 to this program.
struct WindowOn98 : window_driver::WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        if (IsNT)
            GTEST_SKIP() << "Windows 95/98/ME";
    }
};

}  // namespace restart_notice
