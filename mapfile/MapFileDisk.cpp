#include "MapFileDisk.h"

#include <windows.h>

#include "MapFileBytes.h"
#include "MapFileFormats.h"
#include "NameBeside.h"
#include "Platform.h"
#include "SystemCalls.h"

namespace {

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// Makes a new, empty file beside `target` and puts its name in `name`. The name is exactly
// as long as the target's, its file name ending in '~' and hex digits, so it fits wherever
// the target does; GetTempFileNameA refuses folders longer than 246 characters and takes
// "C:" for the drive's current folder. False when no such file can be made.
bool CreateFileBeside(const char* target, char (&name)[MAX_PATH])
{
    if (lstrlenA(target) >= MAX_PATH)
        return false;
    lstrcpynA(name, target, MAX_PATH);
    const int length = lstrlenA(name);
    const int digits = PrepareNameBeside(name, length, IsLeadByte);
    if (digits == 0)
        return false;
    const DWORD candidates = 1u << (4 * digits), first = GetTickCount();
    for (DWORD n = 0; n < candidates; ++n) {
        PutDigits(name, length, digits, first + n);
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
        return systemCalls.moveFileEx(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES)
        return systemCalls.moveFile(temporary, target) != 0;
    char aside[MAX_PATH];
    if (!CreateFileBeside(target, aside))
        return false;
    if (!systemCalls.deleteFile(aside) || !systemCalls.moveFile(target, aside)) {
        systemCalls.deleteFile(aside);
        return false;
    }
    if (!systemCalls.moveFile(temporary, target)) {
        systemCalls.moveFile(aside, target);
        return false;
    }
    if (systemCalls.deleteFile(aside))
        return true;
    systemCalls.moveFile(target, temporary);
    systemCalls.moveFile(aside, target);
    return false;
}

}  // namespace

MapFileReading ReadMapFileFrom(const char* path, MapRecords& records, MapFile::Result& decoded)
{
    decoded = MapFile::Ok;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return MapFileNotOpened;
    bool ready;
    {
        FileSource source(file);
        ready = source.Ready();
        if (ready)
            decoded = MapFileFormats::decode(source, records);
    }
    CloseHandle(file);
    if (!ready)
        return MapFileNoReader;
    return decoded == MapFile::Ok ? MapFileRead : MapFileNotDecoded;
}

bool AppendRecords(const MapRecords& records, MappingList& list)
{
    for (int i = 0; i < records.count(); ++i)
        if (list.append(records.at(i).fromCode, records.at(i).toCode) == -1)
            return false;
    return true;
}

MapFileWriting WriteMapFileTo(const char* path, const MappingList& list)
{
    char temporary[MAX_PATH];
    if (IsReadOnlyFile(path) || !CreateFileBeside(path, temporary))
        return MapFileNotAccessible;
    HANDLE file =
        CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        systemCalls.deleteFile(temporary);
        return MapFileNotAccessible;
    }
    bool written;
    {
        FileSink sink(file);
        written = sink.Ready() && MapFileFormats::encode(path, list, sink) && sink.Flush();
    }
    // A write error can show only when the system writes its cache out or at the close (a
    // network share's write-behind, a quota): the old file stays unless both succeed.
    written = systemCalls.flushFileBuffers(file) && written;
    written = systemCalls.closeHandle(file) && written;
    if (!written) {
        systemCalls.deleteFile(temporary);
        return MapFileNotWritten;
    }
    if (!PutInPlace(temporary, path)) {
        systemCalls.deleteFile(temporary);
        return MapFileNotAccessible;
    }
    return MapFileWritten;
}
