// The installer under Wine: a silent install, a map file double-clicked while Swivelkin
// runs, and a silent uninstall that leaves the user's mappings and settings alone.
#include "Installation.h"

#include <shellapi.h>
#include <commctrl.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "MapFileOf.h"
#include "resource.h"

using namespace installation;

namespace {

std::string Installed(const char* name) { return InstallDirectory() + "\\" + name; }

// The programs the installer was made from, built beside this test program.
std::string Built(const char* relative) { return ProgramDirectory() + "\\..\\" + relative; }

const char fileTypeKey[] = "Swivelkin.MapFile";

// The first copy's main window, from the block that every copy shares; null until it is ready.
HWND RunningMainWindow()
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Swivelkin data");
    if (!mapping)
        return nullptr;
    std::int32_t window = 0;  // hWndMain, the block's first field
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof window)) {
        window = *static_cast<const std::int32_t*>(view);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    HWND handle = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
    return handle && IsWindow(handle) ? handle : nullptr;
}

// Closes a Swivelkin that a failed test left running, as Cancel does, so that it can be
// uninstalled.
void CloseRunningSwivelkin()
{
    HWND first = RunningMainWindow();
    if (!first)
        return;
    DWORD id = 0;
    GetWindowThreadProcessId(first, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageA(first, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

struct Installer : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(InstallSilently()); }
    void TearDown() override
    {
        CloseRunningSwivelkin();
        if (RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey))
            UninstallSilently();
    }
};

// Text of a list-view item in another process, read through memory lent in that process.
std::string RemoteItemText(HWND list, int row, int column)
{
    DWORD id = 0;
    GetWindowThreadProcessId(list, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (!process)
        return "<no access>";
    char text[256] = "";
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + sizeof text, MEM_COMMIT, PAGE_READWRITE));
    if (remote) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = remote + sizeof item;
        item.cchTextMax = sizeof text;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof item, text, sizeof text - 1, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// Opens a file as Explorer does on a double-click or on a Start-menu click; the process
// started, or null.
HANDLE Open(const std::string& file)
{
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    open.lpVerb = "open";
    open.lpFile = file.c_str();
    open.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&open))
        return nullptr;
    return open.hProcess;
}

TEST_F(Installer, PutsBothProgramsTheShortcutTheFileTypeAndTheUninstallEntryInPlace)
{
    EXPECT_EQ(FileBytes(Built("app\\Swivelkin.exe")), FileBytes(Installed("Swivelkin.exe")));
    EXPECT_EQ(FileBytes(Built("postlude\\Postlude.exe")), FileBytes(Installed("Postlude.exe")));
    EXPECT_NE("", FileBytes(Installed("Swivelkin.exe")));
    // Beside the program, where Help looks for it; with CR LF line ends, for Notepad.
    std::string guide = FileBytes(Installed("USER-GUIDE.txt"));
    EXPECT_EQ(FileBytes(Built("installer\\USER-GUIDE.txt")), guide);
    EXPECT_EQ(0u, guide.find("Swivelkin 2.0 - user guide\r\n"));
    EXPECT_TRUE(FileExists(Installed("Uninstall.exe")));
    EXPECT_EQ(Installed("Swivelkin.exe"), ShortcutTarget(StartMenuShortcut()));

    std::string program = Installed("Swivelkin.exe");
    const struct {
        HKEY root;
        std::string key;
        const char* name;
        std::string value;
    } values[] = {
        {HKEY_CLASSES_ROOT, ".swm", nullptr, fileTypeKey},
        {HKEY_CLASSES_ROOT, fileTypeKey, nullptr, "Swivelkin map file"},
        {HKEY_CLASSES_ROOT, std::string(fileTypeKey) + "\\DefaultIcon", nullptr, program + ",0"},
        {HKEY_CLASSES_ROOT, std::string(fileTypeKey) + "\\shell\\open\\command", nullptr, "\"" + program + "\" \"%1\""},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName", "Swivelkin 2.0"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayVersion", "2.0"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "Publisher", "The Swivelkin authors"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayIcon", program + ",0"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation", InstallDirectory()},
        {HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString", "\"" + Installed("Uninstall.exe") + "\""},
        {HKEY_LOCAL_MACHINE, uninstallKey, "QuietUninstallString", "\"" + Installed("Uninstall.exe") + "\" /S"},
    };
    for (const auto& v : values)
        EXPECT_EQ(v.value, RegistryValue(v.root, v.key, v.name)) << v.key << " " << (v.name ? v.name : "(default)");
}

// Swivelkin runs with the user's own rights, which do not reach a new file under Program
// Files: the installer makes the settings file, and an installation over an older one keeps
// what it holds.
TEST_F(Installer, MakesAnEmptySettingsFileAndKeepsOneThatHoldsSettings)
{
    ASSERT_TRUE(FileExists(Installed("SWIVELKIN.INI")));
    EXPECT_EQ("", FileBytes(Installed("SWIVELKIN.INI")));

    const std::string settings = "[alice.Settings]\r\nWarnRestart=0\r\n";
    WriteFileBytes(Installed("SWIVELKIN.INI"), settings);
    ASSERT_TRUE(InstallSilently());
    EXPECT_EQ(settings, FileBytes(Installed("SWIVELKIN.INI")));
    DeleteFileA(Installed("SWIVELKIN.INI").c_str());
}

