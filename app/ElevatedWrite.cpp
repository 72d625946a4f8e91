#include "ElevatedWrite.h"

#include "MapFileDisk.h"
#include "Platform.h"
#include "ScancodeMapStore.h"
#include "SystemCalls.h"

namespace {

const DWORD tokenElevationTypeLimited = 3;

// Handles the window's messages until `process` has ended; its exit code.
DWORD WaitForExit(HANDLE process)
{
    while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code))
        code = static_cast<DWORD>(-1);
    return code;
}

// A new, empty file in the user's temp folder; false when none can be made.
bool MakeTemporaryFile(char (&path)[MAX_PATH])
{
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    return length > 0 && length < sizeof folder && GetTempFileNameA(folder, "swk", 0, path) != 0;
}

}  // namespace

bool WriteNeedsElevation()
{
    return IsNT && ScancodeMapWriteDenied() && systemCalls.tokenElevationType() == tokenElevationTypeLimited;
}

ElevatedWriting WriteThroughElevatedCopy(HWND window, const MappingList& list, DWORD& detail)
{
    char file[MAX_PATH];
    if (!MakeTemporaryFile(file))
        return ElevatedNoFile;
    if (WriteMapFileTo(file, list) != MapFileWritten) {
        DeleteFileA(file);
        return ElevatedNoFile;
    }
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    program[MAX_PATH - 1] = '\0';
    char parameters[MAX_PATH + 20];
    wsprintfA(parameters, "/apply /force \"%s\"", file);

    // Disabled from the prompt on, so that nothing else runs until the copy has ended.
    EnableWindow(window, FALSE);
    ElevatedWriting result = ElevatedExited;
    if (HANDLE process = systemCalls.startElevated(window, program, parameters)) {
        detail = WaitForExit(process);
        CloseHandle(process);
    } else {
        detail = GetLastError();
        result = detail == ERROR_CANCELLED ? ElevationDeclined : ElevationNotStarted;
    }
    EnableWindow(window, TRUE);
    DeleteFileA(file);
    return result;
}
