// Real copies of Swivelkin.exe (built beside the test program) started from a test, and the
// waits a test needs while they run: each wait keeps this thread's messages flowing, since
// a second copy sends to a window of this process and waits for the answer.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "KeyCatalogue.h"
#include "MapFileOf.h"
#include "SettingsFile.h"
#include "SharedInstanceBlock.h"
#include "TextInTests.h"

namespace program_copies {

#ifndef PM_QS_SENDMESSAGE
#define PM_QS_SENDMESSAGE (QS_SENDMESSAGE << 16)
#endif

const DWORD patience = 10000;  // ms; a copy normally answers within a fraction of a second

// Answers messages sent to this thread's windows (and, with `posted`, dispatches posted ones
// too) until `done` holds or `timeout` ms have passed. Without `posted`, what a copy posts
// stays in the queue, where a test can find it.
inline bool WaitUntil(const std::function<bool()>& done, bool posted, DWORD timeout = patience)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        if (posted) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        if (done())
            return true;
        if (GetTickCount() - start > timeout)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, posted ? QS_ALLINPUT : QS_SENDMESSAGE);
    }
}

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout = patience)
{
    return WaitUntil(done, true, timeout);
}

inline bool Posted(HWND window, UINT message)
{
    MSG found;
    return PeekMessageA(&found, window, message, message, PM_NOREMOVE) != FALSE;
}

inline std::string SwivelkinExe() { return std::string(ProgramDirectory().c_str()) + "\\Swivelkin.exe"; }

// One started copy of a program; ended by force if a test leaves it running.
class ProgramCopy {
public:
    // Starts `program` (Swivelkin.exe by default) with `arguments` after its quoted name;
    // with `output`, that handle is its standard output.
    explicit ProgramCopy(const std::string& arguments, const std::string& program = SwivelkinExe(),
                         HANDLE output = nullptr)
    {
        std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (output) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = startup.hStdError = output;
        }
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr, &startup,
                            &info_))
            ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
    }
    ~ProgramCopy()
    {
        if (!info_.hProcess)
            return;
        if (Running()) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, patience);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }
    bool Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

    // Waits for the copy to end; its exit code, or -1 if it is still running.
    long ExitCode(DWORD timeout = patience)
    {
        if (!WaitUntil([&] { return !Running(); }, false, timeout))
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

    // The top-level dialog of this copy with the caption `caption` once it appears, or null.
    HWND WaitForDialog(const char* caption, DWORD timeout = patience)
    {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = DialogOf(caption);
                return found != nullptr || !Running();
            },
            false, timeout);
        return found;
    }

    HWND DialogOf(const char* caption) const
    {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr;) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == info_.dwProcessId)
                return w;
        }
        return nullptr;
    }

private:
    PROCESS_INFORMATION info_ = {};
};

// A message box of another process as a user sees it.
struct SeenBox {
    std::string text;
    std::vector<std::string> buttons;  // visible buttons, in child order
    bool hasIcon = false;
};

inline SeenBox ReadBox(HWND box)
{
    SeenBox seen;
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen.text = text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (!(style & WS_VISIBLE))
            continue;
        if (lstrcmpiA(className, "Button") == 0) {
            GetWindowTextA(child, text, sizeof text);
            seen.buttons.push_back(text);
        } else if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            seen.hasIcon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
        }
    }
    return seen;
}

inline void PressOk(HWND box)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

// A file of exactly these bytes.
inline void WriteFileBytes(const std::string& path, const void* bytes, size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(size, written);
}

// The bytes of a file; none when it cannot be read.
inline std::vector<unsigned char> FileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    unsigned char buffer[512];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    return bytes;
}

// A map file of these (from, to) mappings, written as Save writes it.
inline void WriteMapFile(const std::string& path, const std::vector<std::pair<ScanCode, ScanCode>>& mappings)
{
    Bytes bytes = MapFileOf(mappings);
    WriteFileBytes(path, bytes.data(), bytes.size());
}

// A folder with spaces in its name, removed with what it holds.
struct TempFolder {
    TempFolder()
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        path = std::string(temp) + "Swivelkin start-up " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::string& file : files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(path.c_str());
    }
    std::string File(const std::string& name)
    {
        files.push_back(path + "\\" + name);
        return files.back();
    }
    std::string path;
    std::vector<std::string> files;
};

// hWndMain of the block as another copy would find it now; 0 when there is no block.
inline std::uint32_t SharedWindowNow()
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Swivelkin data");
    if (!mapping)
        return 0;
    std::uint32_t window = 0;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(SharedInstanceBlock))) {
        window = static_cast<SharedInstanceBlock*>(view)->hWndMain;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return window;
}

// The shared block as a copy with other rights holds it: one that this process, and copies
// started from it, may not open (a DACL that grants nobody anything).
struct OutOfReachBlock {
    OutOfReachBlock()
    {
        SECURITY_DESCRIPTOR descriptor;
        ACL emptyAcl;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE);
        SECURITY_ATTRIBUTES security = {sizeof security, &descriptor, FALSE};
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &security, PAGE_READWRITE, 0, 264, "Swivelkin data");
    }
    ~OutOfReachBlock()
    {
        if (mapping)
            CloseHandle(mapping);
    }
    OutOfReachBlock(const OutOfReachBlock&) = delete;
    OutOfReachBlock& operator=(const OutOfReachBlock&) = delete;
    HANDLE mapping;
};

inline bool SharedBlockExists()
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Swivelkin data");
    if (mapping)
        CloseHandle(mapping);
    return mapping != nullptr;
}

}  // namespace program_copies
