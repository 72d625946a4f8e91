// How the three lists are drawn and how they follow each other.
#include <windows.h>

#include "MainWindow.h"
#include "resource.h"

namespace {

// Text colour of a kind or key status; CLR_DEFAULT for keys that no mapping involves.
COLORREF KindColour(int kind)
{
    switch (kind) {
    case Plain: return RGB(0, 128, 0);
    case SwapFirst:
    case SwapSecond: return RGB(0, 0, 255);
    case Disabled: return RGB(255, 0, 0);
    default: return CLR_DEFAULT;
    }
}

bool IsCatalogueIndex(LPARAM index) { return index >= 0 && index < KeyCatalogue::size; }

}  // namespace

// A code without a catalogue name is shown by its number, so the user can still tell the
// rows apart and unmap them.
const char* MainWindow::RowName(const char* name, ScanCode code, int slot)
{
    if (name)
        return name;
    wsprintfA(unknownName_[slot], "Unknown 0x%04X", code);
    return unknownName_[slot];
}

LRESULT MainWindow::OnMappedDispInfo(NMHDR* header)
{
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if (item.iItem < 0 || item.iItem >= mappings.count())
        return 0;
    const KeyMapping& row = mappings.at(item.iItem);
    if (item.mask & LVIF_TEXT) {
        if (item.iSubItem == 0)
            item.pszText = const_cast<char*>(RowName(row.fromName, row.fromCode, 0));
        else if (item.iSubItem == 1)
            item.pszText = const_cast<char*>(RowName(row.toName, row.toCode, 1));
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = row.kind >= Plain && row.kind <= Disabled ? row.kind : Plain;
    return 0;
}

LRESULT MainWindow::OnKeyDispInfo(NMHDR* header)
{
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    ListView& list = header->idFrom == IDC_FROM_LIST ? fromList : toList;
    LPARAM index = list.ItemData(item.iItem);
    if ((item.mask & LVIF_TEXT) && IsCatalogueIndex(index))
        item.pszText = const_cast<char*>(KeyCatalogue::entryAt(static_cast<int>(index)).name);
    return 0;
}

// The kind or status that colours the item being drawn; NotInvolved draws in system colours.
int MainWindow::DrawValue(int controlId, const NMLVCUSTOMDRAW& draw) const
{
    if (controlId == IDC_MAPPED_LIST) {
        int row = static_cast<int>(draw.nmcd.dwItemSpec);
        return row >= 0 && row < mappings.count() ? mappings.at(row).kind : NotInvolved;
    }
    LPARAM index = draw.nmcd.lItemlParam;
    if (!IsCatalogueIndex(index))
        return NotInvolved;
    return controlId == IDC_FROM_LIST ? mappings.fromStatus(static_cast<int>(index))
                                      : mappings.toStatus(static_cast<int>(index));
}

LRESULT MainWindow::OnCustomDraw(NMHDR* header)
{
    NMLVCUSTOMDRAW& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    if (noColor)
        return CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    COLORREF colour = KindColour(DrawValue(static_cast<int>(header->idFrom), draw));
    if (colour == CLR_DEFAULT)
        return CDRF_DODEFAULT;
    draw.clrText = colour;
    return CDRF_NEWFONT;
}

LRESULT MainWindow::OnKeyItemChanged(NMHDR* header)
{
    const NMLISTVIEW& change = *reinterpret_cast<NMLISTVIEW*>(header);
    if (!(change.uChanged & LVIF_STATE) || !(change.uNewState & LVIS_SELECTED) || !IsCatalogueIndex(change.lParam))
        return 0;
    ScanCode code = KeyCatalogue::entryAt(static_cast<int>(change.lParam)).code;
    if (header->idFrom == IDC_FROM_LIST)
        selectedFromCode = code;
    else
        selectedToCode = code;
    EnableWindow(swapButton, selectedToCode != 0 && selectedToCode != selectedFromCode);
    return 0;
}

LRESULT MainWindow::OnMappedItemChanged(NMHDR* header)
{
    const NMLISTVIEW& change = *reinterpret_cast<NMLISTVIEW*>(header);
    if (!(change.uChanged & LVIF_STATE))
        return 0;
    UpdateButtons();
    if ((change.uNewState & LVIS_FOCUSED) && change.iItem >= 0 && change.iItem < mappings.count())
        SyncKeyLists(change.iItem);
    return 0;
}

LRESULT MainWindow::OnMappedSetFocus(NMHDR*)
{
    int row = mappedList.NextRow(-1, LVNI_SELECTED);
    if (row >= 0 && row < mappings.count())
        SyncKeyLists(row);
    return 0;
}

LRESULT MainWindow::OnMappedKeyDown(NMHDR* header)
{
    const NMLVKEYDOWN& key = *reinterpret_cast<NMLVKEYDOWN*>(header);
    if (key.wVKey == 'A' && (GetKeyState(VK_CONTROL) & 0x8000))
        mappedList.SelectAllRows();
    return 0;
}

bool MainWindow::SelectMatchingKey(ListView& list, int listCount, ScanCode code)
{
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    for (int i = 0; i < listCount; ++i) {
        LPARAM index = list.ItemData(i);
        if (IsCatalogueIndex(index) && KeyCatalogue::entryAt(static_cast<int>(index)).code == code) {
            list.SetRowState(i, both, both);
            list.EnsureVisible(i);
            return true;
        }
    }
    return false;
}

void MainWindow::SyncKeyLists(int row)
{
    if (mappings.count() == 0) {
        const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
        fromList.SetRowState(0, both, both);
        toList.SetRowState(0, both, both);
        fromList.RedrawAllRows();
        toList.RedrawAllRows();
        fromList.EnsureVisible(0);
        toList.EnsureVisible(0);
        return;
    }
    if (row < 0 || row >= mappings.count())
        return;
    // Read both codes first: selecting a key re-enters through the change notifications.
    const ScanCode from = mappings.at(row).fromCode;
    const ScanCode to = mappings.at(row).toCode;
    SelectMatchingKey(fromList, fromListCount, from);
    fromList.RedrawAllRows();
    SelectMatchingKey(toList, toListCount, to);
    toList.RedrawAllRows();
}

void MainWindow::UpdateButtons()
{
    EnableWindow(swapButton, selectedToCode != 0 && selectedToCode != selectedFromCode);
    EnableWindow(unmapButton, mappedList.Count() > 0 && mappedList.NextRow(-1, LVNI_SELECTED) != -1);
}

// Fitting a column to its contents (LVSCW_AUTOSIZE) makes the list view measure the text of
// every row, each with a device context of its own: minutes for a million rows. The rows
// show few distinct names, though, so a long list is measured on a hidden stand-in with the
// same style, font, images and headings that holds each distinct name once; the widest
// name, and so the width, is the same.
namespace {

const int directMeasureRows = 200;

// Sets the text of a cell of the stand-in, adding empty rows up to its row.
void SetText(ListView& list, int row, int column, const char* text)
{
    while (list.Count() <= row)
        list.AppendEmptyRow();
    list.SetRowText(row, column, text);
}

// Marks `code` in a set of all 16-bit codes; true when it was not there yet.
bool FirstSight(unsigned char* seen, ScanCode code)
{
    unsigned char bit = static_cast<unsigned char>(1u << (code & 7));
    if (seen[code >> 3] & bit)
        return false;
    seen[code >> 3] |= bit;
    return true;
}

}  // namespace

// The stand-in for measuring the mapped-keys list, or nullptr when the list is short enough
// to be measured itself (or no stand-in can be made). The caller destroys it.
HWND MainWindow::MakeMeasuringList()
{
    if (mappings.count() <= directMeasureRows)
        return nullptr;
    HWND real = mappedList.Handle();
    RECT box;
    GetWindowRect(real, &box);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&box), 2);
    // Shared images: the stand-in must not destroy the list's image list with itself.
    const DWORD style = (GetWindowLongA(real, GWL_STYLE) & ~(WS_VISIBLE | WS_TABSTOP)) | LVS_SHAREIMAGELISTS;
    HWND made = CreateWindowExA(GetWindowLongA(real, GWL_EXSTYLE), WC_LISTVIEWA, "", style, box.left, box.top,
                                box.right - box.left, box.bottom - box.top, Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!made)
        return nullptr;
    ListView list;
    list.Attach(made);
    SendMessageA(made, WM_SETFONT, SendMessageA(real, WM_GETFONT, 0, 0), FALSE);
    list.SetExtendedStyle(0, mappedList.ExtendedStyle());
    list.SetSmallImageList(mappedList.SmallImageList());
    for (int column = 0; column < 2; ++column)
        list.CopyColumn(mappedList, column);
    unsigned char seenFrom[0x10000 / 8] = {}, seenTo[0x10000 / 8] = {};
    int fromRows = 0, toRows = 0;
    for (int i = 0; i < mappings.count(); ++i) {
        const KeyMapping& row = mappings.at(i);
        if (FirstSight(seenFrom, row.fromCode))
            SetText(list, fromRows++, 0, RowName(row.fromName, row.fromCode, 0));
        if (FirstSight(seenTo, row.toCode))
            SetText(list, toRows++, 1, RowName(row.toName, row.toCode, 1));
    }
    return made;
}

