// The calls that reach beyond the program: a person's answer to a message box, the
// keyboard driver's device, restarting Windows, WinHelp, opening a document in the system's
// viewer, starting another program, and writing a file (a disk can fill up or fail half-way,
// and a rename or delete can be refused by the file system at any step of a save).
// Everything goes through this one table so that tests can stand in for them; by
// default it holds the real Win32 functions.
#pragma once

#include <windows.h>

struct SystemCalls {
    int (*messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    HANDLE (*createFile)(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                         DWORD creation, DWORD flags, HANDLE templateFile);
    BOOL (*deviceIoControl)(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                            LPDWORD returned, LPOVERLAPPED overlapped);
    BOOL (*closeHandle)(HANDLE handle);
    BOOL (*exitWindowsEx)(UINT flags, DWORD reason);
    BOOL (*winHelp)(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);
    UINT (*winExec)(LPCSTR commandLine, UINT show);
    BOOL (*writeFile)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
    // ShellExecuteA: above 32 when the document was opened.
    HINSTANCE (*shellExecute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
    BOOL (*moveFile)(LPCSTR from, LPCSTR to);
    BOOL (*moveFileEx)(LPCSTR from, LPCSTR to, DWORD flags);
    BOOL (*deleteFile)(LPCSTR name);
};

extern SystemCalls systemCalls;

// The real functions, for tests that put them back.
extern const SystemCalls realSystemCalls;
