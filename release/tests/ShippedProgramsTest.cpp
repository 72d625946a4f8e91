// The programs as users get them, run as a user runs them: unpacked side by side into a
// folder of their own, started as processes of their own and driven only through their
// windows, with the registry read back afterwards. Where 32-bit Wine runs these are the
// shipped 32-bit programs; elsewhere this tree's x86_64 build of the same sources.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Bytes.h"
#include "ProgramCopies.h"
#include "Registry.h"
#include "resource.h"

using namespace program_copies;

namespace {

const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";

// A program of the tree under test (SWK_PROGRAMS_TREE, a Linux path that Wine sees on Z:).
std::string ProgramInTree(const char* relative)
{
    std::string path = std::string(SWK_PROGRAMS_TREE) + "/" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// A list view of another process. Its messages carry structures that the list reads in its
// own process, so they are written into memory of that process.
class RemoteList {
public:
    RemoteList(HANDLE process, HWND list) : process_(process), list_(list)
    {
        memory_ = static_cast<char*>(VirtualAllocEx(process, nullptr, memorySize, MEM_COMMIT, PAGE_READWRITE));
        EXPECT_NE(nullptr, memory_) << "no memory in the program's process: error " << GetLastError();
    }
    ~RemoteList()
    {
        if (memory_)
            VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::string Text(int row, int column = 0)
    {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = memory_ + textOffset;
        item.cchTextMax = textSize;
        if (!Put(item))
            return "<unreadable>";
        SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory_));
        char text[textSize + 1] = "";
        ReadProcessMemory(process_, memory_ + textOffset, text, textSize, nullptr);
        return text;
    }

    // Selects and focuses the row of the key `name`, as a click leaves it; false without one.
    bool Click(const std::string& name)
    {
        for (int row = 0; row < Count(); ++row) {
            if (Text(row) != name)
                continue;
            LVITEMA item = {};
            item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            return Put(item) && SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory_));
        }
        return false;
    }

private:
    static const SIZE_T memorySize = 4096;
    static const int textOffset = 1024, textSize = 256;
    bool Put(const LVITEMA& item)
    {
        return memory_ && WriteProcessMemory(process_, memory_, &item, sizeof item, nullptr);
    }
    HANDLE process_;
    HWND list_;
    char* memory_ = nullptr;
};

// A button pressed: the command its dialog gets from it. Posted, so that a box the command
// opens does not hold up the test.
void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Swivelkin's main window once it shows and waits for the user (it is shown only when it
// has finished opening), or null.
HWND MainWindowOf(ProgramCopy& swivelkin)
{
    HWND window = swivelkin.WaitForDialog("Swivelkin");
    if (!window)
        return nullptr;
    WaitUntil([&] { return IsWindowVisible(window) || !swivelkin.Running(); }, false);
    if (!IsWindowVisible(window))
        return nullptr;
    WaitForInputIdle(swivelkin.Process(), patience);
    return window;
}

// A dialog of `program` captioned `caption`, other than `except`, once it appears; or null.
HWND OtherDialogOf(ProgramCopy& program, const char* caption, HWND except)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr;) {
                DWORD process = 0;
                GetWindowThreadProcessId(w, &process);
                if (process == program.Id() && w != except && IsWindowVisible(w))
                    found = w;
            }
            return found != nullptr || !program.Running();
        },
        false);
    return found;
}

