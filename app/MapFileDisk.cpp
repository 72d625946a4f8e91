#include "MapFileDisk.h"

#include <windows.h>

#include "MapFileBytes.h"
#include "Platform.h"

namespace {

// A new, empty file with a unique name in the directory of `path`, its name in `name`
// (MAX_PATH characters); false when none can be made.
bool MakeTemporaryFileBeside(const char* path, char* name)
{
    char directory[MAX_PATH];
    if (lstrlenA(path) >= MAX_PATH)
        return false;
    lstrcpynA(directory, path, MAX_PATH);
    char* slash = nullptr;
    for (char* p = directory; *p; ++p)
        if (*p == '\\')
            slash = p;
    if (slash)
        *slash = '\0';
    else
        lstrcpynA(directory, ".", MAX_PATH);
    return GetTempFileNameA(directory, "swm", 0, name) != 0;
}

// Puts the finished file `temporary` in the place of `target`. Where Windows has no
// replacing rename (95/98/ME), the old file steps aside under a temporary name until the
// new one is in place, and comes back if that fails.
bool PutInPlace(const char* temporary, const char* target)
{
    if (IsNT)
        return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES)
        return MoveFileA(temporary, target) != 0;
    char aside[MAX_PATH];
    if (!MakeTemporaryFileBeside(target, aside) || !DeleteFileA(aside) || !MoveFileA(target, aside))
        return false;
    if (MoveFileA(temporary, target)) {
        DeleteFileA(aside);
        return true;
    }
    MoveFileA(aside, target);
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
            decoded = MapFile::decode(source, records);
    }
    CloseHandle(file);
    if (!ready)
        return MapFileNoReader;
    return decoded == MapFile::Ok ? MapFileRead : MapFileNotDecoded;
}

MapFileWriting WriteMapFileTo(const char* path, const MappingList& list)
{
    char temporary[MAX_PATH];
    if (!MakeTemporaryFileBeside(path, temporary))
        return MapFileNotAccessible;
    HANDLE file =
        CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary);
        return MapFileNotAccessible;
    }
    bool written;
    {
        FileSink sink(file);
        written = sink.Ready() && MapFile::encode(list, sink) && sink.Flush();
    }
    CloseHandle(file);
    if (!written) {
        DeleteFileA(temporary);
        return MapFileNotWritten;
    }
    if (!PutInPlace(temporary, path)) {
        DeleteFileA(temporary);
        return MapFileNotAccessible;
    }
    return MapFileWritten;
}
