// The NT store against the real registry of the test prefix.
#include "Platform.h"
#include "CurrentMap.h"
#include "ScancodeMapStore.h"
#include "Bytes.h"
#include "Registry.h"

#include "Pairs.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace testing_registry;

namespace {

const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const char mapValue[] = "ScanCode Map";
struct ScancodeMapStore : ::testing::Test {
    void SetUp() override
    {
        DetectPlatform();
        ASSERT_TRUE(IsNT);
        createKey(layoutKey);
        deleteValue(layoutKey, mapValue);
    }
    void TearDown() override
    {
        createKey(layoutKey);
        deleteValue(layoutKey, mapValue);
    }
};

// What the registry holds reaches the codec, and its verdict the caller; the codec's own
// cases are in its test.
TEST_F(ScancodeMapStore, ReadsWhatIsStored)
{
    struct Case {
        const char* title;
        DWORD type;
        Bytes data;
        int result;
        Pairs rows;
    };
    const Case cases[] = {
        {"worked example", REG_BINARY, words({0, 0, 2, 0x003A001D, 0}), ReadOk, {{0x003A, 0x001D}}},
        {"REG_DWORD, though short", REG_DWORD, words({7}), ReadWrongType, {}},
        {"REG_SZ, though short", REG_SZ, Bytes{'x', 0}, ReadWrongType, {}},
        {"12 bytes", REG_BINARY, words({0, 0, 1}), ReadBadFormat, {}},
        {"last word 1", REG_BINARY, words({0, 0, 2, 0x003A001D, 1}), ReadBadFormat, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        setValue(layoutKey, mapValue, c.type, c.data);
        MappingList list;
        EXPECT_EQ(c.result, ReadCurrentMap(list));
        EXPECT_EQ(c.rows, pairsOf(list));
    }
}

TEST_F(ScancodeMapStore, NoValueMeansNoMappings)
{
    MappingList list;
    EXPECT_EQ(ReadOk, ReadCurrentMap(list));
    EXPECT_EQ(0, list.count());
}

TEST_F(ScancodeMapStore, WritesTheWholeValue)
{
    MappingList list;
    ASSERT_EQ(Written, WriteScancodeMap(list));
    Value value = readValue(layoutKey, mapValue);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.type);
    EXPECT_EQ(words({0, 0, 1, 0}), value.data);

    list.append(0x003A, 0x001D);
    list.append(0xE05B, 0);
    list.append(0x0056, 0x001E);
    ASSERT_EQ(Written, WriteScancodeMap(list));
    EXPECT_EQ(words({0, 0, 4, 0x003A001D, 0xE05B0000, 0x0056001E, 0}), readValue(layoutKey, mapValue).data);

    MappingList back;
    EXPECT_EQ(ReadOk, ReadCurrentMap(back));
    EXPECT_EQ(pairsOf(list), pairsOf(back));
}

TEST_F(ScancodeMapStore, OpensTheKeyButNeverCreatesIt)
{
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, layoutKey));
    MappingList list;
    EXPECT_EQ(ReadKeyNotOpened, ReadCurrentMap(list));
    list.append(0x003A, 0x001D);
    EXPECT_EQ(OpenFailed, WriteScancodeMap(list));
    EXPECT_FALSE(keyExists(layoutKey));
}

}  // namespace
