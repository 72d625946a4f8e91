// Real copies of Swivelkin.exe starting as the first copy, and handing over between two of them.
#include "ProgramCopies.h"
#include "WindowDriver.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

using namespace window_driver;
using namespace program_copies;
using testing_keys::code;

namespace {

struct FirstCopy : WindowTest {
    // The copy's main window once it has finished opening, or null.
    HWND WaitForMainWindow(ProgramCopy& copy)
    {
        WaitUntil([&] { return SharedWindowNow() != 0 || !copy.Running(); }, false);
        SharedInstanceBlock block = {};
        block.hWndMain = SharedWindowNow();
        return MainWindowOf(block);
    }
    static int MappedRowCount(HWND w) { return RowCount(GetDlgItem(w, IDC_MAPPED_LIST)); }
    static DWORD ProcessOf(HWND w)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        return process;
    }
    static bool MutexExists()
    {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "SwivelkinIsRunning");
        if (mutex)
            CloseHandle(mutex);
        return mutex != nullptr;
    }
    void Close(HWND w) { PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
    TempFolder folder;
    const std::vector<std::pair<ScanCode, ScanCode>> capsAndSwap = {
        {code("Caps Lock"), code("Left Ctrl")}, {code("F1"), code("Escape")}, {code("Escape"), code("F1")}};
};

TEST_F(FirstCopy, OpensAQuotedPathWithSpacesAndTellsLaterCopiesItsWindow)
{
    std::string path = folder.File("my layout.swm");
    WriteMapFile(path, capsAndSwap);
    ASSERT_FALSE(SharedBlockExists());
    ProgramCopy first("\"" + path + "\"");
    HWND w = WaitForMainWindow(first);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(first.Id(), ProcessOf(w));
    EXPECT_EQ(w, first.DialogOf("Swivelkin"));
    EXPECT_EQ(3, MappedRowCount(w));
    EXPECT_TRUE(MutexExists());
    EXPECT_EQ(nullptr, first.DialogOf("Ambertide"));

    Close(w);
    EXPECT_EQ(0, first.ExitCode());
    EXPECT_FALSE(SharedBlockExists());
    EXPECT_FALSE(MutexExists());
    // Start-up only reads the settings: no file comes into being.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(application.settings.settingsPath.c_str()));
}

TEST_F(FirstCopy, WhiteSpaceOrALoneQuoteNamesNoFile)
{
    // A named file that failed to load would hold the window at its "File load failed." box
    // before it tells other copies its handle.
    for (const char* arguments : {" \t ", "\""}) {
        SCOPED_TRACE(std::string("arguments [") + arguments + "]");
        ProgramCopy first(arguments);
        HWND w = WaitForMainWindow(first);
        ASSERT_NE(nullptr, w);
        EXPECT_EQ(0, MappedRowCount(w));
        Close(w);
        EXPECT_EQ(0, first.ExitCode());
    }
}

TEST_F(FirstCopy, TakesTheFileOfASecondCopyStartedLater)
{
    std::string path = folder.File("handed over.swm");
    WriteMapFile(path, capsAndSwap);
    ProgramCopy first("");
    HWND w = WaitForMainWindow(first);
    ASSERT_NE(nullptr, w);
    ASSERT_EQ(0, MappedRowCount(w));

    ProgramCopy second("\"" + path + "\"");
    EXPECT_EQ(0, second.ExitCode());
    EXPECT_TRUE(PumpUntil([&] { return MappedRowCount(w) == 3; }));
    EXPECT_EQ(w, GetForegroundWindow());
    EXPECT_TRUE(first.Running());
    Close(w);
    EXPECT_EQ(0, first.ExitCode());
}

}  // namespace
