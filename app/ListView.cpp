#include "ListView.h"

int ListView::Count() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

int ListView::InsertCallbackRow(int index, bool withImage)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | (withImage ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListView::AppendRowWithData(LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = Count();
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = data;
    return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM ListView::ItemData(int row) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void ListView::SetRowState(int row, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.iItem = row;
    item.state = state;
    item.stateMask = mask;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

UINT ListView::RowState(int row, UINT mask) const
{
    return static_cast<UINT>(SendMessageA(hwnd_, LVM_GETITEMSTATE, row, mask));
}

void ListView::EnsureVisible(int row) { SendMessageA(hwnd_, LVM_ENSUREVISIBLE, row, FALSE); }

int ListView::NextRow(int start, UINT flags) const
{
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0)));
}

void ListView::DeleteRow(int row) { SendMessageA(hwnd_, LVM_DELETEITEM, row, 0); }

void ListView::DeleteAllRows() { SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0); }

void ListView::RedrawAllRows() { SendMessageA(hwnd_, LVM_REDRAWITEMS, 0, Count() - 1); }

void ListView::AddColumn(int index, const char* heading, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM | (heading ? LVCF_TEXT : 0);
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = index;
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

int ListView::ColumnWidth(int column) const
{
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, column, 0));
}

void ListView::SetColumnWidth(int column, int width) { SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column, width); }

void ListView::SetExtendedStyle(DWORD mask, DWORD style)
{
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void ListView::SetSmallImageList(HIMAGELIST images)
{
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void MappedKeysList::SelectSingleRow(int row)
{
    const int count = Count();
    if (row < 0 || row >= count)
        return;
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    for (int i = 0; i < count; ++i)
        SetRowState(i, i == row ? both : 0, both);
    EnsureVisible(row);
}

void MappedKeysList::SelectAllRows()
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        SetRowState(i, LVIS_SELECTED, LVIS_SELECTED);
}
