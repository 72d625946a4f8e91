// The shared block in one process: created, opened, refused; and the settings start-up reads.
#include "ProgramCopies.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace window_driver;
using namespace program_copies;

namespace {

struct SharedBlock : ::testing::Test {
    void SetUp() override { fake.install(); }
    void TearDown() override
    {
        FakeSystem::restore();
        for (Application* a : {&first, &second}) {
            if (a->sharedBlock)
                UnmapViewOfFile(a->sharedBlock);
            if (a->sharedMapping)
                CloseHandle(a->sharedMapping);
        }
    }
    FakeSystem fake;
    Application first, second;
};

TEST_F(SharedBlock, TheFirstCopyCreatesItZeroedAndALaterOneSharesItUnchanged)
{
    ASSERT_EQ(1, first.CreateOrOpenSharedBlock());
    ASSERT_NE(nullptr, first.sharedBlock);
    ASSERT_NE(nullptr, first.sharedMapping);
    const SharedInstanceBlock zero = {};
    EXPECT_EQ(0, std::memcmp(&zero, first.sharedBlock, sizeof zero));
    first.sharedBlock->hWndMain = 0x12345678;
    std::strcpy(first.sharedBlock->filePath, "C:\\maps\\a.swm");

    ASSERT_EQ(2, second.CreateOrOpenSharedBlock());
    EXPECT_EQ(0x12345678u, second.sharedBlock->hWndMain);
    EXPECT_STREQ("C:\\maps\\a.swm", second.sharedBlock->filePath);
    second.sharedBlock->filePath[0] = 'D';
    EXPECT_STREQ("D:\\maps\\a.swm", first.sharedBlock->filePath);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(SharedBlock, ANameHeldByAnotherKindOfObjectIsReportedAndNothingIsMapped)
{
    HANDLE squatter = CreateMutexA(nullptr, FALSE, "Swivelkin data");
    ASSERT_NE(nullptr, squatter);
    EXPECT_EQ(0, first.CreateOrOpenSharedBlock());
    CloseHandle(squatter);
    EXPECT_EQ(nullptr, first.sharedBlock);
    EXPECT_EQ(nullptr, first.sharedMapping);
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ(nullptr, fake.boxes[0].owner);
    EXPECT_EQ("Unable to create or access shared data.", fake.boxes[0].text);
    EXPECT_EQ("Ambertide", fake.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), fake.boxes[0].type);
}

// A copy started with "Run as administrator" would otherwise make a block that only
// administrators may open, out of reach of the same user's unelevated copies.
TEST_F(SharedBlock, IsOpenToEveryCopyOfThisUserAndToNobodyElse)
{
    ASSERT_EQ(1, first.CreateOrOpenSharedBlock());
    DWORD size = 0;
    GetKernelObjectSecurity(first.sharedMapping, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> descriptor(size);
    ASSERT_TRUE(GetKernelObjectSecurity(first.sharedMapping, DACL_SECURITY_INFORMATION, descriptor.data(), size, &size));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present);
    ASSERT_NE(nullptr, dacl);
    ASSERT_EQ(1, dacl->AceCount);
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, ace->Header.AceType);
    EXPECT_EQ(static_cast<DWORD>(FILE_MAP_ALL_ACCESS), ace->Mask);

    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    unsigned char user[128];
    DWORD got = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof user, &got));
    CloseHandle(token);
    EXPECT_TRUE(EqualSid(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &ace->SidStart));
}

// As a copy with other rights (an elevated one, seen from an unelevated one) holds it.
TEST_F(SharedBlock, ABlockThisCopyMayNotOpenIsReportedAsARunningCopyWithOtherRights)
{
    OutOfReachBlock block;
    ASSERT_NE(nullptr, block.mapping);
    EXPECT_EQ(0, second.CreateOrOpenSharedBlock());
    EXPECT_EQ(nullptr, second.sharedBlock);
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ(nullptr, fake.boxes[0].owner);
    EXPECT_EQ(otherRightsMessage, fake.boxes[0].text);
    EXPECT_EQ("Ambertide", fake.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), fake.boxes[0].type);
}

TEST_F(SharedBlock, IsGoneWhenNoCopyHoldsIt)
{
    ASSERT_EQ(1, first.CreateOrOpenSharedBlock());
    first.sharedBlock->hWndMain = 7;
    UnmapViewOfFile(first.sharedBlock);
    CloseHandle(first.sharedMapping);
    first.sharedBlock = nullptr;
    first.sharedMapping = nullptr;
    ASSERT_EQ(1, second.CreateOrOpenSharedBlock());
    EXPECT_EQ(0u, second.sharedBlock->hWndMain);
}

TEST(SharedInstanceBlock, HoldsAWindowHandleSoThat32And64BitCopiesAgree)
{
    struct Case {
        std::uint32_t stored;
        LONG_PTR window;
    };
    const Case cases[] = {{0, 0}, {0x0001002A, 0x0001002A}, {0x7FFFFFFF, 0x7FFFFFFF}, {0xFFFF1234, -0xEDCC}};
    for (const Case& c : cases) {
        SharedInstanceBlock block = {};
        block.hWndMain = c.stored;
        EXPECT_EQ(reinterpret_cast<HWND>(c.window), MainWindowOf(block)) << std::hex << c.stored;
    }
    EXPECT_EQ(4u, offsetof(SharedInstanceBlock, filePath));
}

struct Identify : WindowTest {};

TEST_F(Identify, TheMainWindowAnswersWithTheInstanceReply)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        EXPECT_EQ(static_cast<LRESULT>(0xBADDCABB), SendMessageA(w, WM_APP_IDENTIFY, 0, 0));
    });
}

// An elevated copy's window hears an unelevated second copy only so.
TEST_F(Identify, TheMainWindowLetsBothMessagesThroughTheFilterOfAnElevatedCopy)
{
    MainWindow window(application.settings, application.sharedBlock);
    HWND main = nullptr;
    RunWindow(window, [&](HWND w) { main = w; });
    std::vector<std::pair<HWND, UINT>> expected = {{main, WM_APP_IDENTIFY}, {main, WM_APP_LOADFILE}};
    EXPECT_EQ(expected, fake.allowedMessages);
}

}  // namespace
