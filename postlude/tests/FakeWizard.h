// A stand-in for the installer's wizard: a top-level "TWizardForm" window titled
// "Setup - Swivelkin" with a "TButton" child, recording every WM_COMMAND it receives.
#pragma once

#include <windows.h>

#include <vector>

struct ReceivedCommand {
    HWND window;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<ReceivedCommand>& receivedCommands()
{
    static std::vector<ReceivedCommand> commands;
    return commands;
}

inline LRESULT CALLBACK fakeWizardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        receivedCommands().push_back({window, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

inline void registerWizardClasses()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wizardClass = {};
    wizardClass.lpfnWndProc = fakeWizardProc;
    wizardClass.hInstance = GetModuleHandleA(nullptr);
    wizardClass.lpszClassName = "TWizardForm";
    RegisterClassA(&wizardClass);
    WNDCLASSA buttonClass = {};
    buttonClass.lpfnWndProc = DefWindowProcA;
    buttonClass.hInstance = GetModuleHandleA(nullptr);
    buttonClass.lpszClassName = "TButton";
    RegisterClassA(&buttonClass);
    registered = true;
}

// Made and destroyed on one thread, which must also serve its messages.
struct FakeWizard {
    static constexpr int finishId = 1027;

    explicit FakeWizard(const char* buttonText = "&Finish", const char* buttonClass = "TButton")
    {
        registerWizardClasses();
        window = CreateWindowA("TWizardForm", "Setup - Swivelkin", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        button = CreateWindowA(buttonClass, buttonText, WS_CHILD | WS_VISIBLE, 300, 240, 80, 24, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(finishId)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    ~FakeWizard() { DestroyWindow(window); }
    FakeWizard(const FakeWizard&) = delete;
    FakeWizard& operator=(const FakeWizard&) = delete;

    HWND window = nullptr;
    HWND button = nullptr;
};

// Dispatches whatever waits in this thread's queue, so posted commands reach the wizard.
inline void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}
