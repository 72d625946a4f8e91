#include "SystemCalls.h"

#include <shellapi.h>

namespace {
int realMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}
HANDLE realCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                             DWORD creation, DWORD flags, HANDLE templateFile)
{
    return CreateFileA(name, access, share, security, creation, flags, templateFile);
}
BOOL realDeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                                LPDWORD returned, LPOVERLAPPED overlapped)
{
    return DeviceIoControl(device, code, in, inSize, out, outSize, returned, overlapped);
}
BOOL realCloseHandle(HANDLE handle) { return CloseHandle(handle); }
BOOL realExitWindowsEx(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); }
BOOL realWinHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data)
{
    return WinHelpA(owner, file, command, data);
}
UINT realWinExec(LPCSTR commandLine, UINT show) { return WinExec(commandLine, show); }
BOOL realWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    return WriteFile(file, data, size, written, overlapped);
}
BOOL realFlushFileBuffers(HANDLE file) { return FlushFileBuffers(file); }
BOOL realMoveFile(LPCSTR from, LPCSTR to) { return MoveFileA(from, to); }
BOOL realMoveFileEx(LPCSTR from, LPCSTR to, DWORD flags) { return MoveFileExA(from, to, flags); }
BOOL realDeleteFile(LPCSTR name) { return DeleteFileA(name); }

// SHELL32, and what Windows 95 and NT 4 lack (or whose token query they do not know), are
// looked up when first needed rather than imported: Postlude links this table too and is to
// load with nothing but KERNEL32 and USER32. A library loaded so stays loaded.
template <class Call>
Call LookUp(const char* library, const char* name)
{
    HMODULE module = LoadLibraryA(library);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Call>(reinterpret_cast<void*>(found));
}

HINSTANCE realShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    typedef HINSTANCE(WINAPI * ShellExecuteCall)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    ShellExecuteCall call = LookUp<ShellExecuteCall>("SHELL32.DLL", "ShellExecuteA");
    return call ? call(owner, verb, file, parameters, directory, show) : nullptr;
}

DWORD realTokenElevationType()
{
    typedef BOOL(WINAPI * OpenProcessTokenCall)(HANDLE, DWORD, PHANDLE);
    typedef BOOL(WINAPI * GetTokenInformationCall)(HANDLE, int, LPVOID, DWORD, PDWORD);
    const int tokenElevationTypeClass = 18;  // TokenElevationType, Vista and later
    OpenProcessTokenCall openToken = LookUp<OpenProcessTokenCall>("ADVAPI32.DLL", "OpenProcessToken");
    GetTokenInformationCall query = LookUp<GetTokenInformationCall>("ADVAPI32.DLL", "GetTokenInformation");
    HANDLE token = nullptr;
    if (!openToken || !query || !openToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    DWORD type = 0, size = 0;
    if (!query(token, tokenElevationTypeClass, &type, sizeof type, &size))
        type = 0;  // an older system does not know the class
    CloseHandle(token);
    return type;
}

HANDLE realStartElevated(HWND owner, LPCSTR program, LPCSTR parameters)
{
    typedef BOOL(WINAPI * ShellExecuteExCall)(SHELLEXECUTEINFOA*);
    ShellExecuteExCall call = LookUp<ShellExecuteExCall>("SHELL32.DLL", "ShellExecuteExA");
    if (!call) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    // The structure has had one size since Windows 95 (60 bytes for 32-bit programs).
    static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOA) == 60, "the size every Windows accepts");
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    // No box of the shell's own: the caller says what went wrong.
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.hwnd = owner;
    run.lpVerb = "runas";
    run.lpFile = program;
    run.lpParameters = parameters;
    run.nShow = SW_HIDE;
    if (!call(&run))
        return nullptr;
    if (!run.hProcess)
        SetLastError(ERROR_INVALID_HANDLE);
    return run.hProcess;
}

BOOL realAllowMessageFromLower(HWND window, UINT message)
{
    typedef BOOL(WINAPI * FilterExCall)(HWND, UINT, DWORD, void*);
    typedef BOOL(WINAPI * FilterCall)(UINT, DWORD);
    const DWORD allow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD of Vista's process-wide filter
    // Windows 7 filters by window; Vista only for the whole process.
    if (FilterExCall filterEx = LookUp<FilterExCall>("USER32.DLL", "ChangeWindowMessageFilterEx"))
        return filterEx(window, message, allow, nullptr);
    if (FilterCall filter = LookUp<FilterCall>("USER32.DLL", "ChangeWindowMessageFilter"))
        return filter(message, allow);
    return TRUE;
}
}  // namespace

const SystemCalls realSystemCalls = {
    realMessageBox,         realCreateFile,    realDeviceIoControl,       realCloseHandle,
    realExitWindowsEx,      realWinHelp,       realWinExec,               realWriteFile,
    realFlushFileBuffers,   realShellExecute,  realMoveFile,              realMoveFileEx,
    realDeleteFile,         realTokenElevationType, realStartElevated,    realAllowMessageFromLower,
};

SystemCalls systemCalls = realSystemCalls;
