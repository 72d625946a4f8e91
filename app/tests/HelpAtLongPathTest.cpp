// Help from a Swivelkin whose path is 259 characters long, the longest Windows starts: the
// user guide's name beside it would be longer, so Help says it failed instead of handing
// the program's own path to the system's viewer, which would start another Swivelkin.
#include "ProgramCopies.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace program_copies;

namespace {

// Folders under the temporary folder, so that a Swivelkin.exe in the last is `length` long.
std::vector<std::string> FoldersForProgramPath(std::size_t length)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::vector<std::string> folders = {std::string(temp) + "Swivelkin help " + std::to_string(GetCurrentProcessId())};
    const std::size_t name = sizeof "\\Swivelkin.exe" - 1;
    auto left = [&] { return length - name - folders.back().size(); };  // for "\" and a folder name
    while (left() > 102)
        folders.push_back(folders.back() + "\\" + std::string(100, 'd'));
    folders.push_back(folders.back() + "\\" + std::string(left() - 1, 'd'));
    return folders;
}

// A top-level dialog of the copy with the caption, other than `other`.
HWND OtherDialogOf(const ProgramCopy& copy, const char* caption, HWND other)
{
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == copy.Id() && w != other)
            return w;
    }
    return nullptr;
}

TEST(HelpAtTheLongestPath, SaysItFailedInsteadOfStartingTheProgramAgain)
{
    const std::vector<std::string> folders = FoldersForProgramPath(259);
    for (const std::string& folder : folders)
        CreateDirectoryA(folder.c_str(), nullptr);
    const std::string program = folders.back() + "\\Swivelkin.exe";
    ASSERT_EQ(259u, program.size());
    ASSERT_TRUE(CopyFileA(SwivelkinExe().c_str(), program.c_str(), FALSE)) << GetLastError();
    {
        ProgramCopy copy("", program);
        HWND window = copy.WaitForDialog("Swivelkin");
        ASSERT_NE(nullptr, window) << "no window from " << program;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_HELP, BN_CLICKED), 0);
        HWND box = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (box = OtherDialogOf(copy, "Swivelkin", window)) != nullptr; }, false));
        if (box) {
            SeenBox seen = ReadBox(box);
            EXPECT_EQ("Failed to launch help.", seen.text);
            EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);
            PressOk(box);
        }
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, false));
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_NE(-1, copy.ExitCode());
    }
    DeleteFileA(program.c_str());
    DeleteFileA((folders.back() + "\\SWIVELKIN.INI").c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        RemoveDirectoryA(folder->c_str());
}

}  // namespace
