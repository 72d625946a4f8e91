// OK and Cancel: what reaches the registry and the driver, and what the user is told.
#include "WindowDriver.h"
#include "MappingListHelpers.h"
#include "ApplyDriver.h"

#include <gtest/gtest.h>

using namespace window_driver;
using namespace restart_notice;
using namespace testing_registry;
using testing_keys::code;

namespace {

const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";

// Each run of this program gets the system its file name asks Wine for, so that each
// group of tests below really runs somewhere.
TEST(Platform, IsTheOneWineReportsForThisRun)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string name = path;
    auto endsWith = [&name](const std::string& end) {
        return name.size() > end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    DetectPlatform();
    EXPECT_EQ(!endsWith("_w98.exe"), IsNT) << name;
    EXPECT_EQ(endsWith("_nt4.exe"), IsNT4) << name;
}

TEST_F(ApplyOnNT, TheTypicalChangeEndToEnd)
{
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    INT_PTR end = RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        PickKey(w, IDC_TO_LIST, "Left Ctrl");
        Click(w, IDC_MAP);
        AnswerRestartNotice(notice, false, true);
        Click(w, IDOK);
        EXPECT_EQ(0, window.dirty);
    });
    EXPECT_EQ(IDOK, end);
    EXPECT_EQ(words({0, 0, 2, 0x003A001D, 0}), StoredMap().data);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), StoredMap().type);
    EXPECT_TRUE(notice.shown);
    EXPECT_EQ("Swivelkin", notice.caption);
    EXPECT_EQ("New key mappings will not take effect until you either log off and back on or (on some "
              "systems) restart Windows.",
              notice.text);
    EXPECT_EQ("&Don't show me this again.", notice.box);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(1, application.settings.ReadSettingInt("WarnRestart", 1));
}

TEST_F(ApplyOnNT, NoChangeWritesNothingAndShowsNoNotice)
{
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) {
        AnswerRestartNotice(notice, false, true);
        Click(w, IDOK);
    }));
    EXPECT_FALSE(StoredMap().exists);
    EXPECT_FALSE(notice.shown);
}

TEST_F(ApplyOnNT, AChangeUndoneIsStillWrittenAndNoticed)
{
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        PickRows(w, {0});
        Click(w, IDC_UNMAP);
        AnswerRestartNotice(notice, false, true);
        Click(w, IDOK);
    });
    EXPECT_EQ(words({0, 0, 1, 0}), StoredMap().data);
    EXPECT_TRUE(notice.shown);
}

TEST_F(ApplyOnNT, AKeyThatCannotBeOpenedKeepsTheWindowOpenForAnotherTry)
{
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    INT_PTR end = RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        ASSERT_TRUE(denyAllAccess(layoutKey));
        Click(w, IDOK);
        allowAllAccess(layoutKey);
        EXPECT_FALSE(window.Ended());
        EXPECT_EQ(1, window.dirty);
        ExpectOneApplicationBox(fake, "Error opening mapping key.", w);
        AnswerRestartNotice(notice, false, true);
        Click(w, IDOK);
    });
    EXPECT_EQ(IDOK, end);
    EXPECT_EQ(words({0, 0, 2, 0x000F0000, 0}), StoredMap().data);
}

TEST_F(ApplyOnNT, WarnRestartZeroMeansNoNotice)
{
    application.settings.WriteSettingInt("WarnRestart", 0);
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        AnswerRestartNotice(notice, false, true);
        Click(w, IDOK);
    });
    EXPECT_TRUE(StoredMap().exists);
    EXPECT_FALSE(notice.shown);
}

TEST_F(ApplyOnNT, TheBoxTickedAndOKStopsTheNoticeForGood)
{
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        AnswerRestartNotice(notice, true, true);
        Click(w, IDOK);
    });
    EXPECT_TRUE(notice.shown);
    EXPECT_EQ(0, window.warnRestart);
    EXPECT_EQ("0", application.settings.ReadSettingString("WarnRestart", ""));
}

TEST_F(ApplyOnNT, TheBoxTickedButEscapeChangesNothing)
{
    NoticeSeen notice;
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        AnswerRestartNotice(notice, true, false);
        Click(w, IDOK);
    });
    EXPECT_TRUE(notice.shown);
    EXPECT_EQ(1, window.warnRestart);
    EXPECT_EQ("(none)", application.settings.ReadSettingString("WarnRestart", "(none)"));
}

