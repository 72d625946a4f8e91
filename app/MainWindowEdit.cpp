// Map, Swap, Disable and Unmap.
#include "AppMessageBox.h"
#include "MainWindow.h"

int MainWindow::SetMappingRow(ScanCode from, ScanCode to)
{
    const bool existed = mappings.findByFrom(from) != -1;
    const int row = mappings.setMapping(from, to);
    if (row == -1)
        return -1;
    if (!existed) {
        mappedList.InsertCallbackRow(row, true);
        mappedList.SelectSingleRow(row);
        mappedList.EnsureVisible(row);
    }
    FitColumns();
    return row;
}

// The common end of Map, Swap and Disable.
void MainWindow::FinishChange()
{
    mappings.normalise();
    mappedList.RedrawAllRows();
    dirty = 1;
    const int row = mappings.findByFrom(selectedFromCode);
    mappedList.SelectSingleRow(row);
    SyncKeyLists(row);
    UpdateButtons();
}

void MainWindow::OnMap()
{
    const ScanCode from = selectedFromCode, to = selectedToCode;
    if (from == to) {
        // Mapping a key to itself is taking its mapping away.
        const int row = mappings.findByFrom(from);
        if (row == -1)
            return;
        mappedList.SelectSingleRow(row);
        OnUnmap();
        return;
    }
    if (SetMappingRow(from, to) == -1)
        return;
    FinishChange();
}

void MainWindow::OnDisable()
{
    if (SetMappingRow(selectedFromCode, 0) == -1)
        return;
    FinishChange();
}

void MainWindow::OnSwap()
{
    const ScanCode from = selectedFromCode, to = selectedToCode;
    if (SetMappingRow(from, to) == -1)
        return;
    if (SetMappingRow(to, from) == -1)
        return;
    FinishChange();
}

void MainWindow::OnUnmap()
{
    const int first = mappedList.NextRow(-1, LVNI_SELECTED);
    if (first == -1)
        return;
    int selected = 0;
    for (int row = first; row != -1; row = mappedList.NextRow(row, LVNI_SELECTED))
        ++selected;
    if (selected > 1) {
        char question[64];
        wsprintfA(question, "Are you sure you want to\nunmap these %i keys?", selected);
        if (AppMessageBox(Handle(), question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
    }
    // From the bottom up, so that the rows still to go keep their numbers.
    for (int row = mappings.count() - 1; row >= 0; --row)
        if (mappedList.RowState(row, LVIS_SELECTED)) {
            mappedList.DeleteRow(row);
            mappings.removeAt(row);
        }
    mappings.normalise();
    if (mappings.count() > 0) {
        const int row = first < mappings.count() ? first : mappings.count() - 1;
        mappedList.SelectSingleRow(row);
        SyncKeyLists(row);
    }
    FitColumns();
    dirty = 1;
    mappedList.RedrawAllRows();
    fromList.RedrawAllRows();
    toList.RedrawAllRows();
    UpdateButtons();
}
