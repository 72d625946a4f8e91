#include "KeyPressDialog.h"

#include "KeyMessage.h"
#include "resource.h"

namespace {

const UINT_PTR HOLD_TIMER = 1;
const UINT HOLD_TIME = 1000;  // ms that Enter or Escape is held to mean OK or Cancel

bool IsFreshKeyDown(LPARAM keyData) { return (keyData & (1L << 30)) == 0; }

// Over the middle of the main window, near the list the user works in.
void CentreOnOwner(HWND window)
{
    RECT owner, own;
    GetWindowRect(GetWindow(window, GW_OWNER), &owner);
    GetWindowRect(window, &own);
    const int x = (owner.left + owner.right - (own.right - own.left)) / 2;
    const int y = (owner.top + owner.bottom - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

INT_PTR KeyPressDialog::Run(HWND owner) { return RunModal(IDD_KEY_PRESS, owner); }

bool KeyPressDialog::PressedKeyListed() const
{
    if (pressedCode_ == 0)
        return false;
    const int rows = list_.Count();
    for (int row = 0; row < rows; ++row) {
        LPARAM index = list_.ItemData(row);
        if (index >= 0 && index < KeyCatalogue::size && KeyCatalogue::entryAt(static_cast<int>(index)).code == pressedCode_)
            return true;
    }
    return false;
}

BOOL KeyPressDialog::OnInitDialog()
{
    char prompt[96];
    wsprintfA(prompt, "Press the key to select in \"%s\".", listName_);
    SetDlgItemTextA(Handle(), IDC_KEY_PROMPT, prompt);
    HWND field = Item(IDC_PRESSED_KEY);
    SetWindowLongPtrA(field, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    fieldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyPressDialog::FieldProc)));
    CentreOnOwner(Handle());
    SetFocus(field);
    return FALSE;
}

// The field takes every key, so that the dialog manager neither moves the focus on Tab nor
// ends the window on Enter or Escape, and no menu opens on Alt or F10.
LRESULT CALLBACK KeyPressDialog::FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    KeyPressDialog* self = reinterpret_cast<KeyPressDialog*>(GetWindowLongPtrA(field, GWLP_USERDATA));
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        self->OnKeyDown(wParam, lParam);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        self->OnKeyUp(wParam, lParam);
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        return 0;
    }
    return CallWindowProcA(self->fieldProc_, field, message, wParam, lParam);
}

void KeyPressDialog::OnKeyDown(WPARAM virtualKey, LPARAM keyData)
{
    // A key held since before the window opened, or the autorepeat of one pressed here.
    if (!IsFreshKeyDown(keyData) || CapturedOnKeyUp(virtualKey))
        return;
    if (virtualKey == VK_RETURN || virtualKey == VK_ESCAPE) {
        // Whether this is the key itself or OK or Cancel is known only when it is let go.
        timedKey_ = virtualKey;
        timedCode_ = KeyCodeOfMessage(virtualKey, keyData);
        heldLong_ = false;
        SetTimer(Handle(), HOLD_TIMER, HOLD_TIME, nullptr);
        return;
    }
    Press(KeyCodeOfMessage(virtualKey, keyData));
}

void KeyPressDialog::OnKeyUp(WPARAM virtualKey, LPARAM keyData)
{
    if (CapturedOnKeyUp(virtualKey)) {
        Press(KeyCodeOfMessage(virtualKey, keyData));
        return;
    }
    if (virtualKey != timedKey_)
        return;
    // The window ends on the release, not at once: a key still held would go on repeating
    // into the main window, where Enter is its OK and Escape its Cancel.
    KillTimer(Handle(), HOLD_TIMER);
    timedKey_ = 0;
    SetDlgItemTextA(Handle(), IDC_HOLD_STATE, "");
    if (!heldLong_)
        Press(timedCode_);
    else if (virtualKey == VK_ESCAPE)
        End(IDCANCEL);
    else if (PressedKeyListed())
        End(IDOK);
}

void KeyPressDialog::OnHoldTimer()
{
    KillTimer(Handle(), HOLD_TIMER);
    if (!timedKey_)
        return;
    heldLong_ = true;
    const char* state = timedKey_ == VK_ESCAPE ? "Let go of Escape to cancel."
                        : PressedKeyListed()   ? "Let go of Enter to select the key."
                                               : "Press a key of the list first.";
    SetDlgItemTextA(Handle(), IDC_HOLD_STATE, state);
}

void KeyPressDialog::Press(ScanCode code)
{
    pressedCode_ = code;
    const bool listed = PressedKeyListed();
    char text[48];
    if (listed)
        lstrcpynA(text, KeyCatalogue::nameOfCode(code), sizeof text);
    else
        wsprintfA(text, "0x%04X (not in the list)", code);
    SetDlgItemTextA(Handle(), IDC_PRESSED_KEY, text);
    EnableWindow(Item(IDOK), listed);
}

void KeyPressDialog::OnOK()
{
    if (PressedKeyListed())
        End(IDOK);
}

bool KeyPressDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result)
{
    if (message == WM_TIMER && wParam == HOLD_TIMER) {
        OnHoldTimer();
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        OnOK();
        result = TRUE;
        return true;
    }
    return false;
}
