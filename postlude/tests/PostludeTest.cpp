// Postlude's steps in-process: the stand-in system answers the questions and plays the
// driver, the fake wizard is a real window found by the real window search.
#include "Postlude.h"
#include "Platform.h"
#include "FakeSystem.h"
#include "FakeWizard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

const char restartQuestion[] = "You must restart your system to complete the installation\nDo you want to do this now?";
const char launchQuestion[] = "Do you want to launch Swivelkin now?";

// What happened, in order: "question", "Finish" (the wizard's command is waiting in the
// queue), "start", "restart".
std::vector<std::string> events;
HWND watchedWizard;
SystemCalls fakeCalls;

void noteFinishIfPosted()
{
    MSG message;
    bool posted = PeekMessageA(&message, watchedWizard, WM_COMMAND, WM_COMMAND, PM_NOREMOVE);
    if (posted && std::find(events.begin(), events.end(), "Finish") == events.end())
        events.push_back("Finish");
}

// Wraps the stand-ins so that each call notes itself, after any Finish posted before it.
void watchOrder(HWND wizard)
{
    events.clear();
    watchedWizard = wizard;
    fakeCalls = systemCalls;
    systemCalls.messageBox = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
        noteFinishIfPosted();
        events.push_back("question");
        return fakeCalls.messageBox(owner, text, caption, type);
    };
    systemCalls.winExec = [](LPCSTR commandLine, UINT show) {
        noteFinishIfPosted();
        events.push_back("start");
        return fakeCalls.winExec(commandLine, show);
    };
    systemCalls.exitWindowsEx = [](UINT flags, DWORD reason) {
        noteFinishIfPosted();
        events.push_back("restart");
        return fakeCalls.exitWindowsEx(flags, reason);
    };
}

struct PostludeRun : ::testing::Test {
    void SetUp() override
    {
        DetectPlatform();
        receivedCommands().clear();
        fake.install();
    }
    void TearDown() override { FakeSystem::restore(); }

    void expectFinishPressedOn(const FakeWizard& wizard)
    {
        ASSERT_EQ(1u, receivedCommands().size());
        const ReceivedCommand& command = receivedCommands()[0];
        EXPECT_EQ(wizard.window, command.window);
        EXPECT_EQ(FakeWizard::finishId, LOWORD(command.wParam));
        EXPECT_EQ(BN_CLICKED, HIWORD(command.wParam));
        EXPECT_EQ(reinterpret_cast<LPARAM>(wizard.button), command.lParam);
    }

    FakeSystem fake;
};

struct Win98Run : PostludeRun {
    void SetUp() override
    {
        PostludeRun::SetUp();
        if (IsNT)
            GTEST_SKIP() << "Windows 95/98/ME only";
    }
};

TEST_F(PostludeRun, OnTheNTFamilyOnlySaysItIsNotNeeded)
{
    if (!IsNT)
        GTEST_SKIP() << "NT family only";
    FakeWizard wizard;
    fake.driverLoaded = true;
    RunPostlude();
    pumpMessages();
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ(nullptr, fake.boxes[0].owner);
    EXPECT_EQ("Swivelkin Setup", fake.boxes[0].caption);
    EXPECT_EQ("This setup utility is not required under Windows NT", fake.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_OK), fake.boxes[0].type);
    EXPECT_TRUE(fake.opens.empty());
    EXPECT_TRUE(receivedCommands().empty());
    EXPECT_TRUE(fake.started.empty());
    EXPECT_TRUE(fake.restarts.empty());
}

TEST_F(Win98Run, AsksFirstThenPressesFinishThenDoesWhatWasChosen)
{
    struct Case {
        const char* title;
        bool driverLoaded;
        int answer;
        std::vector<std::string> events;
        std::vector<std::pair<std::string, UINT>> started;
        std::vector<UINT> restarts;
    };
    const Case cases[] = {
        {"driver running, Yes", true, IDYES, {"question", "Finish", "start"}, {{"Swivelkin.exe", SW_SHOWNORMAL}}, {}},
        {"driver running, No", true, IDNO, {"question", "Finish"}, {}, {}},
        {"driver absent, Yes", false, IDYES, {"question", "Finish", "restart"}, {}, {EWX_REBOOT}},
        {"driver absent, No", false, IDNO, {"question", "Finish"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        fake = FakeSystem();
        fake.install();
        fake.driverLoaded = c.driverLoaded;
        fake.answers = {c.answer};
        receivedCommands().clear();
        FakeWizard wizard;
        watchOrder(wizard.window);

        RunPostlude();
        noteFinishIfPosted();
        pumpMessages();

        EXPECT_EQ(c.events, events);
        expectFinishPressedOn(wizard);
        ASSERT_EQ(1u, fake.boxes.size());
        if (c.driverLoaded) {
            EXPECT_EQ(nullptr, fake.boxes[0].owner);
            EXPECT_EQ("Swivelkin Setup", fake.boxes[0].caption);
            EXPECT_EQ(launchQuestion, fake.boxes[0].text);
            EXPECT_EQ(static_cast<UINT>(MB_YESNO), fake.boxes[0].type);
        } else {
            EXPECT_EQ(GetDesktopWindow(), fake.boxes[0].owner);
            EXPECT_EQ("Swivelkin", fake.boxes[0].caption);
            EXPECT_EQ(restartQuestion, fake.boxes[0].text);
            EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL | MB_YESNO), fake.boxes[0].type);
        }
        EXPECT_EQ(c.started, fake.started);
        EXPECT_EQ(c.restarts, fake.restarts);
        EXPECT_EQ(std::vector<DWORD>(c.restarts.size(), 0), fake.restartReasons);
    }
}