TEST_F(ApplyOnNT, CancelAfterEditsWritesNothingAndAsksNothing)
{
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDCANCEL, RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        Click(w, IDCANCEL);
    }));
    EXPECT_FALSE(StoredMap().exists);
    EXPECT_TRUE(fake.boxes.empty());
}

// Windows NT 4.0, with Wine reporting it to this program: it keeps "ScanCode Map" but
// does not apply it, so the user hears that instead of the restart notice.
struct ApplyOnNT4 : ApplyOnNT {
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!IsNT4)
            GTEST_SKIP() << "Windows NT 4.0";
    }
};

const char notAppliedOnNT4[] =
    "The key mappings have been saved, but this version of Windows does not apply key mappings.\n\n"
    "Key mappings take effect on Windows 2000 and later versions.";

TEST_F(ApplyOnNT4, OKWritesTheMapAndSaysThatThisWindowsDoesNotApplyIt)
{
    for (int warnRestart : {1, 0}) {
        SCOPED_TRACE(warnRestart);
        StoreScancodeMap({});
        fake.boxes.clear();
        application.settings.WriteSettingInt("WarnRestart", warnRestart);
        NoticeSeen notice;
        MainWindow window(application.settings, application.sharedBlock);
        HWND main = nullptr;
        INT_PTR end = RunWindow(window, [&](HWND w) {
            main = w;
            PickKey(w, IDC_FROM_LIST, "Caps Lock");
            PickKey(w, IDC_TO_LIST, "Left Ctrl");
            Click(w, IDC_MAP);
            AnswerRestartNotice(notice, false, true);
            Click(w, IDOK);
            StopAnsweringRestartNotice();
        });
        EXPECT_EQ(IDOK, end);
        EXPECT_EQ(words({0, 0, 2, 0x003A001D, 0}), StoredMap().data);
        EXPECT_EQ(0, window.dirty);
        EXPECT_FALSE(notice.shown);
        ExpectOneApplicationBox(fake, notAppliedOnNT4, main);
        EXPECT_EQ(warnRestart, application.settings.ReadSettingInt("WarnRestart", -1));
    }
}

TEST_F(ApplyOnNT4, NoChangeWritesNothingAndSaysNothing)
{
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) { Click(w, IDOK); }));
    EXPECT_FALSE(StoredMap().exists);
    EXPECT_TRUE(fake.boxes.empty());
}

// Windows 95/98/ME, with Wine reporting Windows 98 to this program.
struct ApplyOn98 : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        if (IsNT)
            GTEST_SKIP() << "Windows 95/98/ME";
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
    }
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
        WindowTest::TearDown();
    }
};

Bytes IdentityExcept(std::vector<std::pair<int, int>> changes)
{
    Bytes table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (auto& c : changes)
        table[c.first] = static_cast<unsigned char>(c.second);
    return table;
}

TEST_F(ApplyOn98, OKWritesEvenWithoutAChangeAndHandsTheTableToTheDriver)
{
    fake.driverLoaded = true;
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) { Click(w, IDOK); }));
    EXPECT_EQ(IdentityExcept({}), readValue(quorvexKey, "KeyMappings").data);
    EXPECT_EQ((Bytes{'Q', 'u', 'o', 'r', 'v', 'e', 'x', '.', 'V', 'x', 'D', 0}), readValue(quorvexKey, "StaticVxD").data);
    ASSERT_EQ(1u, fake.deviceCalls.size());
    EXPECT_EQ(0x000B0400u, fake.deviceCalls[0].code);
    EXPECT_EQ(IdentityExcept({}), fake.deviceCalls[0].input);
    EXPECT_EQ(0, fake.openHandles);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ApplyOn98, WithoutTheDriverTheRestartIsOfferedAndTheWindowClosesEitherWay)
{
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        fake.boxes.clear();
        fake.restarts.clear();
        fake.answers = {answer};
        MainWindow window(application.settings, application.sharedBlock);
        EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) {
            PickKey(w, IDC_FROM_LIST, "Caps Lock");
            PickKey(w, IDC_TO_LIST, "Left Ctrl");
            Click(w, IDC_MAP);
            Click(w, IDOK);
            EXPECT_EQ(0, window.dirty);
        }));
        EXPECT_EQ(IdentityExcept({{0x3A, 0x1D}}), readValue(quorvexKey, "KeyMappings").data);
        ASSERT_EQ(1u, fake.boxes.size());
        EXPECT_EQ("Keyboard driver is not yet loaded. Do you want to reboot your system to load it?", fake.boxes[0].text);
        EXPECT_EQ("Swivelkin", fake.boxes[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL | MB_YESNO), fake.boxes[0].type);
        EXPECT_EQ(GetDesktopWindow(), fake.boxes[0].owner);
        EXPECT_EQ(answer == IDYES ? 1u : 0u, fake.restarts.size());
        EXPECT_TRUE(fake.deviceCalls.empty());
    }
}

