// A real second copy of Swivelkin.exe handing its file to a first copy in this process.
#include "AppMessageBox.h"
#include "ProgramCopies.h"
#include "WindowDriver.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace window_driver;
using namespace program_copies;
using testing_keys::code;
using Rows = std::vector<std::string>;

namespace {

// A window of this process posing as the first copy: answers identify with `reply` and
// keeps load requests in its queue, where the test finds them.
class StandIn {
public:
    explicit StandIn(LRESULT reply)
    {
        static ATOM registered = 0;
        if (!registered) {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = Proc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "SwivelkinStandIn";
            registered = RegisterClassA(&windowClass);
        }
        answer() = reply;
        identified() = 0;
        window = CreateWindowExA(0, "SwivelkinStandIn", "stand-in", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~StandIn() { DestroyWindow(window); }
    static int& identified()
    {
        static int count = 0;
        return count;
    }
    HWND window;

private:
    static LRESULT& answer()
    {
        static LRESULT value = 0;
        return value;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP_IDENTIFY) {
            ++identified();
            return answer();
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

struct SecondCopy : FirstCopyWindowTest {
    void SetUp() override
    {
        FirstCopyWindowTest::SetUp();
        std::strcpy(application.sharedBlock->filePath, "untouched");
    }
    void SetFirstCopy(HWND w) { application.sharedBlock->hWndMain = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(w)); }
    std::string FilePath() const { return application.sharedBlock->filePath; }
    TempFolder folder;
};

// A visible window of this process that holds the foreground, so that a copy taking it is seen.
struct OtherWindow {
    OtherWindow()
    {
        window = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 100, 100, 80, 40, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(window);
    }
    ~OtherWindow() { DestroyWindow(window); }
    HWND window;
};

TEST_F(SecondCopy, WithoutAFileBringsTheFirstCopyToTheFrontAndEnds)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        ASSERT_EQ(w, MainWindowOf(*application.sharedBlock));
        OtherWindow other;
        ASSERT_EQ(other.window, GetForegroundWindow());
        ProgramCopy second("");
        EXPECT_EQ(0, second.ExitCode());
        EXPECT_FALSE(Posted(w, WM_APP_LOADFILE));
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == w; }));
        EXPECT_EQ("untouched", FilePath());
        EXPECT_EQ(Rows{}, MappedRows(w));
    });
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(SecondCopy, WithAQuotedPathWithSpacesTheFirstCopyLoadsItAfterTheSecondHasEnded)
{
    std::string path = folder.File("caps to ctrl.swm");
    WriteMapFile(path, {{code("Caps Lock"), code("Left Ctrl")}});
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        ProgramCopy second("\"" + path + "\"");
        EXPECT_EQ(0, second.ExitCode());
        // Ended with the request still waiting in the first copy's queue.
        EXPECT_TRUE(Posted(w, WM_APP_LOADFILE));
        EXPECT_EQ(Rows{}, MappedRows(w));
        EXPECT_EQ(path, FilePath());
        EXPECT_TRUE(PumpUntil([&] { return !Posted(w, WM_APP_LOADFILE); }));
        EXPECT_EQ(Rows{"Caps Lock>Left Ctrl"}, MappedRows(w));
        EXPECT_EQ(1, window.dirty);
        EXPECT_EQ(w, GetForegroundWindow());
    });
    EXPECT_TRUE(fake.boxes.empty());
}

enum FirstCopyState { NoWindowYet, WindowClosed, AnotherProgramsWindow };

TEST_F(SecondCopy, RefusesAFirstCopyItCannotReachWithItsBoxAndHandsNothingOver)
{
    const std::pair<FirstCopyState, const char*> cases[] = {
        {NoWindowYet, "Internal error: hWndMain not defined."},
        {WindowClosed, "Internal error: hWndMain does not identify an existing window."},
        {AnotherProgramsWindow, "Internal Error: hWndMain does not\npoint to an instance of Ambertide"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        StandIn impostor(0xBADDCABA);
        HWND closed = CreateWindowExA(0, "STATIC", "closed", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        DestroyWindow(closed);
        SetFirstCopy(c.first == NoWindowYet ? nullptr : c.first == WindowClosed ? closed : impostor.window);

        ProgramCopy second("\"C:\\maps\\a.swm\"");
        HWND box = second.WaitForDialog("Ambertide");
        ASSERT_NE(nullptr, box);
        SeenBox seen = ReadBox(box);
        EXPECT_EQ(c.second, seen.text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);
        EXPECT_TRUE(seen.hasIcon);
        PressOk(box);
        EXPECT_EQ(0, second.ExitCode());
        EXPECT_EQ("untouched", FilePath());
        EXPECT_FALSE(Posted(impostor.window, WM_APP_LOADFILE));
        EXPECT_EQ(c.first == AnotherProgramsWindow ? 1 : 0, StandIn::identified());
    }
}

TEST_F(SecondCopy, HandsOverAPathOfUpTo259CharactersAsGiven)
{
    const std::string paths[] = {
        "C:\\" + std::string(252, 'x') + ".swm",  // 259 characters, the most the block holds
        "maps\\relative.swm",                     // opened by the first copy from where it runs
    };
    for (const std::string& path : paths) {
        StandIn first(INSTANCE_REPLY);
        SetFirstCopy(first.window);
        ProgramCopy second("\"" + path + "\"");
        EXPECT_EQ(0, second.ExitCode());
        EXPECT_EQ(path, FilePath());
        EXPECT_TRUE(Posted(first.window, WM_APP_LOADFILE));
        std::strcpy(application.sharedBlock->filePath, "untouched");
    }
}

TEST_F(SecondCopy, RefusesALongerPathWithABoxHandsNothingOverAndBringsTheFirstCopyToTheFront)
{
    for (std::size_t length : {260u, 300u}) {
        std::string path = "C:\\" + std::string(length - 7, 'y') + ".swm";
        ASSERT_EQ(length, path.size());
        StandIn first(INSTANCE_REPLY);
        SetFirstCopy(first.window);
        OtherWindow other;
        ProgramCopy second("\"" + path + "\"");
        HWND box = second.WaitForDialog("Ambertide");
        ASSERT_NE(nullptr, box);
        SeenBox seen = ReadBox(box);
        EXPECT_EQ(FormatMessageText(fileNameTooLongMessage, path.c_str()), seen.text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);
        EXPECT_TRUE(seen.hasIcon);
        PressOk(box);
        EXPECT_EQ(0, second.ExitCode());
        EXPECT_EQ("untouched", FilePath());
        EXPECT_FALSE(Posted(first.window, WM_APP_LOADFILE));
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == first.window; }));
    }
}

}  // namespace

namespace {

// A running copy with other rights (started with "Run as administrator") whose block this
// copy may not open: the second copy says why it cannot hand its file over.
TEST(SecondCopyOfOtherRights, SaysPlainlyWhyItCannotHandTheFileOver)
{
    OutOfReachBlock block;
    ASSERT_NE(nullptr, block.mapping);
    ProgramCopy second("\"C:\\maps\\a.swm\"");
    HWND box = second.WaitForDialog("Ambertide");
    ASSERT_NE(nullptr, box);
    SeenBox seen = ReadBox(box);
    EXPECT_EQ(otherRightsMessage, seen.text);
    EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);
    EXPECT_TRUE(seen.hasIcon);
    PressOk(box);
    EXPECT_EQ(0, second.ExitCode());
}

}  // namespace
