// The switches for scripts, run by real copies of the program: Swivelkin.exe when this test
// runs as the NT family, Swivelkin_w98.exe (which Wine tells it is Windows 98) when it runs
// as Windows 98, Swivelkin_nt4.exe when it runs as Windows NT 4.0. Their standard output is a
// pipe, so the one line they write is read here. Windows 95/98/ME have no console to attach
// to, so there they write none (Wine offers the console calls whatever version it reports;
// the program does not ask for them there).
#include <windows.h>
#include <commctrl.h>

#include "FakeSystem.h"
#include "Platform.h"
#include "ProgramCopies.h"
#include "Registry.h"
#include "Switches.h"
#include "resource.h"
#include "MappingListHelpers.h"
#include "RegistryText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace program_copies;
using namespace testing_registry;
using testing_keys::code;

namespace {

const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";
const char usageLine[] =
    "Usage: Swivelkin.exe /apply [/force] FILE, Swivelkin.exe /save FILE or Swivelkin.exe /?";

// The line a switch writes on the NT family; nothing on Windows 95/98/ME.
std::string Line(const std::string& text) { return IsNT ? text + "\r\n" : ""; }

// What a finished copy left behind: its exit code and what it wrote to its output.
struct Outcome {
    long exitCode;
    std::string output;
};

struct Switches : ::testing::Test {
    void SetUp() override
    {
        DetectPlatform();
        settings.OpenSettings();
        DeleteFileA(settings.settingsPath.c_str());
        createKey(layoutKey);
        deleteValue(layoutKey, "ScanCode Map");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
    }
    void TearDown() override
    {
        allowAllAccess(layoutKey);
        allowAllAccess(quorvexKey);
        deleteValue(layoutKey, "ScanCode Map");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
        // No switch reads or writes the settings file.
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settings.settingsPath.c_str()));
    }

    // The program for the platform this test runs as.
    static std::string Program()
    {
        const std::string directory = ProgramDirectory().c_str();
        if (IsNT4)
            return directory + "\\Swivelkin_nt4.exe";
        return IsNT ? SwivelkinExe() : directory + "\\Swivelkin_w98.exe";
    }

    // Runs the program with `arguments` until it ends.
    static Outcome Run(const std::string& arguments)
    {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        HANDLE reader = nullptr, writer = nullptr;
        EXPECT_TRUE(CreatePipe(&reader, &writer, &inherited, 0));
        Outcome outcome;
        {
            ProgramCopy copy(arguments, Program(), writer);
            CloseHandle(writer);
            outcome.exitCode = copy.ExitCode();
        }
        char buffer[2048];
        DWORD got = 0;
        while (ReadFile(reader, buffer, sizeof buffer, &got, nullptr) && got > 0)
            outcome.output.append(buffer, got);
        CloseHandle(reader);
        return outcome;
    }

    // The store as the platform keeps it: the "ScanCode Map" value, or "KeyMappings" and
    // "StaticVxD" one after the other.
    static Bytes Store()
    {
        if (IsNT)
            return readValue(layoutKey, "ScanCode Map").data;
        Bytes table = readValue(quorvexKey, "KeyMappings").data;
        Bytes entry = readValue(quorvexKey, "StaticVxD").data;
        table.insert(table.end(), entry.begin(), entry.end());
        return table;
    }

    static Bytes TableExcept(std::initializer_list<std::pair<int, int>> changes)
    {
        Bytes table(256);
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<unsigned char>(i);
        for (auto change : changes)
            table[change.first] = static_cast<unsigned char>(change.second);
        const char entry[] = "Quorvex.VxD";
        table.insert(table.end(), entry, entry + sizeof entry);
        return table;
    }

    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

    SettingsFile settings;
    TempFolder folder;
    // In the order Save writes them: by source name, each swap pair together.
    const std::vector<std::pair<ScanCode, ScanCode>> saved = {{code("Caps Lock"), code("Left Ctrl")},
                                                              {code("Escape"), code("F1")},
                                                              {code("F1"), code("Escape")}};
    const std::pair<ScanCode, ScanCode> rightCtrlToLeftAlt = {code("Right Ctrl"), code("Left Alt")};
};

