// OK writes the list to the store of the running platform; Cancel leaves without writing.
#include "AppMessageBox.h"
#include "CurrentMap.h"
#include "ElevatedWrite.h"
#include "LogOnKeys.h"
#include "MainWindow.h"
#include "Platform.h"
#include "TranslationTableStore.h"
#include "resource.h"

namespace {

// NT 4 stores the map but never applies it: telling the user to log off would mislead.
const char notAppliedBeforeWindows2000[] =
    "The key mappings have been saved, but this version of Windows does not apply key mappings.\n\n"
    "Key mappings take effect on Windows 2000 and later versions.";

// Tells the user that new mappings wait for the next log-on, with a way to stop telling.
class RestartNotice : public Dialog {
public:
    BOOL dontShowAgain = FALSE;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) override
    {
        if (message != WM_COMMAND || LOWORD(wParam) != IDOK)
            return false;
        dontShowAgain = IsDlgButtonChecked(Handle(), IDC_DONT_SHOW_AGAIN) == BST_CHECKED;
        End(IDOK);
        return true;
    }
};

// Where the log-on asks for Ctrl+Alt+Del, a set that leaves none of them locks the user out.
const char lockOutQuestion[] =
    "After this change no key produces %s, so Ctrl+Alt+Del cannot be pressed and Windows may not let you "
    "log on.\n\nApply the new key mappings anyway?";

}  // namespace

bool MainWindow::ConfirmLogOnKeys()
{
    int missing = missingLogOnKeys(mappings);
    if (!missing)
        return true;
    char question[sizeof lockOutQuestion + 32];
    wsprintfA(question, lockOutQuestion, logOnKeyNames(missing));
    return AppMessageBox(Handle(), question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void MainWindow::OnOK()
{
    if (IsNT) {
        if (dirty) {
            // No: nothing is written, and the window stays open as it was.
            if (!ConfirmLogOnKeys())
                return;
            // Where the user's rights do not reach the key but can be raised, an elevated copy
            // writes it; one that wrote nothing for a reason of its own has told the user, and
            // the window stays open.
            StoreWriteResult written;
            if (!WriteNeedsElevation())
                written = WriteCurrentMap(mappings);
            else if (!WriteElevated(written))
                return;
            switch (written) {
            case OpenFailed:
                // Nothing was written: the user may try again or leave with Cancel.
                AppMessageBox(Handle(), "Error opening mapping key.");
                return;
            case WriteFailed:
                AppMessageBox(Handle(), "Error writing map data to the registry.");
                break;
            case Written:
                dirty = 0;
                if (IsNT4)
                    AppMessageBox(Handle(), notAppliedBeforeWindows2000);
                else if (warnRestart)
                    RunRestartNotice();
                break;
            }
        }
    } else {
        // The driver's table is written on every OK: it may never have been stored.
        switch (WriteCurrentMap(mappings)) {
        case OpenFailed:
            AppMessageBox(Handle(), "Unable to access the registry");
            return;
        case WriteFailed:
            AppMessageBox(Handle(), "Error writing to the registry.");
            break;
        case Written:
            // The restart question belongs to the desktop, so nothing else keeps this window
            // from a second OK while it is up.
            EnableWindow(Handle(), FALSE);
            SendTableToDriver();
            EnableWindow(Handle(), TRUE);
            dirty = 0;
            break;
        }
    }
    End(IDOK);
}

void MainWindow::RunRestartNotice()
{
    RestartNotice notice;
    if (notice.RunModal(IDD_RESTART_NOTICE, Handle()) == IDOK && notice.dontShowAgain) {
        warnRestart = 0;
        settings_.WriteSettingInt("WarnRestart", 0);
    }
}

void MainWindow::OnCancel() { End(IDCANCEL); }
