// The Windows 95/98/ME store against the real registry of the test prefix, and the
// driver channel against a stand-in driver. Reading through ReadCurrentMap needs Wine to
// report Windows 98; writing and sending work alike on either family.
#include "KeyboardDriver.h"
#include "Platform.h"
#include "CurrentMap.h"
#include "TranslationTableStore.h"
#include "Bytes.h"
#include "FakeSystem.h"
#include "Registry.h"

#include "Pairs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

using namespace testing_registry;

namespace {

const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";
const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const char restartQuestion[] = "Keyboard driver is not yet loaded. Do you want to reboot your system to load it?";
Bytes identity()
{
    Bytes table(TranslationTable::size);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>(i);
    return table;
}

Bytes identityExcept(std::initializer_list<std::pair<int, int>> changes)
{
    Bytes table = identity();
    for (auto change : changes)
        table[change.first] = static_cast<unsigned char>(change.second);
    return table;
}

Bytes processTable() { return Bytes(translationTable, translationTable + TranslationTable::size); }

void removeKey(const char* keyPath)
{
    allowAllAccess(keyPath);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
}

struct TranslationTableStore : ::testing::Test {
    void SetUp() override
    {
        DetectPlatform();
        removeKey(quorvexKey);
        // Something other than the identity, to show what each operation leaves behind.
        std::memset(translationTable, 0x77, sizeof translationTable);
    }
    void TearDown() override { removeKey(quorvexKey); }
};

// Reading through ReadCurrentMap: the Windows 95/98/ME branch.
struct StoredTable : TranslationTableStore {
    void SetUp() override
    {
        TranslationTableStore::SetUp();
        if (IsNT)
            GTEST_SKIP() << "Windows 95/98/ME only";
    }
};

TEST_F(StoredTable, AnUnreadableTableMeansNoMappingsAndTheIdentity)
{
    struct Case {
        const char* title;
        bool key, value;
        DWORD type;
        Bytes data;
    };
    const Case cases[] = {
        {"no key", false, false, 0, {}},
        {"no value", true, false, 0, {}},
        {"REG_SZ of 256 bytes", true, true, REG_SZ, Bytes(256, 'a')},
        {"REG_DWORD", true, true, REG_DWORD, words({0x1D})},
        {"255 bytes", true, true, REG_BINARY, Bytes(255, 0)},
        {"257 bytes", true, true, REG_BINARY, Bytes(257, 0)},
        {"0 bytes", true, true, REG_BINARY, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        removeKey(quorvexKey);
        if (c.key)
            createKey(quorvexKey);
        if (c.value)
            setValue(quorvexKey, "KeyMappings", c.type, c.data);
        std::memset(translationTable, 0x77, sizeof translationTable);
        MappingList list;
        EXPECT_EQ(ReadOk, ReadCurrentMap(list));
        EXPECT_EQ(0, list.count());
        EXPECT_EQ(identity(), processTable());
    }
}

TEST_F(StoredTable, ReadsTheStoredTable)
{
    struct Case {
        const char* title;
        Bytes table;
        Pairs rows;  // after normalise
        std::vector<int> kinds;
    };
    const Case cases[] = {
        {"identity", identity(), {}, {}},
        {"Caps Lock to Left Ctrl", identityExcept({{0x3A, 0x1D}}), {{0x3A, 0x1D}}, {Plain}},
        {"exchanged pair", identityExcept({{0x3A, 0x1D}, {0x1D, 0x3A}}), {{0x3A, 0x1D}, {0x1D, 0x3A}},
         {SwapFirst, SwapSecond}},
        {"Caps Lock switched off", identityExcept({{0x3A, 0}}), {{0x3A, 0}}, {Disabled}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        setValue(quorvexKey, "KeyMappings", REG_BINARY, c.table);
        MappingList list;
        EXPECT_EQ(ReadOk, ReadCurrentMap(list));
        list.normalise();
        EXPECT_EQ(c.rows, pairsOf(list));
        std::vector<int> kinds;
        for (int i = 0; i < list.count(); ++i)
            kinds.push_back(list.at(i).kind);
        EXPECT_EQ(c.kinds, kinds);
        EXPECT_EQ(c.table, processTable());
    }
}

TEST_F(TranslationTableStore, TheNTFamilyDoesNotReadTheTable)
{
    if (!IsNT)
        GTEST_SKIP() << "NT family only";
    createKey(layoutKey);
    deleteValue(layoutKey, "ScanCode Map");
    setValue(quorvexKey, "KeyMappings", REG_BINARY, identityExcept({{0x3A, 0x1D}}));
    MappingList list;
    EXPECT_EQ(ReadOk, ReadCurrentMap(list));
    EXPECT_EQ(0, list.count());
}

TEST_F(TranslationTableStore, AnEmptyListIsWrittenAsTheIdentityWithTheStartupEntry)
{
    ASSERT_FALSE(keyExists(quorvexKey));
    MappingList list;
    BuildTranslationTable(list);
    EXPECT_EQ(Written, WriteTranslationTable());
    Value table = readValue(quorvexKey, "KeyMappings");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), table.type);
    EXPECT_EQ(identity(), table.data);
    Value startup = readValue(quorvexKey, "StaticVxD");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), startup.type);
    EXPECT_EQ((Bytes{'Q', 'u', 'o', 'r', 'v', 'e', 'x', '.', 'V', 'x', 'D', 0}), startup.data);
}

