#include "Application.h"

#include <cstring>

#include "AppMessageBox.h"
#include "CommandLine.h"
#include "MainWindow.h"
#include "SharedBlockSecurity.h"
#include "SystemCalls.h"
#include "resource.h"

const char otherRightsMessage[] =
    "Swivelkin is already running, with other rights than this copy (for instance started with "
    "\"Run as administrator\"), so this copy cannot hand anything over to it.\n\n"
    "Open the file with Load in the running copy, or close that copy and try again.";

const char fileNameTooLongMessage[] =
    "The file name is too long to hand over to the running copy of Swivelkin "
    "(at most 259 characters):\n\n%s";

namespace {

const char sharedBlockName[] = "Swivelkin data";
const char runningMutexName[] = "SwivelkinIsRunning";

// Start-up failures come before any window of ours exists, so their boxes have no owner.
void StartUpError(const Text& text)
{
    systemCalls.messageBox(nullptr, text.c_str(), "Ambertide", MB_OK | MB_ICONERROR);
}

}  // namespace

Text SavePathSetting(const SettingsFile& settings)
{
    Text savePath = settings.ReadSettingString("SavePath", "");
    return savePath.empty() ? ProgramDirectory() : savePath;
}

BOOL Application::StartUp()
{
    // Held until the process ends; nothing waits on it, it only marks a running copy.
    CreateMutexA(nullptr, FALSE, runningMutexName);
    Text file = CommandLineFileOf(ArgumentsAfterProgramName(GetCommandLineA()));
    switch (CreateOrOpenSharedBlock()) {
    case 1:
        RunFirstCopy(file);
        break;
    case 2:
        HandOver(file);
        break;
    }
    return FALSE;
}

int Application::CreateOrOpenSharedBlock()
{
    int result = 2;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, sharedBlockName);
    if (!mapping && GetLastError() == ERROR_ACCESS_DENIED) {
        // A running copy whose block this one may not open.
        StartUpError(otherRightsMessage);
        return 0;
    }
    if (!mapping) {
        SharedBlockSecurity security;
        SetLastError(0);
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, security.Attributes(), PAGE_READWRITE, 0,
                                     sizeof(SharedInstanceBlock), sharedBlockName);
        // A copy that started at the same moment may have created it since the open failed.
        result = mapping && GetLastError() == ERROR_ALREADY_EXISTS ? 2 : 1;
    }
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(SharedInstanceBlock)) : nullptr;
    if (!view) {
        if (mapping)
            CloseHandle(mapping);
        StartUpError("Unable to create or access shared data.");
        return 0;
    }
    sharedMapping = mapping;
    sharedBlock = static_cast<SharedInstanceBlock*>(view);
    if (result == 1) {
        sharedBlock->hWndMain = 0;
        std::memset(sharedBlock->filePath, 0, sizeof sharedBlock->filePath);
    }
    return result;
}

void Application::HandOver(const Text& file)
{
    HWND first = MainWindowOf(*sharedBlock);
    if (!first) {
        StartUpError("Internal error: hWndMain not defined.");
        return;
    }
    if (!IsWindow(first)) {
        StartUpError("Internal error: hWndMain does not identify an existing window.");
        return;
    }
    // Only the low 32 bits: a 32-bit and a 64-bit copy widen the reply differently.
    SetLastError(0);
    LRESULT reply = SendMessageA(first, WM_APP_IDENTIFY, 0, 0);
    if (static_cast<DWORD>(reply) != static_cast<DWORD>(INSTANCE_REPLY)) {
        // A window of a higher integrity level that has not let the message through.
        if (reply == 0 && GetLastError() == ERROR_ACCESS_DENIED) {
            StartUpError(otherRightsMessage);
            return;
        }
        StartUpError("Internal Error: hWndMain does not\npoint to an instance of Ambertide");
        return;
    }
    // A cut path would name another file: refuse it, and say so while this copy still has
    // the foreground, so that the box is seen.
    if (file.size() >= sizeof sharedBlock->filePath) {
        StartUpError(FormatMessageText(fileNameTooLongMessage, file));
        SetForegroundWindow(first);
        return;
    }
    SetForegroundWindow(first);
    if (!file.empty()) {
        std::memcpy(sharedBlock->filePath, file.c_str(), file.size() + 1);
        if (!PostMessageA(first, WM_APP_LOADFILE, 0, 0) && GetLastError() == ERROR_ACCESS_DENIED)
            StartUpError(otherRightsMessage);
    }
}

void Application::RunFirstCopy(const Text& file)
{
    settings.OpenSettings();
    MainWindow window(settings, sharedBlock, file, SavePathSetting(settings));
    window.Run();
}