// Wine reporting Windows 98 opens a key whatever its DACL, as Windows 95 does, and then
// refuses to write into it: the values cannot be written.
TEST_F(ApplyOn98, AValueThatCannotBeWrittenIsReportedAndTheDriverLeftAlone)
{
    fake.driverLoaded = true;
    ASSERT_TRUE(denyAllAccess(quorvexKey));
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) { Click(w, IDOK); }));
    allowAllAccess(quorvexKey);
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Error writing to the registry.", fake.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), fake.boxes[0].type);
    EXPECT_TRUE(fake.deviceCalls.empty());
}

// The same refusal met by the NT family's write: the map could not be written, and the
// window closes all the same.
TEST_F(ApplyOn98, AScancodeMapThatCannotBeWrittenIsReportedAndTheWindowCloses)
{
    ASSERT_TRUE(denyAllAccess(layoutKey));
    MainWindow window(application.settings, application.sharedBlock);
    INT_PTR end = RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        IsNT = true;  // take the NT family's branch of OK
        Click(w, IDOK);
        IsNT = false;
    });
    allowAllAccess(layoutKey);
    EXPECT_EQ(IDOK, end);
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Error writing map data to the registry.", fake.boxes[0].text);
    EXPECT_EQ(1, window.dirty);
}

// While it lives, the driver's parent key is volatile, and a volatile key takes no lasting
// key below it: the driver's key cannot be created. The parent's subkeys (empty ones in the
// test prefix) come back with it afterwards.
class VolatileVxdKey {
public:
    VolatileVxdKey()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, vxdKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            char name[256];
            for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
                subkeys_.push_back(name);
            RegCloseKey(key);
        }
        for (const std::string& name : subkeys_)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(vxdKey) + "\\" + name).c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, vxdKey);
        made = RegCreateKeyExA(HKEY_LOCAL_MACHINE, vxdKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                               &key, nullptr) == ERROR_SUCCESS;
        if (made)
            RegCloseKey(key);
    }
    ~VolatileVxdKey()
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, vxdKey);
        createKey(vxdKey);
        for (const std::string& name : subkeys_)
            createKey((std::string(vxdKey) + "\\" + name).c_str());
    }
    bool made = false;

private:
    static constexpr const char* vxdKey = "System\\CurrentControlSet\\Services\\VxD";
    std::vector<std::string> subkeys_;
};

TEST_F(ApplyOn98, AKeyThatCannotBeCreatedKeepsTheWindowOpenForAnotherTry)
{
    fake.driverLoaded = true;
    MainWindow window(application.settings, application.sharedBlock);
    INT_PTR end = RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        {
            VolatileVxdKey vxd;
            ASSERT_TRUE(vxd.made);
            Click(w, IDOK);
            EXPECT_FALSE(keyExists(quorvexKey));
        }
        EXPECT_FALSE(window.Ended());
        EXPECT_EQ(1, window.dirty);
        ExpectOneApplicationBox(fake, "Unable to access the registry", w);
        EXPECT_TRUE(fake.opens.empty());

        Click(w, IDOK);
        EXPECT_TRUE(window.Ended());
    });
    EXPECT_EQ(IDOK, end);
    EXPECT_EQ(IdentityExcept({{0x0F, 0}}), readValue(quorvexKey, "KeyMappings").data);
    ExpectDriverOpenedOnce(fake);
    ASSERT_EQ(1u, fake.deviceCalls.size());
    EXPECT_EQ(IdentityExcept({{0x0F, 0}}), fake.deviceCalls[0].input);
    EXPECT_EQ(1u, fake.boxes.size());
}

TEST_F(ApplyOn98, CancelAfterEditsWritesNothing)
{
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDCANCEL, RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        Click(w, IDCANCEL);
    }));
    EXPECT_FALSE(keyExists(quorvexKey));
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.opened.empty());
}

}  // namespace
