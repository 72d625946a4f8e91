// The key lists' context menu: selecting a key by pressing it.
#include <windows.h>
#include <windowsx.h>

#include "KeyPressDialog.h"
#include "MainWindow.h"
#include "resource.h"

namespace {

// Where a menu opened from the keyboard appears: under the list's focused row when it is in
// view, else at the list's top left corner; in screen coordinates.
POINT KeyboardMenuPoint(const ListView& list)
{
    POINT point = {0, 0};
    const int row = list.NextRow(-1, LVNI_FOCUSED);
    RECT rowRect = {};
    rowRect.left = LVIR_LABEL;
    RECT client;
    GetClientRect(list.Handle(), &client);
    if (row >= 0 && SendMessageA(list.Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rowRect)) &&
        rowRect.bottom > 0 && rowRect.bottom <= client.bottom) {
        point.x = rowRect.left;
        point.y = rowRect.bottom;
    }
    ClientToScreen(list.Handle(), &point);
    return point;
}

}  // namespace

bool MainWindow::OnKeyListContextMenu(HWND control, LPARAM position)
{
    const bool from = control == fromList.Handle();
    if (!from && control != toList.Handle())
        return false;
    ListView& list = from ? fromList : toList;
    POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1)
        point = KeyboardMenuPoint(list);
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_KEY_LIST_MENU));
    const UINT chosen = TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                       point.x, point.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
    if (chosen == IDM_SELECT_BY_KEY)
        SelectKeyByPressing(list, from ? fromListCount : toListCount, from ? "Map from:" : "Map to:");
    return true;
}

void MainWindow::SelectKeyByPressing(ListView& list, int listCount, const char* listName)
{
    KeyPressDialog dialog(list, listName);
    if (dialog.Run(Handle()) != IDOK)
        return;
    // As a click on the row: the row is selected, focused and in view, and the list has the focus.
    SelectMatchingKey(list, listCount, dialog.PressedCode());
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list.Handle()), TRUE);
}
