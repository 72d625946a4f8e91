#include "ListView.h"

int ListView::Count() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

namespace {

// A row whose text (and image, if asked) the parent supplies on request.
LVITEMA CallbackRow(int index, bool withImage)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | (withImage ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    return item;
}

}  // namespace

int ListView::InsertCallbackRow(int index, bool withImage)
{
    LVITEMA item = CallbackRow(index, withImage);
    return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

// The control's window procedure is called directly rather than sent the message: under
// Wine every sent message passes twice between Windows and Unix code, which made up a third
// of the time of a row.
void ListView::InsertCallbackRows(int first, int count, bool withImage)
{
    WNDPROC procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC));
    for (int i = 0; i < count; ++i) {
        LVITEMA item = CallbackRow(first + i, withImage);
        CallWindowProcA(procedure, hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
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

void ListView::AppendEmptyRow()
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = Count();
    item.pszText = const_cast<char*>("");
    SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListView::SetRowText(int row, int column, const char* text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(hwnd_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
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

void ListView::CopyColumn(const ListView& other, int index)
{
    char heading[64] = "";
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    info.pszText = heading;
    info.cchTextMax = sizeof heading;
    SendMessageA(other.hwnd_, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&info));
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&info));
}

int ListView::ColumnWidth(int column) const
{
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, column, 0));
}

void ListView::SetColumnWidth(int column, int width) { SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column, width); }

bool ListView::SetExtendedStyle(DWORD mask, DWORD style)
{
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
    const DWORD taken = static_cast<DWORD>(SendMessageA(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    return (taken & mask) == (style & mask);
}

DWORD ListView::ExtendedStyle() const
{
    return static_cast<DWORD>(SendMessageA(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

void ListView::SetSmallImageList(HIMAGELIST images)
{
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

HIMAGELIST ListView::SmallImageList() const
{
    return reinterpret_cast<HIMAGELIST>(SendMessageA(hwnd_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
}

namespace {
// The smaller of two row numbers, where -1 stands for none.
int EarlierRow(int a, int b) { return a < 0 ? b : b < 0 ? a : (a < b ? a : b); }
}  // namespace

void ListView::SetRedraw(bool on)
{
    SendMessageA(hwnd_, WM_SETREDRAW, on, 0);
    if (on)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::ReserveRows(int rows) { SendMessageA(hwnd_, LVM_SETITEMCOUNT, rows, 0); }

// Only rows that are selected or focused can change, so only they are visited, in row
// order as a pass over every row would meet them: a list of a million rows costs no more
// than one of ten.
void MappedKeysList::SelectSingleRow(int row)
{
    if (row < 0 || row >= Count())
        return;
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    const bool anySelected = SendMessageA(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    int focused = NextRow(-1, LVNI_FOCUSED);
    int selected = anySelected ? NextRow(-1, LVNI_SELECTED) : -1;
    bool rowDone = false;
    for (;;) {
        int next = EarlierRow(EarlierRow(selected, focused), rowDone ? -1 : row);
        if (next < 0)
            break;
        SetRowState(next, next == row ? both : 0, both);
        rowDone = rowDone || next == row;
        if (next == focused)
            focused = -1;
        if (next == selected)
            selected = NextRow(next, LVNI_SELECTED);
    }
    EnsureVisible(row);
}

// Row -1 stands for every row, in order.
void MappedKeysList::SelectAllRows() { SetRowState(-1, LVIS_SELECTED, LVIS_SELECTED); }