// The width that LVM_SETCOLUMNWIDTH with `how` gives a column of the mapped-keys list,
// measured on `standIn` when there is one; without, the column is set to it.
int MainWindow::AutoSizedWidth(HWND standIn, int column, int how)
{
    ListView list;
    list.Attach(standIn ? standIn : mappedList.Handle());
    list.SetColumnWidth(column, how);
    return list.ColumnWidth(column);
}

void MainWindow::FitColumns()
{
    HWND standIn = MakeMeasuringList();
    int width = AutoSizedWidth(standIn, 0, LVSCW_AUTOSIZE);
    mappedList.SetColumnWidth(0, width < keyColumnMinWidth ? keyColumnMinWidth : width + 3);
    width = AutoSizedWidth(standIn, 1, LVSCW_AUTOSIZE);
    if (standIn || width < mappedToColumnMinWidth)
        mappedList.SetColumnWidth(1, width < mappedToColumnMinWidth ? mappedToColumnMinWidth : width);
    if (standIn)
        DestroyWindow(standIn);
}

// Fixed while the window opens: "Key" covers its heading and the rows present, plus 3
// pixels; "Mapped to" takes what the heading or, as the last column, the list leaves it.
void MainWindow::SetMinimumColumnWidths()
{
    HWND standIn = MakeMeasuringList();
    keyColumnMinWidth = AutoSizedWidth(standIn, 0, LVSCW_AUTOSIZE_USEHEADER) + 3;
    if (standIn)
        DestroyWindow(standIn);
    mappedList.SetColumnWidth(0, keyColumnMinWidth);
    mappedList.SetColumnWidth(1, LVSCW_AUTOSIZE_USEHEADER);
    mappedToColumnMinWidth = mappedList.ColumnWidth(1);
}
