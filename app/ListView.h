// Thin wrappers of the list-view controls that the main window binds from its template.
#pragma once

#include <windows.h>
#include <commctrl.h>

class ListView {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND Handle() const { return hwnd_; }

    int Count() const;
    // Appends a row whose text (and image, if asked) the parent supplies on request.
    int InsertCallbackRow(int index, bool withImage);
    // The same for rows first to first + count - 1, faster.
    void InsertCallbackRows(int first, int count, bool withImage);
    int AppendRowWithData(LPARAM data);
    // Appends a row that holds its own text, "" in every column.
    void AppendEmptyRow();
    void SetRowText(int row, int column, const char* text);
    LPARAM ItemData(int row) const;
    void SetRowState(int row, UINT state, UINT mask);
    UINT RowState(int row, UINT mask) const;
    void EnsureVisible(int row);
    // The row after `start` (from -1: the first) with the LVNI_* flags, or -1.
    int NextRow(int start, UINT flags) const;
    void DeleteRow(int row);
    void DeleteAllRows();
    void RedrawAllRows();
    void AddColumn(int index, const char* heading, int width);
    // Copies column `index` of `other` (heading, width, alignment) as column `index` of this
    // list.
    void CopyColumn(const ListView& other, int index);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // Sets extended styles and reads them back: true when the list took them. A list of
    // COMCTL32 4.00 knows neither message and answers 0, so it takes none.
    bool SetExtendedStyle(DWORD mask, DWORD style);
    DWORD ExtendedStyle() const;
    void SetSmallImageList(HIMAGELIST images);
    HIMAGELIST SmallImageList() const;
    // Off while many rows go in, so the control neither repaints nor updates its scroll bars
    // per row; on again repaints it once.
    void SetRedraw(bool on);
    // Makes room for `rows` rows in all, so that inserting them allocates less.
    void ReserveRows(int rows);

protected:
    HWND hwnd_ = nullptr;
};

// The mapped-keys list: several rows can be selected.
class MappedKeysList : public ListView {
public:
    void SelectSingleRow(int row);
    void SelectAllRows();
};