TEST_F(Switches, ApplyWritesTheStoreAsOKDoesAndSaveWritesItBackAsSaveDoes)
{
    // Given out of order and with an extended key, which Windows 95/98/ME cannot map.
    std::string layout = folder.File("caps ctrl.swm");
    WriteMapFile(layout, {saved[2], rightCtrlToLeftAlt, saved[0], saved[1]});

    Outcome applied = Run("/apply " + Quoted(layout));
    EXPECT_EQ(0, applied.exitCode);
    std::string backup = folder.File("backup.swm"), expected = folder.File("expected.swm");
    if (IsNT) {
        EXPECT_EQ(words({0, 0, 5, 0x003A001D, 0x0001003B, 0x003B0001, 0xE01D0038, 0}), Store());
        EXPECT_EQ(Line("Applied 4 mappings from " + layout +
                       (IsNT4 ? ". They are stored, but this version of Windows does not apply key mappings: they "
                                "take effect on Windows 2000 and later versions."
                              : "; they take effect after the next log-on or restart.")),
                  applied.output);
        std::vector<std::pair<ScanCode, ScanCode>> all = saved;
        all.push_back(rightCtrlToLeftAlt);
        WriteMapFile(expected, all);
    } else {
        EXPECT_EQ(TableExcept({{0x3A, 0x1D}, {0x01, 0x3B}, {0x3B, 0x01}}), Store());
        EXPECT_EQ(Line("Applied 3 mappings from " + layout +
                       ", leaving out 1 for extended keys, which this version of Windows cannot map; the keyboard "
                       "driver is not loaded yet, so they take effect when Windows next starts."),
                  applied.output);
        WriteMapFile(expected, saved);
    }

    Outcome savedBack = Run("-SAVE " + Quoted(backup));
    EXPECT_EQ(0, savedBack.exitCode);
    EXPECT_EQ(FileBytes(expected), FileBytes(backup));
    EXPECT_EQ(Line("Saved " + std::string(IsNT ? "4 mappings" : "3 mappings") + " to " + backup + "."),
              savedBack.output);

    // An empty map file removes every mapping; saving then writes an empty map over the old one.
    std::string empty = folder.File("empty.swm");
    WriteMapFile(empty, {});
    EXPECT_EQ(0, Run("/Apply " + Quoted(empty)).exitCode);
    EXPECT_EQ(IsNT ? words({0, 0, 1, 0}) : TableExcept({}), Store());
    EXPECT_EQ(0, Run("/save " + Quoted(backup)).exitCode);
    EXPECT_EQ(FileBytes(empty), FileBytes(backup));
}

// In this process, so that a stand-in driver can take the table; the copy's line goes to
// this test's output.
TEST_F(Switches, OnWindows98ApplyHandsTheTableToTheRunningDriverAndAsksNothing)
{
    if (IsNT)
        GTEST_SKIP() << "the driver is Windows 95/98/ME's";
    std::string layout = folder.File("layout.swm");
    WriteMapFile(layout, {saved[0]});
    const std::string commandLine = "Swivelkin.exe /apply " + Quoted(layout);
    FakeSystem fake;
    fake.install();
    for (bool loaded : {true, false}) {
        SCOPED_TRACE(loaded ? "driver loaded" : "driver not loaded");
        fake.driverLoaded = loaded;
        fake.deviceCalls.clear();
        int exitCode = -1;
        EXPECT_TRUE(RunSwitch(commandLine.c_str(), exitCode));
        EXPECT_EQ(0, exitCode);
        ASSERT_EQ(loaded ? 1u : 0u, fake.deviceCalls.size());
        if (loaded) {
            Bytes table = TableExcept({{0x3A, 0x1D}});
            table.resize(256);
            EXPECT_EQ(table, fake.deviceCalls[0].input);
        }
    }
    FakeSystem::restore();
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.restarts.empty());
    EXPECT_EQ(TableExcept({{0x3A, 0x1D}}), Store());
}

