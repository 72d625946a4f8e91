#include "Dialog.h"

INT_PTR Dialog::RunModal(int templateId, HWND owner)
{
    ended_ = false;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR code)
{
    ended_ = true;
    EndDialog(hwnd_, code);
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR Dialog::MessageResult(LRESULT value)
{
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, value);
    return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
        return self->OnInitDialog();
    }
    // Controls notify their parent before WM_INITDIALOG; those notifications are not ours.
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR result = TRUE;
    if (self->OnMessage(message, wParam, lParam, result))
        return result;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        self->End(LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_NCDESTROY)
        self->hwnd_ = nullptr;
    return FALSE;
}
