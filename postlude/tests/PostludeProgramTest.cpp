// Postlude.exe itself, started as the installer starts it, with the real system behind it:
// under Wine there is no keyboard driver, so on Windows 98 it asks to restart.
#include "Platform.h"
#include "FakeWizard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string programBesideThisOne(const char* name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

// A started program; ended by force if a test leaves it running.
class StartedProgram {
public:
    explicit StartedProgram(const std::string& path)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + path + "\"";
        started_ = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &info_);
    }
    ~StartedProgram()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return started_ != FALSE; }
    DWORD id() const { return info_.dwProcessId; }

    // Serves this thread's windows until the program ends. Its exit code, or STILL_ACTIVE
    // when it is still running after `ms`.
    DWORD waitForExit(DWORD ms)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            DWORD left = ms - (GetTickCount() - start);
            if (MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0)
                break;
            pumpMessages();
        }
        pumpMessages();
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_ = {};
    BOOL started_ = FALSE;
};

bool belongsTo(HWND window, DWORD processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

// The program's message box with this caption, once it shows; nullptr after `ms`. Serves
// this thread's windows meanwhile.
HWND waitForBox(DWORD processId, const char* caption, DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        HWND box = FindWindowA("#32770", caption);
        if (box && belongsTo(box, processId) && IsWindowVisible(box))
            return box;
        pumpMessages();
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

std::string boxText(HWND box)
{
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

int visibleTopLevelWindowsOf(DWORD processId)
{
    struct Count {
        DWORD processId;
        int windows;
    } count = {processId, 0};
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            Count& c = *reinterpret_cast<Count*>(data);
            if (IsWindowVisible(window) && belongsTo(window, c.processId))
                ++c.windows;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

void press(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

struct PostludeProgram : ::testing::Test {
    void SetUp() override
    {
        DetectPlatform();
        receivedCommands().clear();
    }
};

TEST_F(PostludeProgram, OnTheNTFamilyShowsOnlyTheInformationAndEndsWithZero)
{
    if (!IsNT)
        GTEST_SKIP() << "NT family only";
    FakeWizard wizard;
    StartedProgram postlude(programBesideThisOne("Postlude.exe"));
    ASSERT_TRUE(postlude.started());
    HWND box = waitForBox(postlude.id(), "Swivelkin Setup", 30000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("This setup utility is not required under Windows NT", boxText(box));
    EXPECT_EQ(1, visibleTopLevelWindowsOf(postlude.id()));
    press(box, IDOK);
    EXPECT_EQ(0u, postlude.waitForExit(10000));
    EXPECT_TRUE(receivedCommands().empty());
}

TEST_F(PostludeProgram, OnWindows98WithoutTheDriverAsksThenPressesFinishAndEndsWithZero)
{
    if (IsNT)
        GTEST_SKIP() << "Windows 95/98/ME only";
    FakeWizard wizard;
    StartedProgram postlude(programBesideThisOne("Postlude_w98.exe"));
    ASSERT_TRUE(postlude.started());
    HWND box = waitForBox(postlude.id(), "Swivelkin", 30000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("You must restart your system to complete the installation\nDo you want to do this now?", boxText(box));
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST);  // system-modal
    EXPECT_EQ(1, visibleTopLevelWindowsOf(postlude.id()));
    pumpMessages();
    EXPECT_TRUE(receivedCommands().empty());  // the wizard stays open while the user decides
    press(box, IDNO);
    EXPECT_EQ(0u, postlude.waitForExit(10000));
    ASSERT_EQ(1u, receivedCommands().size());
    EXPECT_EQ(wizard.window, receivedCommands()[0].window);
    EXPECT_EQ(MAKEWPARAM(FakeWizard::finishId, BN_CLICKED), receivedCommands()[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(wizard.button), receivedCommands()[0].lParam);
}

}  // namespace
