// OK where the user's own rights do not reach the key (Windows Vista and later with UAC): the
// window opens without a prompt, OK carries the shield and writes through an elevated copy.
// The token's elevation type and the start of the elevated copy are stood in for.
#include "WindowDriver.h"
#include "MappingListHelpers.h"
#include "ProgramCopies.h"
#include "ApplyDriver.h"

#include <gtest/gtest.h>

#ifndef BCM_SETSHIELD
#define BCM_SETSHIELD 0x160C
#endif

using namespace window_driver;
using namespace restart_notice;
using namespace testing_registry;
using testing_keys::code;

namespace {

const DWORD limited = 3, full = 2, plain = 1, noElevation = 0;

const char declinedMessage[] =
    "The new key mappings were not stored: storing them needs administrator rights, and the request "
    "for them was declined.\n\nPress OK to be asked again, or Cancel to leave without storing them.";

// A process that has ended, or soon will, with this exit code.
HANDLE ProcessEndingWith(DWORD code)
{
    std::string line = "cmd.exe /c exit " + std::to_string(code);
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info)) {
        ADD_FAILURE() << "cannot start " << line;
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

std::string ThisProgram()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// The map file named by "/apply /force "FILE"", or "" when the parameters are not that.
std::string FileOf(const std::string& parameters)
{
    const std::string start = "/apply /force \"";
    if (parameters.compare(0, start.size(), start) != 0 || parameters.back() != '"')
        return "";
    return parameters.substr(start.size(), parameters.size() - start.size() - 1);
}

// What the elevated copy was handed, as it was while it ran.
struct HandedOver {
    std::string file;
    Bytes bytes;
    bool windowEnabled = true;
    std::string folder;
};

HandedOver Look(const FakeSystem::ElevatedStart& start)
{
    HandedOver seen;
    seen.file = FileOf(start.parameters);
    seen.bytes = program_copies::FileBytes(seen.file);
    seen.windowEnabled = IsWindowEnabled(start.owner) != FALSE;
    seen.folder = seen.file.substr(0, seen.file.rfind('\\') + 1);
    return seen;
}

std::string TempFolderPath()
{
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    return folder;
}

// The key as a user without administrator rights sees it: readable, not writable.
struct ElevationOnNT : ApplyOnNT {
    void SetUp() override
    {
        ApplyOnNT::SetUp();
        if (IsSkipped())
            return;
        fake.elevationType = limited;
        ASSERT_TRUE(allowOnlyReading(layoutKey));
    }
    void TearDown() override
    {
        allowAllAccess(layoutKey);
        ApplyOnNT::TearDown();
    }

    // Maps Caps Lock to Left Ctrl and presses OK.
    void ChangeAndPressOK(HWND w)
    {
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        PickKey(w, IDC_TO_LIST, "Left Ctrl");
        Click(w, IDC_MAP);
        Click(w, IDOK);
    }
};

const Bytes capsToCtrlFile = {13, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0', 1, 0, 0, 0,
                              0x1D, 0, 0x3A, 0};

TEST_F(ElevationOnNT, EachExitCodeOfTheElevatedCopyCountsAsTheDirectWriteWould)
{
    const struct {
        DWORD exitCode;
        bool closes;
        bool notice;
        int dirty;
        const char* message;
    } cases[] = {
        {0, true, true, 0, nullptr},
        {3, false, false, 1, "Error opening mapping key."},
        {4, true, false, 1, "Error writing map data to the registry."},
        {2, false, false, 1,
         "The copy of Swivelkin with administrator rights did not store the new key mappings (exit code 2).\n\n"
         "Press OK to try again, or start Swivelkin with \"Run as administrator\"."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exitCode);
        fake.boxes.clear();
        fake.elevatedStarts.clear();
        static DWORD exitCode;
        static HandedOver seen;
        exitCode = c.exitCode;
        fake.startElevated = [](const FakeSystem::ElevatedStart& start) {
            seen = Look(start);
            return ProcessEndingWith(exitCode);
        };
        NoticeSeen notice;
        MainWindow window(application.settings, application.sharedBlock);
        HWND main = nullptr;
        INT_PTR end = RunWindow(window, [&](HWND w) {
            main = w;
            AnswerRestartNotice(notice, false, true);
            ChangeAndPressOK(w);
            EXPECT_EQ(c.closes, window.Ended());
            EXPECT_TRUE(IsWindowEnabled(w));
            StopAnsweringRestartNotice();
        });
        EXPECT_EQ(c.closes ? IDOK : -7, end);
        EXPECT_EQ(c.dirty, window.dirty);
        EXPECT_EQ(c.notice, notice.shown);
        if (c.message) {
            ExpectOneApplicationBox(fake, c.message, main);
        } else {
            EXPECT_TRUE(fake.boxes.empty());
        }
        // Handed a map file of the list in the temp folder, with the window disabled.
        ASSERT_EQ(1u, fake.elevatedStarts.size());
        EXPECT_EQ(main, fake.elevatedStarts[0].owner);
        EXPECT_EQ(ThisProgram(), fake.elevatedStarts[0].program);
        EXPECT_NE("", seen.file) << fake.elevatedStarts[0].parameters;
        EXPECT_EQ(TempFolderPath(), seen.folder);
        EXPECT_EQ(capsToCtrlFile, seen.bytes);
        EXPECT_FALSE(seen.windowEnabled);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(seen.file.c_str()));
        // This process wrote nothing itself.
        EXPECT_FALSE(StoredMap().exists);
    }
}