// On Vista and later (Wine reports Windows 7) every user may change it: read, write and
// delete (0x1301BF) for BUILTIN\Users.
TEST_F(Installer, LetsEveryUserChangeTheSettingsFile)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              GetNamedSecurityInfoA(Installed("SWIVELKIN.INI").c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &dacl, nullptr, &descriptor));
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID users = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0,
                                         &users));
    DWORD usersMask = 0;
    for (WORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(users, &ace->SidStart))
            usersMask |= ace->Mask;
    }
    FreeSid(users);
    LocalFree(descriptor);
    if (usersMask == 0)
        GTEST_SKIP() << "Wine keeps no DACL of a file (it reports one made from the file's mode)";
    EXPECT_EQ(0x1301BFu, usersMask);
}

TEST_F(Installer, UninstallLeavesNothingBehindWhenTheUserHasNoSettings)
{
    ASSERT_TRUE(UninstallSilently());
    EXPECT_TRUE(WaitFor([] { return !FolderExists(InstallDirectory()); }));
    EXPECT_FALSE(FileExists(StartMenuShortcut()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".swm"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, fileTypeKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
}

TEST_F(Installer, UninstallLeavesTheUsersMappingsSettingsAndMapFiles)
{
    std::string scancodeMap("\0\0\0\0\0\0\0\0\2\0\0\0\x1d\0\x3a\0\0\0\0\0", 20);
    std::string table(256, '\0');
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<char>(i == 0x3A ? 0x1D : i);
    SetRegistryValue(HKEY_LOCAL_MACHINE, layoutKey, "ScanCode Map", REG_BINARY, scancodeMap);
    SetRegistryValue(HKEY_LOCAL_MACHINE, quorvexKey, "KeyMappings", REG_BINARY, table);
    SetRegistryValue(HKEY_LOCAL_MACHINE, quorvexKey, "StaticVxD", REG_SZ, std::string("Quorvex.VxD", 12));
    const std::string settings = "[alice.Settings]\r\nWarnRestart=0\r\n";
    const std::string mapFile("\x0DSwivelkin 2.0\0\0\0\0", 18);
    WriteFileBytes(Installed("SWIVELKIN.INI"), settings);
    WriteFileBytes(Installed("my keys.swm"), mapFile);

    ASSERT_TRUE(UninstallSilently());
    EXPECT_TRUE(WaitFor([] { return !FileExists(Installed("Uninstall.exe")); }));
    EXPECT_FALSE(FileExists(Installed("Swivelkin.exe")));
    EXPECT_FALSE(FileExists(Installed("Postlude.exe")));
    EXPECT_FALSE(FileExists(Installed("USER-GUIDE.txt")));
    EXPECT_FALSE(FileExists(StartMenuShortcut()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".swm"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, fileTypeKey));

    EXPECT_EQ(settings, FileBytes(Installed("SWIVELKIN.INI")));
    EXPECT_EQ(mapFile, FileBytes(Installed("my keys.swm")));
    EXPECT_EQ(scancodeMap, RegistryValue(HKEY_LOCAL_MACHINE, layoutKey, "ScanCode Map"));
    EXPECT_EQ(table, RegistryValue(HKEY_LOCAL_MACHINE, quorvexKey, "KeyMappings"));
    EXPECT_EQ(std::string("Quorvex.VxD", 11), RegistryValue(HKEY_LOCAL_MACHINE, quorvexKey, "StaticVxD"));

    DeleteFileA(Installed("SWIVELKIN.INI").c_str());
    DeleteFileA(Installed("my keys.swm").c_str());
    RemoveDirectoryA(InstallDirectory().c_str());
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, layoutKey, "ScanCode Map");
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, quorvexKey);
}

TEST_F(Installer, ADoubleClickedMapFileOpensInTheSwivelkinStartedFromTheStartMenu)
{
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, layoutKey, "ScanCode Map");
    std::string folder = TempFolder();
    std::string mapFile = folder + "\\caps to ctrl.swm";
    Bytes capsToCtrl = MapFileOf({{0x3A, 0x1D}});  // Caps Lock produces Left Ctrl
    WriteFileBytes(mapFile, std::string(capsToCtrl.begin(), capsToCtrl.end()));

    HANDLE started = Open(StartMenuShortcut());
    if (started)
        CloseHandle(started);
    HWND first = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (first = RunningMainWindow()) != nullptr; })) << "Swivelkin did not start";
    HWND list = GetDlgItem(first, IDC_MAPPED_LIST);
    EXPECT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    DWORD firstId = 0;
    GetWindowThreadProcessId(first, &firstId);
    HANDLE firstProcess = OpenProcess(SYNCHRONIZE, FALSE, firstId);

    HANDLE second = Open(mapFile);
    ASSERT_NE(nullptr, second) << "error " << GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second, 10000));
    CloseHandle(second);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_EQ("Caps Lock", RemoteItemText(list, 0, 0));
    EXPECT_EQ("Left Ctrl", RemoteItemText(list, 0, 1));

    // Cancel: the first copy ends without writing anything.
    PostMessageA(first, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(firstProcess, 10000));
    CloseHandle(firstProcess);
    EXPECT_EQ("<missing>", RegistryValue(HKEY_LOCAL_MACHINE, layoutKey, "ScanCode Map"));
    DeleteFileA(mapFile.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