// The text of the dialog's first Static child that shows text.
std::string StaticText(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[512] = "";
        GetClassNameA(child, text, sizeof text);
        if (lstrcmpiA(text, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
            return text;
    }
    return "";
}

struct ShippedPrograms : ::testing::Test {
    static void SetUpTestSuite()
    {
        std::printf("Running %s from %s\n", SWK_PROGRAMS_KIND, SWK_PROGRAMS_TREE);
        std::fflush(stdout);
    }
    void SetUp() override
    {
        // As a user unpacks the zip: both programs in one folder, with no settings file yet.
        for (const char* program : {"app/Swivelkin.exe", "postlude/Postlude.exe"}) {
            std::string name = std::string(program).substr(std::string(program).find('/') + 1);
            ASSERT_TRUE(CopyFileA(ProgramInTree(program).c_str(), folder.File(name).c_str(), FALSE))
                << ProgramInTree(program) << ": error " << GetLastError();
        }
        swivelkin = folder.path + "\\Swivelkin.exe";
        postlude = folder.path + "\\Postlude.exe";
        folder.File("SWIVELKIN.INI");  // removed afterwards, should a program write one
        testing_registry::createKey(layoutKey);
        testing_registry::deleteValue(layoutKey, "ScanCode Map");
    }
    void TearDown() override { testing_registry::deleteValue(layoutKey, "ScanCode Map"); }
    TempFolder folder;
    std::string swivelkin, postlude;
};

TEST_F(ShippedPrograms, SwivelkinMapsCapsLockToLeftCtrlAndStoresItWithOK)
{
    ProgramCopy program("", swivelkin);
    HWND w = MainWindowOf(program);
    ASSERT_NE(nullptr, w) << "no visible window from " << swivelkin;
    RemoteList mapped(program.Process(), GetDlgItem(w, IDC_MAPPED_LIST));
    RemoteList from(program.Process(), GetDlgItem(w, IDC_FROM_LIST));
    RemoteList to(program.Process(), GetDlgItem(w, IDC_TO_LIST));
    EXPECT_EQ(0, mapped.Count());
    EXPECT_EQ(102, from.Count());
    ASSERT_EQ(103, to.Count());
    EXPECT_EQ("Left Shift", from.Text(0));
    EXPECT_EQ("<Disabled>", to.Text(0));

    ASSERT_TRUE(from.Click("Caps Lock"));
    ASSERT_TRUE(to.Click("Left Ctrl"));
    SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_MAP, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, IDC_MAP)));
    ASSERT_EQ(1, mapped.Count());
    EXPECT_EQ("Caps Lock", mapped.Text(0, 0));
    EXPECT_EQ("Left Ctrl", mapped.Text(0, 1));

    Press(w, IDOK);
    HWND notice = OtherDialogOf(program, "Swivelkin", w);
    ASSERT_NE(nullptr, notice) << "no restart notice after OK";
    EXPECT_EQ("New key mappings will not take effect until you either log off and back on or (on some systems) "
              "restart Windows.",
              StaticText(notice));
    EXPECT_EQ((std::vector<std::string>{"&Don't show me this again.", "OK"}), ReadBox(notice).buttons);
    Press(notice, IDOK);
    EXPECT_EQ(0, program.ExitCode());

    testing_registry::Value value = testing_registry::readValue(layoutKey, "ScanCode Map");
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.type);
    EXPECT_EQ(words({0, 0, 2, 0x003A001D, 0}), value.data);
    EXPECT_EQ(20u, value.data.size());
}

TEST_F(ShippedPrograms, ASecondSwivelkinStartedWithAMapFileHandsItToTheFirst)
{
    // The file Save writes for Caps Lock mapped to Left Ctrl.
    std::string map = folder.File("caps to ctrl.swm");
    Bytes file = {0x0D, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0', 1, 0, 0, 0, 0x1D, 0, 0x3A, 0};
    WriteFileBytes(map, file.data(), file.size());
    ProgramCopy first("", swivelkin);
    HWND w = MainWindowOf(first);
    ASSERT_NE(nullptr, w) << "no visible window from " << swivelkin;
    RemoteList mapped(first.Process(), GetDlgItem(w, IDC_MAPPED_LIST));
    ASSERT_EQ(0, mapped.Count());

    ProgramCopy second("\"" + map + "\"", swivelkin);
    EXPECT_EQ(0, second.ExitCode());
    EXPECT_TRUE(WaitUntil([&] { return mapped.Count() == 1; }, false));
    EXPECT_EQ("Caps Lock", mapped.Text(0, 0));
    EXPECT_EQ("Left Ctrl", mapped.Text(0, 1));
    EXPECT_TRUE(first.Running());

    Press(w, IDCANCEL);
    EXPECT_EQ(0, first.ExitCode());
    EXPECT_FALSE(testing_registry::readValue(layoutKey, "ScanCode Map").exists);
}

TEST_F(ShippedPrograms, PostludeOnTheNTFamilyShowsItsNoteAndEnds)
{
    ProgramCopy program("", postlude);
    HWND box = program.WaitForDialog("Swivelkin Setup");
    ASSERT_NE(nullptr, box) << "no box from " << postlude;
    SeenBox seen = ReadBox(box);
    EXPECT_EQ("This setup utility is not required under Windows NT", seen.text);
    EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);
    EXPECT_TRUE(seen.hasIcon);
    PressOk(box);
    EXPECT_EQ(0, program.ExitCode());
}

}  // namespace