TEST_F(TranslationTableStore, WritesTheBuiltTableOverWhatWasStored)
{
    setValue(quorvexKey, "KeyMappings", REG_BINARY, Bytes(257, 0));
    setValue(quorvexKey, "StaticVxD", REG_SZ, Bytes{'x', 0});
    MappingList list;
    list.append(0x3A, 0x1D);
    list.append(0x1D, 0x3A);
    list.append(0x01, 0);
    BuildTranslationTable(list);
    EXPECT_EQ(Written, WriteTranslationTable());
    EXPECT_EQ(identityExcept({{0x3A, 0x1D}, {0x1D, 0x3A}, {0x01, 0}}), readValue(quorvexKey, "KeyMappings").data);
    EXPECT_EQ(12u, readValue(quorvexKey, "StaticVxD").data.size());
}

// A key that grants nobody anything: the NT family refuses to open it for writing. Wine
// reporting Windows 98 opens it, as Windows 95 ignores the access asked for, and then
// refuses the value instead.
TEST_F(TranslationTableStore, AKeyThatRefusesAccessGetsNothingWritten)
{
    ASSERT_TRUE(denyAllAccess(quorvexKey));
    BuildTranslationTable(MappingList());
    EXPECT_EQ(IsNT ? OpenFailed : WriteFailed, WriteTranslationTable());
    allowAllAccess(quorvexKey);
    EXPECT_FALSE(readValue(quorvexKey, "KeyMappings").exists);
    EXPECT_FALSE(readValue(quorvexKey, "StaticVxD").exists);
}

struct DriverChannel : TranslationTableStore {
    void SetUp() override
    {
        TranslationTableStore::SetUp();
        fake.install();
    }
    void TearDown() override
    {
        FakeSystem::restore();
        TranslationTableStore::TearDown();
    }

    void expectDeviceOpenedOnce() { ExpectDriverOpenedOnce(fake); }

    FakeSystem fake;
};

