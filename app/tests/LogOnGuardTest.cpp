// OK's question before a change after which no key produces Ctrl, Alt or Delete: where the
// log-on asks for Ctrl+Alt+Del, such a change locks the user out.
#include "WindowDriver.h"
#include "MappingListHelpers.h"
#include "ApplyDriver.h"

#include <gtest/gtest.h>

#include <functional>

using namespace window_driver;
using namespace restart_notice;
using namespace testing_registry;
using testing_keys::code;

namespace {

std::string LockOutQuestion(const std::string& missing)
{
    return "After this change no key produces " + missing +
           ", so Ctrl+Alt+Del cannot be pressed and Windows may not let you log on.\n\n"
           "Apply the new key mappings anyway?";
}

void Disable(HWND w, const char* key)
{
    PickKey(w, IDC_FROM_LIST, key);
    Click(w, IDC_DISABLE);
}

void Map(HWND w, const char* from, const char* to)
{
    PickKey(w, IDC_FROM_LIST, from);
    PickKey(w, IDC_TO_LIST, to);
    Click(w, IDC_MAP);
}

// NT 4 asks the same; from Windows 2000 on, the restart notice follows a write.
struct GuardOnNT : ApplyOnNT {};

TEST_F(GuardOnNT, AsksForEachKeyThatNoKeyWillProduceAndNoKeepsTheWindowAsItWas)
{
    const struct {
        const char* what;
        std::function<void(HWND)> change;
        const char* missing;
        Bytes stored;
    } cases[] = {
        {"both Ctrl keys disabled",
         [](HWND w) {
             Disable(w, "Left Ctrl");
             Disable(w, "Right Ctrl");
         },
         "Ctrl", words({0, 0, 3, 0x001D0000, 0xE01D0000, 0})},
        {"both Alt keys made letters",
         [](HWND w) {
             Map(w, "Left Alt", "A");
             Map(w, "Right Alt", "B");
         },
         "Alt", words({0, 0, 3, 0x0038001E, 0xE0380030, 0})},
        {"Delete and Keypad . disabled",
         [](HWND w) {
             Disable(w, "Delete");
             Disable(w, "Keypad .");
         },
         "Delete", words({0, 0, 3, 0xE0530000, 0x00530000, 0})},
        {"all of them",
         [](HWND w) {
             Disable(w, "Left Ctrl");
             Disable(w, "Right Ctrl");
             Disable(w, "Left Alt");
             Map(w, "Right Alt", "Left Windows");
             Disable(w, "Delete");
             Disable(w, "Keypad .");
         },
         "Ctrl, Alt or Delete",
         words({0, 0, 7, 0xE0530000, 0x00530000, 0x00380000, 0x001D0000, 0xE038E05B, 0xE01D0000, 0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.boxes.clear();
        NoticeSeen notice;
        MainWindow window(application.settings, application.sharedBlock);
        HWND main = nullptr;
        std::vector<std::string> rows;
        INT_PTR end = RunWindow(window, [&](HWND w) {
            main = w;
            c.change(w);
            rows = MappedRows(w);
            fake.answers = {IDNO};
            Click(w, IDOK);
            EXPECT_FALSE(window.Ended());
            EXPECT_EQ(1, window.dirty);
            EXPECT_EQ(rows, MappedRows(w));
            EXPECT_FALSE(StoredMap().exists);

            fake.answers = {IDYES};
            AnswerRestartNotice(notice, false, true);
            Click(w, IDOK);
        });
        EXPECT_EQ(IDOK, end);
        ASSERT_EQ(2u, fake.boxes.size());
        for (const ShownBox& box : fake.boxes) {
            EXPECT_EQ(LockOutQuestion(c.missing), box.text);
            EXPECT_EQ("Swivelkin", box.caption);
            EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2), box.type);
            EXPECT_EQ(main, box.owner);
        }
        EXPECT_EQ(c.stored, StoredMap().data);
        EXPECT_EQ(0, window.dirty);
        EXPECT_TRUE(notice.shown);
        StoreScancodeMap({});
    }
}

TEST_F(GuardOnNT, AsksNothingWhileSomeKeyStillProducesEachOfThem)
{
    const struct {
        const char* what;
        std::function<void(HWND)> change;
        Bytes stored;
    } cases[] = {
        {"Left Ctrl and Caps Lock swapped",
         [](HWND w) {
             PickKey(w, IDC_FROM_LIST, "Left Ctrl");
             PickKey(w, IDC_TO_LIST, "Caps Lock");
             Click(w, IDC_SWAP);
         },
         words({0, 0, 3, 0x003A001D, 0x001D003A, 0})},
        {"Left Ctrl disabled, Right Ctrl kept", [](HWND w) { Disable(w, "Left Ctrl"); },
         words({0, 0, 2, 0x001D0000, 0})},
        {"both Ctrl keys disabled, Caps Lock made Ctrl",
         [](HWND w) {
             Disable(w, "Left Ctrl");
             Disable(w, "Right Ctrl");
             Map(w, "Caps Lock", "Left Ctrl");
         },
         words({0, 0, 4, 0x003A001D, 0x001D0000, 0xE01D0000, 0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NoticeSeen notice;
        MainWindow window(application.settings, application.sharedBlock);
        EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) {
            c.change(w);
            AnswerRestartNotice(notice, false, true);
            Click(w, IDOK);
        }));
        EXPECT_EQ(c.stored, StoredMap().data);
        EXPECT_TRUE(notice.shown);
        EXPECT_TRUE(fake.boxes.empty());
        StoreScancodeMap({});
    }
}

// A list read as it is in effect and left unchanged is not written, so nothing is asked.
TEST_F(GuardOnNT, AsksNothingWhenNothingIsWritten)
{
    StoreScancodeMap({{code("Left Ctrl"), 0}, {code("Right Ctrl"), 0}});
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) { Click(w, IDOK); }));
    EXPECT_TRUE(fake.boxes.empty());
}

// Windows 95/98/ME ask for no Ctrl+Alt+Del at log-on. Their key lists hold no extended key,
// so the list is given both Ctrl keys' rows directly.
struct GuardOn98 : WindowOn98 {};

TEST_F(GuardOn98, NeverAsks)
{
    fake.driverLoaded = true;
    MainWindow window(application.settings, application.sharedBlock);
    EXPECT_EQ(IDOK, RunWindow(window, [&](HWND w) {
        window.mappings.setMapping(code("Left Ctrl"), 0);
        window.mappings.setMapping(code("Right Ctrl"), 0);
        window.mappings.setMapping(code("Delete"), 0);
        window.mappings.setMapping(code("Keypad ."), 0);
        window.mappings.normalise();
        window.dirty = 1;
        Click(w, IDOK);
    }));
    EXPECT_TRUE(fake.boxes.empty());
    ASSERT_EQ(1u, fake.deviceCalls.size());
    EXPECT_EQ(0, fake.deviceCalls[0].input[0x1D]);
    EXPECT_EQ(0, fake.deviceCalls[0].input[0x53]);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\Quorvex");
}

}  // namespace
