#include "SystemCalls.h"

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
BOOL realMoveFile(LPCSTR from, LPCSTR to) { return MoveFileA(from, to); }
BOOL realMoveFileEx(LPCSTR from, LPCSTR to, DWORD flags) { return MoveFileExA(from, to, flags); }
BOOL realDeleteFile(LPCSTR name) { return DeleteFileA(name); }

// SHELL32 is looked up when first needed rather than imported: Postlude links this table
// too and is to load with nothing but KERNEL32 and USER32. It stays loaded.
HINSTANCE realShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    typedef HINSTANCE(WINAPI * ShellExecuteCall)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    HMODULE shell = LoadLibraryA("SHELL32.DLL");
    FARPROC found = shell ? GetProcAddress(shell, "ShellExecuteA") : nullptr;
    ShellExecuteCall call = reinterpret_cast<ShellExecuteCall>(reinterpret_cast<void*>(found));
    return call ? call(owner, verb, file, parameters, directory, show) : nullptr;
}
}  // namespace

const SystemCalls realSystemCalls = {
    realMessageBox, realCreateFile, realDeviceIoControl, realCloseHandle,
    realExitWindowsEx, realWinHelp, realWinExec, realWriteFile, realShellExecute,
    realMoveFile, realMoveFileEx, realDeleteFile,
};

SystemCalls systemCalls = realSystemCalls;