TEST_F(ElevationOnNT, ADeclinedPromptWritesNothingAndOKCanBePressedAgain)
{
    static HandedOver seen;
    fake.startElevated = [](const FakeSystem::ElevatedStart& start) -> HANDLE {
        seen = Look(start);
        SetLastError(ERROR_CANCELLED);
        return nullptr;
    };
    MainWindow window(application.settings, application.sharedBlock);
    NoticeSeen notice;
    INT_PTR end = RunWindow(window, [&](HWND w) {
        ChangeAndPressOK(w);
        EXPECT_FALSE(window.Ended());
        EXPECT_EQ(1, window.dirty);
        EXPECT_TRUE(IsWindowEnabled(w));
        ExpectOneApplicationBox(fake, declinedMessage, w);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(seen.file.c_str()));

        fake.startElevated = [](const FakeSystem::ElevatedStart&) { return ProcessEndingWith(0); };
        AnswerRestartNotice(notice, false, true);
        Click(w, IDOK);
    });
    EXPECT_EQ(IDOK, end);
    EXPECT_EQ(2u, fake.elevatedStarts.size());
    EXPECT_EQ(0, window.dirty);
    EXPECT_TRUE(notice.shown);
}

TEST_F(ElevationOnNT, ACopyThatCannotStartSaysToRunSwivelkinAsAdministrator)
{
    fake.startElevated = [](const FakeSystem::ElevatedStart&) -> HANDLE {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    };
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        ChangeAndPressOK(w);
        EXPECT_FALSE(window.Ended());
        EXPECT_EQ(1, window.dirty);
        ExpectOneApplicationBox(fake,
                                "Swivelkin could not ask for the administrator rights that storing the key mappings "
                                "needs (error 2). Nothing was stored.\n\nTo store them, start Swivelkin with "
                                "\"Run as administrator\".",
                                w);
    });
    EXPECT_FALSE(StoredMap().exists);
}

// The list reaches the elevated copy only in a file of the temp folder.
TEST_F(ElevationOnNT, ATempFolderThatTakesNoFileStartsNoCopyAndSaysSo)
{
    char kept[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("TMP", kept, sizeof kept);
    SetEnvironmentVariableA("TMP", "C:\\no such folder");
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        ChangeAndPressOK(w);
        EXPECT_FALSE(window.Ended());
        EXPECT_EQ(1, window.dirty);
        EXPECT_TRUE(IsWindowEnabled(w));
        ExpectOneApplicationBox(fake,
                                "The new key mappings could not be put in a temporary file for the copy of Swivelkin "
                                "that stores them with administrator rights. Nothing was stored.\n\nTo store them, "
                                "start Swivelkin with \"Run as administrator\".",
                                w);
    });
    SetEnvironmentVariableA("TMP", length ? kept : nullptr);
    EXPECT_TRUE(fake.elevatedStarts.empty());
}

