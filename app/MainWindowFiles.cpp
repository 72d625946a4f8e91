// Save and Load of map files.
#include <windows.h>
#include <commdlg.h>

#include "AppMessageBox.h"
#include "FileDialogSize.h"
#include "MainWindow.h"
#include "MapFile.h"
#include "MapFileDisk.h"
#include "Platform.h"

#ifndef OFN_ENABLESIZING
#define OFN_ENABLESIZING 0x00800000
#endif

namespace {

const char unableToAccess[] = "Unable to access\n%s.";

Text DirectoryOf(const Text& path)
{
    std::size_t slash = path.rfind('\\');
    return slash == Text::npos ? Text() : path.substr(0, slash);
}

}  // namespace

// Shows the save or open dialog; true with the chosen full path.
bool MainWindow::AskForMapFile(bool save, Text& path)
{
    char file[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = FileDialogSize();
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = "Swivelkin Map files (*.swm)\0*.swm\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    // A folder no path can name (the settings file may hold thousands of characters) is no
    // place to start in, and overruns the dialog's own buffers (Wine's crashes on it).
    dialog.lpstrInitialDir = savePath.size() < MAX_PATH ? savePath.c_str() : nullptr;
    dialog.lpstrDefExt = "swm";
    dialog.lpstrTitle = save ? "Save keyboard map" : "Load keyboard map";
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_SHAREAWARE | OFN_EXPLORER |
                   OFN_ENABLESIZING | (save ? OFN_OVERWRITEPROMPT : 0);
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)))
        return false;
    path = file;
    RememberDirectory(path);
    return true;
}

void MainWindow::RememberDirectory(const Text& path)
{
    if (path.find('\\') == Text::npos)
        return;
    Text directory = DirectoryOf(path);
    if (lstrcmpiA(directory.c_str(), savePath.c_str()) == 0)
        return;
    savePath = directory;
    settings_.WriteSettingString("SavePath", directory.c_str());
}

void MainWindow::OnSaveMap()
{
    Text path;
    if (AskForMapFile(true, path))
        SaveMapFile(path);
}

void MainWindow::OnLoadMap()
{
    Text path;
    if (AskForMapFile(false, path))
        LoadMapFile(path.c_str());
}

void MainWindow::SaveMapFile(const Text& path)
{
    switch (WriteMapFileTo(path.c_str(), mappings)) {
    case MapFileNotAccessible:
        AppMessageBox(Handle(), FormatMessageText(unableToAccess, path).c_str());
        break;
    case MapFileNotWritten:
        AppMessageBox(Handle(), "Error creating or accessing CArchive object.");
        break;
    case MapFileWritten:
        break;
    }
}

BOOL MainWindow::LoadMapFile(const char* path)
{
    CommandScope load(*this);
    MapRecords records;
    MapFile::Result decoded;
    switch (ReadMapFileFrom(path, records, decoded)) {
    case MapFileNotOpened:
        AppMessageBox(Handle(), FormatMessageText(unableToAccess, path).c_str());
        return FALSE;
    case MapFileNoReader:
        AppMessageBox(Handle(), "Error creating CArchive object");
        return FALSE;
    case MapFileNotDecoded:
        AppMessageBox(Handle(), FormatMessageText(MapFile::failureMessage(decoded), path).c_str());
        return FALSE;
    case MapFileRead:
        break;
    }

    if (!IsNT && records.removeExtended())
        AppMessageBox(Handle(),
                      FormatMessageText("NOTE: %s\ncontains mappings for one or more extended keys,\n"
                                        "which are not supported under Windows 95, 98, or ME.\n\n"
                                        "Those unsupported mappings have not been loaded.\n\n"
                                        "This does not mean that the file is damaged, only that\n"
                                        "it was probably saved under Windows 2000 or XP.",
                                        path)
                          .c_str(),
                      MB_OK | MB_ICONINFORMATION);
    const bool damaged = records.removeUnknown();

    // The new rows are gathered apart, so that running out of memory leaves the window as it was.
    MappingList loaded;
    if (!AppendRecords(records, loaded)) {
        AppMessageBox(Handle(), MapFile::failureMessage(MapFile::NoMemory));
        return FALSE;
    }
    mappedList.DeleteAllRows();
    mappings.swap(loaded);
    if (damaged)
        AppMessageBox(Handle(),
                      FormatMessageText("WARNING: %s\nis damaged and contains one or more invalid records.\n\n"
                                        "All valid records (if any) have been loaded successfully.\n\n"
                                        "After verifying that the displayed mappings are correct,\n"
                                        "you should re-save the file to repair the damage.",
                                        path)
                          .c_str(),
                      MB_OK | MB_ICONERROR);

    if (mappings.count() > 0) {
        mappings.normalise();
        InsertMappingRows();
        mappedList.SelectSingleRow(0);
    } else {
        mappings.resetDerived();
        SyncKeyLists(0);
    }
    FitColumns();
    dirty = 1;
    UpdateButtons();
    return TRUE;
}