TEST_F(Win98Run, ProbesTheDriverOnceAndClosesIt)
{
    struct Case {
        const char* title;
        bool driverLoaded;
        std::vector<HANDLE> closed;
    };
    const Case cases[] = {
        {"driver running", true, {FakeSystem::deviceHandle()}},
        {"driver absent", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        fake = FakeSystem();
        fake.install();
        fake.driverLoaded = c.driverLoaded;
        EXPECT_EQ(c.driverLoaded ? TRUE : FALSE, IsDriverLoaded());
        ExpectDriverOpenedOnce(fake);
        EXPECT_EQ(c.closed, fake.closed);
        EXPECT_TRUE(fake.deviceCalls.empty());
    }
}

TEST_F(Win98Run, WithoutAWizardLooksForAboutASecondThenActs)
{
    fake.driverLoaded = true;
    fake.answers = {IDYES};
    DWORD start = GetTickCount();
    RunPostlude();
    DWORD elapsed = GetTickCount() - start;
    // Four lookups with a 250 ms pause after each.
    EXPECT_GE(elapsed, 950u);
    EXPECT_LT(elapsed, 2000u);
    EXPECT_EQ((std::vector<std::pair<std::string, UINT>>{{"Swivelkin.exe", SW_SHOWNORMAL}}), fake.started);
}

TEST_F(Win98Run, AWizardWithoutFinishGetsNothingAndTheActionFollows)
{
    struct Case {
        const char* title;
        const char* buttonText;
        const char* buttonClass;
    };
    const Case cases[] = {
        {"other button", "&Next >", "TButton"},
        {"Finish of another class", "&Finish", "Button"},
        {"no access key", "Finish", "TButton"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        fake = FakeSystem();
        fake.install();
        fake.answers = {IDYES};
        receivedCommands().clear();
        FakeWizard wizard(c.buttonText, c.buttonClass);
        RunPostlude();
        pumpMessages();
        EXPECT_TRUE(receivedCommands().empty());
        EXPECT_EQ(std::vector<UINT>{EWX_REBOOT}, fake.restarts);
    }
}

// A wizard made on a thread of its own, `delay` ms after go(), whose messages that thread
// serves until finish().
class LateWizard {
public:
    explicit LateWizard(DWORD delay) : delay_(delay)
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        go_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        created_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { serve(); });
        WaitForSingleObject(ready_, INFINITE);
    }
    ~LateWizard()
    {
        if (thread_.joinable())
            finish();
        CloseHandle(ready_);
        CloseHandle(go_);
        CloseHandle(created_);
    }

    void go() { SetEvent(go_); }

    // Waits until the wizard exists, lets it take what was posted to it, and ends the thread.
    void finish()
    {
        WaitForSingleObject(created_, INFINITE);
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

    HWND window = nullptr;
    HWND button = nullptr;

private:
    void serve()
    {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue, before anyone posts
        threadId_ = GetCurrentThreadId();
        // The first window of a thread takes a while to come; pay for that before go().
        DestroyWindow(CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        SetEvent(ready_);
        WaitForSingleObject(go_, INFINITE);
        Sleep(delay_);
        FakeWizard wizard;
        window = wizard.window;
        button = wizard.button;
        SetEvent(created_);
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
    }

    DWORD delay_;
    DWORD threadId_ = 0;
    HANDLE ready_, go_, created_;
    std::thread thread_;
};

// The lookups come at about 0, 250, 500 and 750 ms, and the search ends at about 1000 ms.
TEST_F(Win98Run, AWizardThatAppearsBeforeTheFourthLookupIsUsed)
{
    LateWizard wizard(625);
    wizard.go();
    PressInstallerFinish();
    wizard.finish();
    ASSERT_EQ(1u, receivedCommands().size());
    EXPECT_EQ(wizard.window, receivedCommands()[0].window);
    EXPECT_EQ(reinterpret_cast<LPARAM>(wizard.button), receivedCommands()[0].lParam);
}

TEST_F(Win98Run, AWizardThatAppearsAfterTheFourthLookupIsNotUsed)
{
    // Well after the fourth lookup, so that pauses stretched by a busy machine do not reach it.
    LateWizard wizard(1500);
    wizard.go();
    PressInstallerFinish();
    wizard.finish();
    EXPECT_TRUE(receivedCommands().empty());
}

}  // namespace
