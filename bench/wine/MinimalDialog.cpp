// The floor for Swivelkin's start: a modal dialog with one report list view and nothing
// else, built without the C runtime, so that its start is Wine's and the list view's alone.
#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.cx = 90;
        column.pszText = const_cast<char*>("Key");
        SendDlgItemMessageA(window, 1000, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

extern "C" void WinMainCRTStartup()
{
    InitCommonControls();
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), nullptr, DialogProc, 0);
    ExitProcess(0);
}
