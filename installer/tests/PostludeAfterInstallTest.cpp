// Postlude at the end of an installation: started by the installer on Windows 95/98/ME
// only. Here Wine tells the installer and Postlude, by their file names, that they run on
// Windows 98; the keyboard driver is not there, so Postlude asks for the restart. It finds
// no wizard window of the kind it looks for (this installer has none), waits its second,
// and ends with the answer.
#include "Installation.h"

#include <gtest/gtest.h>

#include <string>

using namespace installation;

namespace {

const char appDefaults[] = "Software\\Wine\\AppDefaults\\";
const char restartQuestion[] = "You must restart your system to complete the installation\nDo you want to do this now?";

// Postlude's restart question, or its note on the NT family; null while neither is shown.
HWND PostludeBox(const char* caption) { return FindWindowA("#32770", caption); }

std::string BoxText(HWND box)
{
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

struct PostludeAfterInstall : ::testing::Test {
    void TearDown() override
    {
        for (const char* program : {"Swivelkin-2.0-setup.exe", "Postlude.exe"})
            DeleteRegistryKey(HKEY_CURRENT_USER, std::string(appDefaults) + program);
        for (const char* caption : {"Swivelkin", "Swivelkin Setup"})
            if (HWND box = PostludeBox(caption))
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        if (RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey))
            UninstallSilently();
    }
};

TEST_F(PostludeAfterInstall, OnWindows98PostludeAsksForTheRestartOnceTheInstallerHasEnded)
{
    for (const char* program : {"Swivelkin-2.0-setup.exe", "Postlude.exe"})
        SetRegistryValue(HKEY_CURRENT_USER, std::string(appDefaults) + program, "Version", REG_SZ, "win98");
    ASSERT_TRUE(InstallSilently());

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = PostludeBox("Swivelkin")) != nullptr; })) << "no question from Postlude";
    EXPECT_EQ(restartQuestion, BoxText(box));
    DWORD id = 0;
    GetWindowThreadProcessId(box, &id);
    HANDLE postlude = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
    ASSERT_NE(nullptr, postlude);

    const DWORD answered = GetTickCount();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(postlude, 10000));
    // Four looks for the wizard, a quarter of a second apart, before it ends.
    EXPECT_GE(GetTickCount() - answered, 900u);
    DWORD code = 1;
    GetExitCodeProcess(postlude, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(postlude);
}

TEST_F(PostludeAfterInstall, OnTheNTFamilyPostludeDoesNotRun)
{
    ASSERT_TRUE(InstallSilently());
    // Postlude, started, would show its note that the NT family needs no setup utility.
    EXPECT_FALSE(WaitFor([] { return PostludeBox("Swivelkin Setup") || PostludeBox("Swivelkin"); }, 2000));
}

}  // namespace
