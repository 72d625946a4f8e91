// Save and Load of map files.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "AppMessageBox.h"
#include "Application.h"
#include "MainWindow.h"
#include "MapFile.h"
#include "MapFileBytes.h"
#include "Platform.h"

#ifndef OFN_ENABLESIZING
#define OFN_ENABLESIZING 0x00800000
#endif

namespace {

const char unableToAccess[] = "Unable to access\n%s.";

std::string DirectoryOf(const std::string& path)
{
    std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Makes a new, empty file beside `target` and puts its name in `name`. The name is exactly
// as long as the target's, its file name ending in '~' and hex digits, so it fits wherever
// the target does; GetTempFileNameA refuses folders longer than 246 characters and takes
// "C:" for the drive's current folder. False when no such file can be made.
bool CreateFileBeside(const char* target, char (&name)[MAX_PATH])
{
    static const char hexDigits[] = "0123456789abcdef";
    lstrcpynA(name, target, MAX_PATH);
    const int length = lstrlenA(name);
    int nameLength = 0;
    while (nameLength < length && name[length - 1 - nameLength] != '\\')
        ++nameLength;
    if (nameLength == 0)
        return false;
    const int digits = nameLength >= 5 ? 4 : nameLength > 1 ? nameLength - 1 : 1;
    if (nameLength > 1)
        name[length - digits - 1] = '~';
    const DWORD candidates = 1u << (4 * digits), first = GetTickCount();
    for (DWORD n = 0; n < candidates; ++n) {
        DWORD value = first + n;
        for (int i = 1; i <= digits; ++i, value >>= 4)
            name[length - i] = hexDigits[value & 15];
        if (lstrcmpiA(name, target) == 0)
            continue;
        HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// A read-only file is not to be replaced. Windows 95/98/ME would let it step aside all the
// same and then fail to delete it, leaving the user's file under a temporary name.
bool IsReadOnlyFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Puts the finished file `temporary` in the place of `target`. Where Windows has no
// replacing rename (95/98/ME), the old file steps aside under a temporary name until the
// new one is in place; if anything fails, both go back to where they were.
bool PutInPlace(const char* temporary, const char* target)
{
    if (IsNT)
        return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES)
        return MoveFileA(temporary, target) != 0;
    char aside[MAX_PATH];
    if (!CreateFileBeside(target, aside))
        return false;
    if (!DeleteFileA(aside) || !MoveFileA(target, aside)) {
        DeleteFileA(aside);
        return false;
    }
    if (!MoveFileA(temporary, target)) {
        MoveFileA(aside, target);
        return false;
    }
    if (DeleteFileA(aside))
        return true;
    MoveFileA(target, temporary);
    MoveFileA(aside, target);
    return false;
}

}  // namespace

// Shows the save or open dialog; true with the chosen full path.
bool MainWindow::AskForMapFile(bool save, std::string& path)
{
    char file[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = "Swivelkin Map files (*.swm)\0*.swm\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = savePath.c_str();
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

void MainWindow::RememberDirectory(const std::string& path)
{
    if (path.find('\\') == std::string::npos)
        return;
    std::string directory = DirectoryOf(path);
    if (lstrcmpiA(directory.c_str(), savePath.c_str()) == 0)
        return;
    savePath = directory;
    application_.settings.WriteSettingString("SavePath", directory.c_str());
}

void MainWindow::OnSaveMap()
{
    std::string path;
    if (AskForMapFile(true, path))
        SaveMapFile(path);
}

void MainWindow::OnLoadMap()
{
    std::string path;
    if (AskForMapFile(false, path))
        LoadMapFile(path.c_str());
}

// Writes the list to a temporary file beside `path` and replaces `path` with it only once
// every byte is written, so a failed save never destroys the file it was to replace.
void MainWindow::SaveMapFile(const std::string& path)
{
    const char* target = path.c_str();
    char temporary[MAX_PATH];
    const bool madeTemporary = !IsReadOnlyFile(target) && CreateFileBeside(target, temporary);
    HANDLE file = madeTemporary ? CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr)
                                : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        if (madeTemporary)
            DeleteFileA(temporary);
        AppMessageBox(Handle(), FormatMessageText(unableToAccess, path).c_str());
        return;
    }
    bool written;
    {
        FileSink sink(file);
        written = sink.Ready() && MapFile::encode(mappings, sink) && sink.Flush();
    }
    CloseHandle(file);
    if (!written) {
        DeleteFileA(temporary);
        AppMessageBox(Handle(), "Error creating or accessing CArchive object.");
        return;
    }
    if (!PutInPlace(temporary, target)) {
        DeleteFileA(temporary);
        AppMessageBox(Handle(), FormatMessageText(unableToAccess, path).c_str());
    }
}

BOOL MainWindow::LoadMapFile(const char* path)
{
    CommandScope load(*this);
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        AppMessageBox(Handle(), FormatMessageText(unableToAccess, path).c_str());
        return FALSE;
    }
    MapRecords records;
    MapFile::Result result = MapFile::Ok;
    {
        FileSource source(file);
        if (!source.Ready()) {
            CloseHandle(file);
            AppMessageBox(Handle(), "Error creating CArchive object");
            return FALSE;
        }
        result = MapFile::decode(source, records);
    }
    CloseHandle(file);
    if (result != MapFile::Ok) {
        AppMessageBox(Handle(), MapFile::failureMessage(result));
        return FALSE;
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
    for (int i = 0; i < records.count(); ++i)
        if (loaded.append(records.at(i).fromCode, records.at(i).toCode) == -1) {
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