// The line says when the driver uses the table, and what was left out of the file.
TEST_F(Switches, OnWindows98ApplySaysWhenTheDriverUsesTheTableAndWhatWasLeftOut)
{
    if (IsNT)
        GTEST_SKIP() << "the driver is Windows 95/98/ME's";
    std::string one = folder.File("one.swm"), withExtended = folder.File("extended.swm");
    WriteMapFile(one, {saved[0]});
    WriteMapFile(withExtended, {saved[0], rightCtrlToLeftAlt, {code("Left Alt"), code("Right Alt")}});
    struct {
        bool loaded;
        BOOL taken;
        const std::string& path;
        std::string line;
    } cases[] = {
        {true, TRUE, one, "Applied 1 mapping from " + one + "; the keyboard driver uses them now."},
        {true, FALSE, one,
         "Applied 1 mapping from " + one +
             "; the keyboard driver refused them, so they take effect when Windows next starts."},
        {false, TRUE, one,
         "Applied 1 mapping from " + one +
             "; the keyboard driver is not loaded yet, so they take effect when Windows next starts."},
        {true, TRUE, withExtended,
         "Applied 1 mapping from " + withExtended +
             ", leaving out 2 for extended keys, which this version of Windows cannot map; the keyboard driver "
             "uses them now."},
    };
    FakeSystem fake;
    fake.install();
    for (auto& c : cases) {
        SCOPED_TRACE(c.line);
        fake.driverLoaded = c.loaded;
        fake.deviceResult = c.taken;
        char line[1100] = "";
        EXPECT_EQ(0, ApplyMapFileQuietly(c.path.c_str(), false, line));
        EXPECT_EQ(c.line, line);
    }
    FakeSystem::restore();
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Switches, ApplyWritesNothingFromAFileItCannotTrust)
{
    std::string good = folder.File("good.swm");
    WriteMapFile(good, {saved[0]});
    ASSERT_EQ(0, Run("/apply " + Quoted(good)).exitCode);
    const Bytes before = Store();

    std::string wrongHeader = folder.File("wrong header.swm");
    WriteMapFile(wrongHeader, {saved[0]});
    HANDLE file = CreateFileA(wrongHeader.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    SetFilePointer(file, 1, nullptr, FILE_BEGIN);
    WriteFile(file, "s", 1, &written, nullptr);  // "swivelkin 2.0"
    CloseHandle(file);
    std::string unknownCode = folder.File("unknown code.swm");
    WriteMapFile(unknownCode, {saved[1], {0x0056, code("Tab")}});
    std::string cutShort = folder.File("cut short.swm");
    WriteMapFile(cutShort, {saved[0], saved[1]});
    file = CreateFileA(cutShort.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(file, 22, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    const std::string missing = folder.path + "\\missing.swm";

    const std::pair<std::string, std::string> cases[] = {
        {wrongHeader, wrongHeader + ": File is not a valid Swivelkin map. Nothing was applied."},
        {unknownCode, unknownCode +
                          " is damaged: it holds key codes that Swivelkin does not know. Nothing was applied."},
        {cutShort, cutShort + ": File I/O error. Nothing was applied."},
        {missing, "Unable to access " + missing + ". Nothing was applied."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        Outcome outcome = Run("/apply " + Quoted(c.first));
        EXPECT_EQ(2, outcome.exitCode);
        EXPECT_EQ(before, Store());
        EXPECT_EQ(Line(c.second), outcome.output);
    }
}

TEST_F(Switches, AStoreThatCannotBeOpenedOrWrittenIsReportedByItsExitCode)
{
    std::string layout = folder.File("layout.swm");
    WriteMapFile(layout, {saved[0]});
    if (IsNT) {
        ASSERT_TRUE(denyAllAccess(layoutKey));
        Outcome outcome = Run("/apply " + Quoted(layout));
        allowAllAccess(layoutKey);
        EXPECT_EQ(3, outcome.exitCode);
        EXPECT_EQ("Unable to open the key mappings in the registry (administrator rights are needed). "
                  "Nothing was applied.\r\n",
                  outcome.output);
        EXPECT_FALSE(readValue(layoutKey, "ScanCode Map").exists);
    } else {
        // Wine reporting Windows 98 opens a key whatever its DACL, as Windows 95 does, and
        // then refuses to write into it.
        ASSERT_TRUE(denyAllAccess(quorvexKey));
        EXPECT_EQ(4, Run("/apply " + Quoted(layout)).exitCode);
        allowAllAccess(quorvexKey);
        EXPECT_FALSE(readValue(quorvexKey, "KeyMappings").exists);
        EXPECT_FALSE(readValue(quorvexKey, "StaticVxD").exists);
    }
}

// Where the log-on asks for Ctrl+Alt+Del (the NT family), a file that leaves no key for one
// of them is refused unless forced; Windows 95/98/ME ask for none of them.
TEST_F(Switches, ApplyRefusesAFileThatLeavesNoKeyForCtrlAltDelUnlessForced)
{
    std::string good = folder.File("good.swm");
    WriteMapFile(good, {saved[0]});
    ASSERT_EQ(0, Run("/apply " + Quoted(good)).exitCode);
    const Bytes before = Store();
    const ScanCode off = code("<Disabled>");
    const struct {
        const char* name;
        std::vector<std::pair<ScanCode, ScanCode>> mappings;
        const char* missing;
    } cases[] = {
        {"no ctrl.swm", {{code("Left Ctrl"), off}, {code("Right Ctrl"), off}}, "Ctrl"},
        {"no alt no delete.swm",
         {{code("Left Alt"), off}, {code("Right Alt"), off}, {code("Delete"), code("A")}, {code("Keypad ."), off}},
         "Alt or Delete"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = folder.File(c.name);
        WriteMapFile(file, c.mappings);
        Outcome refused = Run("/apply " + Quoted(file));
        if (IsNT) {
            EXPECT_EQ(5, refused.exitCode);
            EXPECT_EQ("With the mappings of " + file + " no key would produce " + c.missing +
                          ", so Ctrl+Alt+Del could not be pressed and Windows may not let you log on. Nothing was "
                          "applied. /apply /force applies it anyway.\r\n",
                      refused.output);
            EXPECT_EQ(before, Store());
        } else {
            EXPECT_EQ(0, refused.exitCode);
        }
        Outcome forced = Run("/apply /force " + Quoted(file));
        EXPECT_EQ(0, forced.exitCode);
        EXPECT_NE(before, Store());
        ASSERT_EQ(0, Run("/apply " + Quoted(good)).exitCode);
    }
    // Forcing changes nothing for a file that leaves the keys alone.
    EXPECT_EQ(0, Run("/apply /force " + Quoted(good)).exitCode);
    EXPECT_EQ(before, Store());
}

// OK writes back the codes it read from the registry, known or not; the window's elevated
// copy applies its list with /force, so forced, such codes are applied too.
TEST_F(Switches, ForcedApplyKeepsKeyCodesThatSwivelkinDoesNotKnow)
{
    std::string unknownCode = folder.File("unknown code.swm");
    WriteMapFile(unknownCode, {saved[1], {0x0056, code("Tab")}});
    EXPECT_EQ(2, Run("/apply " + Quoted(unknownCode)).exitCode);
    Outcome forced = Run("/apply /force " + Quoted(unknownCode));
    EXPECT_EQ(0, forced.exitCode);
    if (IsNT) {
        EXPECT_EQ(words({0, 0, 3, 0x0001003B, 0x0056000F, 0}), Store());
    } else {
        EXPECT_EQ(TableExcept({{0x01, 0x3B}, {0x56, 0x0F}}), Store());
    }
}

// A drive without a medium raises the system's "no disk" box unless the program turns such
// boxes off; nobody would be there to answer it.
TEST_F(Switches, NoSystemBoxCanStopASwitch)
{
    UINT kept = SetErrorMode(0);
    int exitCode = -1;
    EXPECT_TRUE(RunSwitch("Swivelkin.exe /frobnicate", exitCode));
    EXPECT_EQ(1, exitCode);
    EXPECT_EQ(static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), SetErrorMode(kept));

    Outcome applied = Run("/apply A:\\caps.swm");
    EXPECT_EQ(2, applied.exitCode);
    EXPECT_EQ(Line("Unable to access A:\\caps.swm. Nothing was applied."), applied.output);
    Outcome saved = Run("/save A:\\backup.swm");
    EXPECT_EQ(4, saved.exitCode);
    EXPECT_EQ(Line("Unable to access A:\\backup.swm. Nothing was saved."), saved.output);
}

TEST_F(Switches, SaveWritesNothingWhenTheMappingsOrTheFileCannotBeHad)
{
    std::string target = folder.File("target.swm");
    if (IsNT) {
        setValue(layoutKey, "ScanCode Map", REG_SZ, Bytes{'x', 0});
        Outcome outcome = Run("/save " + Quoted(target));
        EXPECT_EQ(3, outcome.exitCode);
        EXPECT_EQ(Line("Scan code map value is the wrong data type. Nothing was saved."), outcome.output);
        EXPECT_FALSE(Exists(target));
        deleteValue(layoutKey, "ScanCode Map");
    } else {
        // The window would open with an empty list on a table it cannot read; so does Save.
        setValue(quorvexKey, "KeyMappings", REG_BINARY, Bytes(255, 1));
        EXPECT_EQ(0, Run("/save " + Quoted(target)).exitCode);
        EXPECT_EQ(Bytes({13, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0', 0, 0, 0, 0}),
                  FileBytes(target));
    }
    std::string nowhere = folder.path + "\\no such folder\\a.swm";
    Outcome outcome = Run("/save " + Quoted(nowhere));
    EXPECT_EQ(4, outcome.exitCode);
    EXPECT_EQ(Line("Unable to access " + nowhere + ". Nothing was saved."), outcome.output);
    EXPECT_FALSE(Exists(nowhere));
}

TEST_F(Switches, AWrongCommandLineGivesOneAndTheUsageLine)
{
    for (const char* arguments : {"/frobnicate", "-apply", "/save a.swm b.swm", "/? now"}) {
        SCOPED_TRACE(arguments);
        Outcome outcome = Run(arguments);
        EXPECT_EQ(1, outcome.exitCode);
        EXPECT_EQ(Line(usageLine), outcome.output);
    }
}

TEST_F(Switches, QuestionMarkShowsTheUsageInABoxAndLeavesWhatRunningCopiesShareAlone)
{
    ProgramCopy copy("/?", Program());
    HWND box = copy.WaitForDialog("Swivelkin");
    ASSERT_NE(nullptr, box);
    SeenBox seen = ReadBox(box);
    EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(switchUsage, seen.text);
    EXPECT_NE(std::string::npos, seen.text.find("start /wait Swivelkin.exe /apply caps-ctrl.swm"));
    // While it runs: neither the running mark nor the shared block.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "SwivelkinIsRunning");
    EXPECT_EQ(nullptr, mutex);
    if (mutex)
        CloseHandle(mutex);
    EXPECT_FALSE(SharedBlockExists());
    PressOk(box);
    EXPECT_EQ(0, copy.ExitCode());
}

TEST_F(Switches, ARunningCopyIsLeftAloneAndKeepsItsList)
{
    ProgramCopy first("", Program());
    ASSERT_TRUE(WaitUntil([&] { return SharedWindowNow() != 0 || !first.Running(); }, false));
    SharedInstanceBlock block = {};
    block.hWndMain = SharedWindowNow();
    HWND window = MainWindowOf(block);
    ASSERT_NE(nullptr, window);
    HWND mappedList = GetDlgItem(window, IDC_MAPPED_LIST);
    ASSERT_EQ(0, SendMessageA(mappedList, LVM_GETITEMCOUNT, 0, 0));

    std::string layout = folder.File("layout.swm");
    WriteMapFile(layout, saved);
    EXPECT_EQ(0, Run("/apply " + Quoted(layout)).exitCode);
    EXPECT_EQ(IsNT ? words({0, 0, 4, 0x003A001D, 0x0001003B, 0x003B0001, 0})
                   : TableExcept({{0x3A, 0x1D}, {0x01, 0x3B}, {0x3B, 0x01}}),
              Store());
    EXPECT_EQ(0, Run("/save " + Quoted(folder.File("backup.swm"))).exitCode);

    // Give a hand-over, had there been one, time to arrive.
    WaitUntil([] { return false; }, false, 300);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(block.hWndMain, SharedWindowNow());
    EXPECT_EQ(0, SendMessageA(mappedList, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(nullptr, first.DialogOf("Ambertide"));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(0, first.ExitCode());
}

// Caps Lock to Left Ctrl, Escape and F1 swapped, as "/save" writes them to a registry file:
// the NT family's value, also on Windows 95/98/ME.
const std::string savedAsRegistryFile =
    "REGEDIT4\r\n\r\n" + std::string(layoutKeyLine) +
    "\r\n\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,04,00,00,00,1d,00,3a,00,3b,00,01,00,\\\r\n"
    "  01,00,3b,00,00,00,00,00\r\n\r\n";

TEST_F(Switches, SaveWritesARegistryFileAndApplyTakesItBack)
{
    std::string layout = folder.File("layout.swm"), empty = folder.File("empty.swm");
    WriteMapFile(layout, saved);
    WriteMapFile(empty, {});
    ASSERT_EQ(0, Run("/apply " + Quoted(layout)).exitCode);
    const Bytes before = Store();

    std::string exported = folder.File("caps ctrl.REG");
    Outcome savedOut = Run("/save " + Quoted(exported));
    EXPECT_EQ(0, savedOut.exitCode);
    EXPECT_EQ(Line("Saved 3 mappings to " + exported + "."), savedOut.output);
    EXPECT_EQ(narrow(savedAsRegistryFile), FileBytes(exported));

    ASSERT_EQ(0, Run("/apply " + Quoted(empty)).exitCode);
    Outcome applied = Run("/apply " + Quoted(exported));
    EXPECT_EQ(0, applied.exitCode);
    EXPECT_EQ(before, Store());
    EXPECT_EQ(Line("Applied 3 mappings from " + exported +
                   (IsNT4 ? ". They are stored, but this version of Windows does not apply key mappings: they take "
                            "effect on Windows 2000 and later versions."
                          : "; they take effect after the next log-on or restart.")),
              applied.output);
}

// Caps Lock to Left Ctrl, Left Windows off, Escape and F1 swapped, as Wine's regedit
// exported them: Windows 95/98/ME leaves out the extended key, as Load does.
TEST_F(Switches, ApplyTakesARegeditExport)
{
    std::string exported = folder.File("exported.reg");
    const Bytes file = fixture("regedit-keyboard-layout.reg");
    WriteFileBytes(exported, file.data(), file.size());
    Outcome applied = Run("/apply " + Quoted(exported));
    EXPECT_EQ(0, applied.exitCode);
    if (IsNT) {
        EXPECT_EQ(words({0, 0, 5, 0x003A001D, 0x0001003B, 0x003B0001, 0xE05B0000, 0}), Store());
        EXPECT_EQ(Line("Applied 4 mappings from " + exported +
                       (IsNT4 ? ". They are stored, but this version of Windows does not apply key mappings: they "
                                "take effect on Windows 2000 and later versions."
                              : "; they take effect after the next log-on or restart.")),
                  applied.output);
    } else {
        EXPECT_EQ(TableExcept({{0x3A, 0x1D}, {0x01, 0x3B}, {0x3B, 0x01}}), Store());
        EXPECT_EQ(Line("Applied 3 mappings from " + exported +
                       ", leaving out 1 for extended keys, which this version of Windows cannot map; the keyboard "
                       "driver is not loaded yet, so they take effect when Windows next starts."),
                  applied.output);
    }
}

TEST_F(Switches, ApplyWritesNothingFromARegistryFileWithoutAValidValue)
{
    std::string good = folder.File("good.swm");
    WriteMapFile(good, {saved[0]});
    ASSERT_EQ(0, Run("/apply " + Quoted(good)).exitCode);
    const Bytes before = Store();

    const std::string start = "REGEDIT4\r\n\r\n" + std::string(layoutKeyLine) + "\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"no value.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Keyboard Layout]\r\n\"ScanCode Map\"=-\r\n"},
        {"bad terminator.reg",
         start + "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,02,00,00,00,1d,00,3a,00,01,00,00,00\r\n"},
        {"broken hex.reg", start + "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,00,00,00,00,00,00,0x\r\n"},
    };
    const std::string lines[] = {
        " does not set the \"ScanCode Map\" value. Nothing was applied.",
        " holds a \"ScanCode Map\" value that is not valid. Nothing was applied.",
        " holds a \"ScanCode Map\" value that is not valid. Nothing was applied.",
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE(cases[i].first);
        std::string path = folder.File(cases[i].first);
        WriteFileBytes(path, cases[i].second.data(), cases[i].second.size());
        Outcome outcome = Run("/apply " + Quoted(path));
        EXPECT_EQ(2, outcome.exitCode);
        EXPECT_EQ(before, Store());
        EXPECT_EQ(Line(path + lines[i]), outcome.output);
    }
}

// The file is one that regedit imports (Wine's, as "regedit /S" runs in a logon script):
// it then holds the value OK would write on the NT family, whichever system saved it.
TEST_F(Switches, RegeditImportsTheRegistryFileSaveWrites)
{
    std::string layout = folder.File("layout.swm"), exported = folder.File("for regedit.reg");
    WriteMapFile(layout, saved);
    ASSERT_EQ(0, Run("/apply " + Quoted(layout)).exitCode);
    ASSERT_EQ(0, Run("/save " + Quoted(exported)).exitCode);
    deleteValue(layoutKey, "ScanCode Map");

    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    ProgramCopy regedit("/S " + Quoted(exported), std::string(windows) + "\\regedit.exe");
    EXPECT_EQ(0, regedit.ExitCode());
    EXPECT_EQ(words({0, 0, 4, 0x003A001D, 0x0001003B, 0x003B0001, 0}), readValue(layoutKey, "ScanCode Map").data);
}

}  // namespace
