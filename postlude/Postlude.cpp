#include "Postlude.h"

#include "KeyboardDriver.h"
#include "Platform.h"
#include "SystemCalls.h"

namespace {
const char setupCaption[] = "Swivelkin Setup";
const int wizardLookups = 4;
const DWORD pauseAfterMiss = 250;  // ms

void OfferToStartSwivelkin()
{
    int answer = systemCalls.messageBox(nullptr, "Do you want to launch Swivelkin now?", setupCaption, MB_YESNO);
    PressInstallerFinish();
    // The bare name: the search tries the folder Postlude was started from first.
    if (answer == IDYES)
        systemCalls.winExec("Swivelkin.exe", SW_SHOWNORMAL);
}

void OfferToRestart()
{
    int answer = systemCalls.messageBox(
        GetDesktopWindow(), "You must restart your system to complete the installation\nDo you want to do this now?",
        "Swivelkin", MB_SYSTEMMODAL | MB_YESNO);
    PressInstallerFinish();
    if (answer == IDYES)
        systemCalls.exitWindowsEx(EWX_REBOOT, 0);
}
}  // namespace

void RunPostlude()
{
    DetectPlatform();
    if (IsNT) {
        systemCalls.messageBox(nullptr, "This setup utility is not required under Windows NT", setupCaption,
                               MB_ICONINFORMATION | MB_OK);
        return;
    }
    // The question comes first, so the wizard stays open while the user decides.
    if (IsDriverLoaded())
        OfferToStartSwivelkin();
    else
        OfferToRestart();
}

BOOL IsDriverLoaded()
{
    if (OpenKeyboardDriver() != 0)
        return FALSE;
    CloseKeyboardDriver();
    return TRUE;
}

void PressInstallerFinish()
{
    // The wizard may still be on its way to the screen: look a few times, and take what
    // the last look finds.
    HWND wizard = nullptr;
    for (int lookup = 0; lookup < wizardLookups; ++lookup) {
        wizard = FindWindowA("TWizardForm", "Setup - Swivelkin");
        if (!wizard)
            Sleep(pauseAfterMiss);
    }
    if (!wizard)
        return;
    HWND finish = FindWindowExA(wizard, nullptr, "TButton", "&Finish");
    if (!finish)
        return;
    // A click as the button itself reports it: its id with BN_CLICKED (0), and its handle.
    PostMessageA(wizard, WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(finish)), reinterpret_cast<LPARAM>(finish));
}