TEST_F(DriverChannel, WithoutTheDriverTheUserIsOfferedARestart)
{
    struct Case {
        const char* title;
        int answer;
        std::vector<UINT> restarts;
    };
    const Case cases[] = {
        {"Yes restarts", IDYES, {EWX_REBOOT}},
        {"No leaves Windows running", IDNO, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        fake = FakeSystem();
        fake.install();
        fake.answers = {c.answer};
        EXPECT_EQ(FALSE, SendTableToDriver());
        expectDeviceOpenedOnce();
        ASSERT_EQ(1u, fake.boxes.size());
        EXPECT_EQ(GetDesktopWindow(), fake.boxes[0].owner);
        EXPECT_EQ("Swivelkin", fake.boxes[0].caption);
        EXPECT_EQ(restartQuestion, fake.boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL | MB_YESNO), fake.boxes[0].type);
        EXPECT_EQ(c.restarts, fake.restarts);
        EXPECT_EQ(std::vector<DWORD>(c.restarts.size(), 0), fake.restartReasons);
        EXPECT_TRUE(fake.deviceCalls.empty());
        EXPECT_TRUE(fake.closed.empty());
    }
}

TEST_F(DriverChannel, TheRunningDriverGetsTheTableInOneCall)
{
    fake.driverLoaded = true;
    MappingList list;
    list.append(0x3A, 0x1D);
    list.append(0x1D, 0x3A);
    BuildTranslationTable(list);
    EXPECT_EQ(TRUE, SendTableToDriver());
    expectDeviceOpenedOnce();
    ASSERT_EQ(1u, fake.deviceCalls.size());
    const DeviceCall& call = fake.deviceCalls[0];
    EXPECT_EQ(FakeSystem::deviceHandle(), call.device);
    EXPECT_EQ(0x000B0400u, call.code);
    EXPECT_EQ(identityExcept({{0x3A, 0x1D}, {0x1D, 0x3A}}), call.input);
    EXPECT_EQ(nullptr, call.output);
    EXPECT_EQ(0u, call.outputSize);
    EXPECT_NE(nullptr, call.returned);
    EXPECT_EQ(nullptr, call.overlapped);
    EXPECT_EQ(std::vector<HANDLE>{FakeSystem::deviceHandle()}, fake.closed);
    EXPECT_EQ(0, fake.openHandles);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(INVALID_HANDLE_VALUE, driverHandle);
}

TEST_F(DriverChannel, AFailedDeviceCallIsReportedAndTheDeviceStillClosed)
{
    fake.driverLoaded = true;
    fake.deviceResult = FALSE;
    BuildTranslationTable(MappingList());
    EXPECT_EQ(FALSE, SendTableToDriver());
    EXPECT_EQ(1u, fake.deviceCalls.size());
    EXPECT_EQ(std::vector<HANDLE>{FakeSystem::deviceHandle()}, fake.closed);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(DriverChannel, HandingOverQuietlyAsksNothingAndSaysWhatHappened)
{
    BuildTranslationTable(MappingList());
    EXPECT_EQ(DriverNotLoaded, HandTableToDriver());
    EXPECT_TRUE(fake.deviceCalls.empty());

    fake.driverLoaded = true;
    EXPECT_EQ(DriverTookTable, HandTableToDriver());
    fake.deviceResult = FALSE;
    EXPECT_EQ(DriverRefusedTable, HandTableToDriver());
    EXPECT_EQ(2u, fake.deviceCalls.size());
    EXPECT_EQ(0, fake.openHandles);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.restarts.empty());
}

TEST_F(DriverChannel, EverySendOpensTheDeviceAfresh)
{
    fake.driverLoaded = true;
    BuildTranslationTable(MappingList());
    SendTableToDriver();
    SendTableToDriver();
    EXPECT_EQ(2u, fake.opens.size());
    EXPECT_EQ(2u, fake.closed.size());
    EXPECT_EQ(0, fake.openHandles);
}

TEST_F(DriverChannel, OpeningReportsTheErrorOfAFailedOpen)
{
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), OpenKeyboardDriver());
    fake.driverLoaded = true;
    EXPECT_EQ(0u, OpenKeyboardDriver());
    EXPECT_EQ(FakeSystem::deviceHandle(), driverHandle);
    EXPECT_EQ(0, CloseKeyboardDriver());
    EXPECT_EQ(std::vector<HANDLE>{FakeSystem::deviceHandle()}, fake.closed);
}

}  // namespace
