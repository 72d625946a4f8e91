// The calls that reach beyond the program: a person's answer to a message box, the
// keyboard driver's device, restarting Windows, WinHelp, opening a document in the system's
// viewer, starting another program, writing a file (a disk can fill up or fail half-way,
// and a rename or delete can be refused by the file system at any step of a save), and the
// elevation of Windows Vista and later (the token, the prompt, the message filter).
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
    BOOL (*flushFileBuffers)(HANDLE file);
    // ShellExecuteA: above 32 when the document was opened.
    HINSTANCE (*shellExecute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
    BOOL (*moveFile)(LPCSTR from, LPCSTR to);
    BOOL (*moveFileEx)(LPCSTR from, LPCSTR to, DWORD flags);
    BOOL (*deleteFile)(LPCSTR name);

    // This process's token: TokenElevationTypeDefault (1), Full (2) or Limited (3, a filtered
    // token that can be elevated); 0 where Windows has no elevation (before Vista).
    DWORD (*tokenElevationType)();
    // Starts `program` with `parameters` elevated, through the prompt (ShellExecuteExA, verb
    // "runas"): the process, for the caller to wait on and close, or null with GetLastError
    // set (ERROR_CANCELLED when the prompt was declined).
    HANDLE (*startElevated)(HWND owner, LPCSTR program, LPCSTR parameters);
    // Lets `message` reach `window` from processes of a lower integrity level (an elevated
    // copy's filter stops them otherwise); TRUE where Windows has no such levels.
    BOOL (*allowMessageFromLower)(HWND window, UINT message);
};

extern SystemCalls systemCalls;

// The real functions, for tests that put them back.
extern const SystemCalls realSystemCalls;