// A second copy's file handed over while the elevated copy runs waits until OK has ended:
// the list written is the one OK began with.
TEST_F(ElevationOnNT, AHandOverDuringTheElevatedCopyWaitsForOKToEnd)
{
    ASSERT_EQ(1, application.CreateOrOpenSharedBlock());
    program_copies::TempFolder folder;
    static std::string handedOver;
    handedOver = folder.File("tab off.swm");
    program_copies::WriteMapFile(handedOver, {{code("Tab"), 0}});
    static SharedInstanceBlock* block;
    block = application.sharedBlock;
    fake.startElevated = [](const FakeSystem::ElevatedStart& start) {
        lstrcpynA(block->filePath, handedOver.c_str(), sizeof block->filePath);
        PostMessageA(start.owner, WM_APP_LOADFILE, 0, 0);
        return ProcessEndingWith(3);
    };
    // The rows when OK tells what the copy's exit code means.
    static std::vector<std::string> rowsAtTheBox;
    static int (*recordBox)(HWND, LPCSTR, LPCSTR, UINT);
    recordBox = systemCalls.messageBox;
    systemCalls.messageBox = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
        rowsAtTheBox = MappedRows(owner);
        return recordBox(owner, text, caption, type);
    };
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        ChangeAndPressOK(w);
        ExpectOneApplicationBox(fake, "Error opening mapping key.", w);
        EXPECT_EQ(std::vector<std::string>{"Caps Lock>Left Ctrl"}, rowsAtTheBox);
        EXPECT_EQ(std::vector<std::string>{"Tab><Disabled>"}, MappedRows(w));
    });
    UnmapViewOfFile(application.sharedBlock);
    CloseHandle(application.sharedMapping);
}

// The real Swivelkin.exe as the elevated copy, started through the real ShellExecuteExA with
// "runas" (Wine starts it at once); only the rights it would have are given here. It writes
// back a code that Swivelkin does not know, read from the registry, as the direct write does.
TEST_F(ElevationOnNT, TheRealCopyWritesTheValueAndTheNoticeFollows)
{
    allowAllAccess(layoutKey);
    StoreScancodeMap({{0x0056, code("Tab")}});
    ASSERT_TRUE(allowOnlyReading(layoutKey));
    fake.startElevated = [](const FakeSystem::ElevatedStart& start) {
        allowAllAccess(layoutKey);
        std::string program = program_copies::SwivelkinExe();
        return realSystemCalls.startElevated(start.owner, program.c_str(), start.parameters.c_str());
    };
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    INT_PTR end = RunWindow(window, [&](HWND w) {
        AnswerRestartNotice(notice, false, true);
        ChangeAndPressOK(w);
    });
    EXPECT_EQ(IDOK, end);
    EXPECT_EQ(words({0, 0, 3, 0x003A001D, 0x0056000F, 0}), StoredMap().data);
    EXPECT_EQ(0, window.dirty);
    EXPECT_TRUE(notice.shown);
    EXPECT_TRUE(fake.boxes.empty());
    ASSERT_EQ(1u, fake.elevatedStarts.size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(FileOf(fake.elevatedStarts[0].parameters).c_str()));
}

// Where no elevation can help, OK's write is as it always was, and nobody is asked.
TEST_F(ElevationOnNT, WithoutAFilteredTokenARefusedWriteIsReportedAsBefore)
{
    for (DWORD type : {noElevation, plain, full}) {
        SCOPED_TRACE(type);
        fake.boxes.clear();
        fake.elevationType = type;
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND w) {
            ChangeAndPressOK(w);
            EXPECT_FALSE(window.Ended());
            ExpectOneApplicationBox(fake, "Error opening mapping key.", w);
        });
        EXPECT_TRUE(fake.elevatedStarts.empty());
    }
}

// BCM_SETSHIELD messages this thread sends, by the id of the control they go to.
struct ShieldsSent {
    ShieldsSent() { hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId()); }
    ~ShieldsSent() { UnhookWindowsHookEx(hook_); }
    static std::vector<std::pair<int, LPARAM>>& sent()
    {
        static std::vector<std::pair<int, LPARAM>> messages;
        return messages;
    }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == BCM_SETSHIELD)
            sent().push_back({GetDlgCtrlID(message->hwnd), message->lParam});
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

TEST_F(ElevationOnNT, OKCarriesTheShieldOnlyWhereItsWriteWillAskForRights)
{
    const struct {
        DWORD type;
        bool writable;
        bool shield;
    } cases[] = {
        {limited, false, true},      {limited, true, false}, {full, false, false},
        {plain, false, false}, {noElevation, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + (c.writable ? " writable" : " read only"));
        fake.elevationType = c.type;
        if (c.writable)
            allowAllAccess(layoutKey);
        else
            allowOnlyReading(layoutKey);
        ShieldsSent shields;
        shields.sent().clear();
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND) {});
        std::vector<std::pair<int, LPARAM>> expected;
        if (c.shield)
            expected.push_back({IDOK, TRUE});
        EXPECT_EQ(expected, shields.sent());
    }
}

struct ShieldOn98 : WindowOn98 {};

TEST_F(ShieldOn98, NeverShown)
{
    fake.elevationType = limited;
    ShieldsSent shields;
    shields.sent().clear();
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND) {});
    EXPECT_TRUE(shields.sent().empty());
    EXPECT_TRUE(fake.elevatedStarts.empty());
}

}  // namespace
