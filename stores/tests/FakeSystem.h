// Stand-ins for the calls in SystemCalls: message boxes answered from a script and
// recorded (a question the test has not answered fails it), a keyboard driver that is
// present or absent, restarts, help calls and program starts that are only recorded, and
// the elevation of Windows Vista and later as a test sets it up (by default: none, as
// before Vista).
// Install with FakeSystem::install(); the real calls come back with FakeSystem::restore()
// (done by the fixture's TearDown).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "SystemCalls.h"

struct ShownBox {
    HWND owner;
    std::string text, caption;
    UINT type;
};

struct DeviceOpen {
    std::string name;
    DWORD access, share;
    LPSECURITY_ATTRIBUTES security;
    DWORD creation, flags;
    HANDLE templateFile;
};

struct DeviceCall {
    HANDLE device;
    DWORD code;
    std::vector<unsigned char> input;
    LPVOID output;
    DWORD outputSize;
    LPDWORD returned;
    LPOVERLAPPED overlapped;
};

struct FakeSystem {
    // Message boxes
    std::vector<ShownBox> boxes;
    // The user's answers, given in order. A box with only an OK button needs none; a
    // question (Yes/No, OK/Cancel...) shown with none queued fails the test.
    std::deque<int> answers;

    // The keyboard driver
    bool driverLoaded = false;
    BOOL deviceResult = TRUE;
    std::vector<std::string> opened;  // names passed to createFile
    std::vector<DeviceOpen> opens;    // every argument passed to createFile
    std::vector<DeviceCall> deviceCalls;
    int openHandles = 0;
    std::vector<HANDLE> closed;
    static HANDLE deviceHandle() { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x4D0)); }

    // Restart, help, program start
    std::vector<UINT> restarts;        // flags
    std::vector<DWORD> restartReasons;
    struct HelpCall {
        HWND owner;
        std::string file;
        UINT command;
        ULONG_PTR data;
    };
    std::vector<HelpCall> helpCalls;
    BOOL helpResult = TRUE;
    std::vector<std::pair<std::string, UINT>> started;

    // Documents opened in the system's viewer
    struct ShellCall {
        HWND owner;
        std::string verb, file, directory;
        bool parameters;
        INT show;
    };
    std::vector<ShellCall> shellCalls;
    HINSTANCE shellResult = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(42));

    // Elevation
    DWORD elevationType = 0;  // the token's elevation type; 3 is a filtered one
    struct ElevatedStart {
        HWND owner;
        std::string program, parameters;
    };
    std::vector<ElevatedStart> elevatedStarts;
    // Stands in for the prompt and the elevated copy: a process handle (which the caller
    // closes), or null with the last error set. Unset, a start fails the test.
    std::function<HANDLE(const ElevatedStart&)> startElevated;
    std::vector<std::pair<HWND, UINT>> allowedMessages;  // let through the message filter

    static FakeSystem*& current()
    {
        static FakeSystem* fake = nullptr;
        return fake;
    }

    void install()
    {
        current() = this;
        systemCalls.messageBox = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
            FakeSystem& f = *current();
            f.boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
            if (f.answers.empty()) {
                if ((type & MB_TYPEMASK) == MB_OK)
                    return IDOK;
                ADD_FAILURE() << "a question was shown with no answer queued in fake.answers: \""
                              << (text ? text : "") << "\"";
                return 0;  // as a box that could not be shown
            }
            int answer = f.answers.front();
            f.answers.pop_front();
            return answer;
        };
        systemCalls.createFile = [](LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                    DWORD creation, DWORD flags, HANDLE templateFile) {
            FakeSystem& f = *current();
            f.opened.push_back(name);
            f.opens.push_back({name, access, share, security, creation, flags, templateFile});
            if (!f.driverLoaded) {
                SetLastError(ERROR_FILE_NOT_FOUND);
                return INVALID_HANDLE_VALUE;
            }
            ++f.openHandles;
            return deviceHandle();
        };
        systemCalls.deviceIoControl = [](HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                         DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped) {
            FakeSystem& f = *current();
            const unsigned char* bytes = static_cast<const unsigned char*>(in);
            f.deviceCalls.push_back(
                {device, code, std::vector<unsigned char>(bytes, bytes + inSize), out, outSize, returned, overlapped});
            return f.deviceResult;
        };
        // Only the driver's handle is a stand-in; a file's is closed for real.
        systemCalls.closeHandle = [](HANDLE handle) {
            if (handle != deviceHandle())
                return CloseHandle(handle);
            --current()->openHandles;
            current()->closed.push_back(handle);
            return TRUE;
        };
        systemCalls.exitWindowsEx = [](UINT flags, DWORD reason) {
            current()->restarts.push_back(flags);
            current()->restartReasons.push_back(reason);
            return TRUE;
        };
        systemCalls.winHelp = [](HWND owner, LPCSTR file, UINT command, ULONG_PTR data) {
            current()->helpCalls.push_back({owner, file ? file : "", command, data});
            return current()->helpResult;
        };
        systemCalls.winExec = [](LPCSTR commandLine, UINT show) {
            current()->started.push_back({commandLine, show});
            return 33u;
        };
        systemCalls.shellExecute = [](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                      INT show) {
            current()->shellCalls.push_back(
                {owner, verb ? verb : "", file ? file : "", directory ? directory : "", parameters != nullptr, show});
            return current()->shellResult;
        };
        systemCalls.tokenElevationType = [] { return current()->elevationType; };
        systemCalls.startElevated = [](HWND owner, LPCSTR program, LPCSTR parameters) -> HANDLE {
            FakeSystem& f = *current();
            f.elevatedStarts.push_back({owner, program ? program : "", parameters ? parameters : ""});
            if (!f.startElevated) {
                ADD_FAILURE() << "an elevated copy was started: " << f.elevatedStarts.back().parameters;
                SetLastError(ERROR_CANCELLED);
                return nullptr;
            }
            return f.startElevated(f.elevatedStarts.back());
        };
        systemCalls.allowMessageFromLower = [](HWND window, UINT message) {
            current()->allowedMessages.push_back({window, message});
            return TRUE;
        };
    }

    static void restore()
    {
        systemCalls = realSystemCalls;
        current() = nullptr;
    }
};

// The one open of the keyboard driver's device, with exactly the probe's arguments.
inline void ExpectDriverOpenedOnce(const FakeSystem& fake)
{
    ASSERT_EQ(1u, fake.opens.size());
    const DeviceOpen& open = fake.opens[0];
    EXPECT_EQ("\\\\.\\QUORVEX", open.name);
    EXPECT_EQ(0u, open.access);
    EXPECT_EQ(0u, open.share);
    EXPECT_EQ(nullptr, open.security);
    EXPECT_EQ(static_cast<DWORD>(CREATE_NEW), open.creation);
    EXPECT_EQ(0u, open.flags);
    EXPECT_EQ(nullptr, open.templateFile);
}
