// A real second copy hands a file over while a box or dialog of the main window is open:
// the command runs to its end on the list it started with, and the file is loaded after it.
#include "ListInvariants.h"
#include "MappingListHelpers.h"
#include "ProgramCopies.h"
#include "Registry.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace window_driver;
using namespace program_copies;
using testing_keys::code;
using Rows = std::vector<std::string>;

namespace {

// The visible box or dialog of this thread that is open over the main window, or null.
HWND OpenBox(HWND main)
{
    struct Search {
        HWND main, found;
    } search = {main, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM data) CALLBACK -> BOOL {
        Search& s = *reinterpret_cast<Search*>(data);
        char className[16] = "";
        GetClassNameA(w, className, sizeof className);
        if (w == s.main || !IsWindowVisible(w) || lstrcmpA(className, "#32770") != 0)
            return TRUE;
        s.found = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The open message box of this thread that shows `text`, or null.
HWND OpenMessageBox(const std::string& text)
{
    struct Search {
        const std::string& text;
        HWND found;
    } search = {text, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM data) CALLBACK -> BOOL {
        Search& s = *reinterpret_cast<Search*>(data);
        char shown[1024] = "";
        if (!IsWindowVisible(w) || !GetDlgItemTextA(w, 0xFFFF, shown, sizeof shown) || s.text != shown)
            return TRUE;
        s.found = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Press(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

// Message boxes shown for real, so that each runs its own message loop as it does for a
// user. The fake still records every box and gives its answer, which is pressed on the
// real box: by the test where a hand-over is to arrive in it, at once otherwise.
struct RealBoxes {
    using BoxCall = int (*)(HWND, LPCSTR, LPCSTR, UINT);
    static BoxCall& recorder()
    {
        static BoxCall call = nullptr;
        return call;
    }
    static int& answer()
    {
        static int value = IDOK;
        return value;
    }
    static std::string& text()
    {
        static std::string shown;
        return shown;
    }
    static bool& answeredByTest()
    {
        static bool value = false;
        return value;
    }
    static void install()
    {
        recorder() = systemCalls.messageBox;
        systemCalls.messageBox = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
            answer() = recorder()(owner, text, caption, type);
            RealBoxes::text() = text;
            if (!answeredByTest())
                SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK -> void {
                    if (HWND box = OpenMessageBox(RealBoxes::text())) {
                        KillTimer(nullptr, id);
                        Press(box, answer());
                    }
                });
            return MessageBoxA(owner, text, caption, type);
        };
    }
};

// Waits, from inside the command that opens it, for the next box or dialog over the main
// window `main`. A real second copy then hands `file` over and ends, the box's own loop
// dispatches the hand-over to the main window, and `close` gets the box to check what it
// likes and close it.
class HandOverInNextBox {
public:
    HandOverInNextBox(HWND main, std::string file, std::function<void(HWND box)> close)
        : main_(main), file_(std::move(file)), close_(std::move(close))
    {
        current() = this;
        RealBoxes::answeredByTest() = true;
        timer_ = SetTimer(nullptr, 0, 20, Tick);
    }
    ~HandOverInNextBox()
    {
        Stop();
        current() = nullptr;
    }
    bool Done() const { return stage_ == Closed; }

private:
    enum Stage { Waiting, HandedOver, Closed };

    static HandOverInNextBox*& current()
    {
        static HandOverInNextBox* armed = nullptr;
        return armed;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HandOverInNextBox* self = current();
        if (!self || self->busy_)
            return;
        self->busy_ = true;
        self->Step();
        self->busy_ = false;
    }

    void Step()
    {
        if (stage_ == Waiting) {
            box_ = OpenBox(main_);
            if (!box_) {
                if (++ticks_ > 250) {
                    ADD_FAILURE() << "no box opened";
                    Stop();
                }
                return;
            }
            ProgramCopy second("\"" + file_ + "\"");
            EXPECT_EQ(0, second.ExitCode());
            // Waiting in the queue that the box's loop reads.
            EXPECT_TRUE(Posted(main_, WM_APP_LOADFILE));
            stage_ = HandedOver;
            return;
        }
        // Posted messages come before timers: the box's loop has dispatched it.
        EXPECT_FALSE(Posted(main_, WM_APP_LOADFILE));
        Stop();
        stage_ = Closed;
        close_(box_);
    }

    void Stop()
    {
        if (timer_)
            KillTimer(nullptr, timer_);
        timer_ = 0;
        RealBoxes::answeredByTest() = false;
    }

    HWND main_;
    std::string file_;
    std::function<void(HWND)> close_;
    UINT_PTR timer_ = 0;
    Stage stage_ = Waiting;
    HWND box_ = nullptr;
    int ticks_ = 0;
    bool busy_ = false;
};

// Types a full path into a file dialog and presses its OK button.
void ChooseFile(HWND dialog, const std::string& path)
{
    HWND name = GetDlgItem(dialog, 0x47c);
    SetWindowTextA(name ? name : GetDlgItem(dialog, 0x480), path.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Rows handedRows = {"Caps Lock>Left Ctrl", "Tab>Q"};

struct HandOver : FirstCopyWindowTest {
    void SetUp() override
    {
        FirstCopyWindowTest::SetUp();
        RealBoxes::install();
        handed = MapFile("handed.swm", {{code("Caps Lock"), code("Left Ctrl")}, {code("Tab"), code("Q")}});
    }
    std::string MapFile(const std::string& name, const std::vector<std::pair<ScanCode, ScanCode>>& mappings)
    {
        std::string path = folder.File(name);
        WriteMapFile(path, mappings);
        return path;
    }
    // Disables these keys, one command each.
    static void DisableKeys(HWND w, std::vector<std::string> keys)
    {
        for (const std::string& key : keys) {
            PickKey(w, IDC_FROM_LIST, key);
            Click(w, IDC_DISABLE);
        }
    }
    TempFolder folder;
    std::string handed;
};

TEST_F(HandOver, InACommandsMessageBoxWaitsForTheCommandToEnd)
{
    fake.helpResult = FALSE;  // no help file here: the guide cannot be opened either
    fake.shellResult = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(SE_ERR_NOASSOC));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        DisableKeys(w, {"Num Lock"});
        const Rows before = MappedRows(w);
        HandOverInNextBox handOver(w, handed, [&](HWND box) {
            EXPECT_EQ(before, MappedRows(w));
            Press(box, RealBoxes::answer());
        });
        Click(w, ID_HELP);
        EXPECT_TRUE(handOver.Done());
        EXPECT_EQ(handedRows, MappedRows(w));
        EXPECT_FALSE(window.Ended());
        CheckInvariants(w, window);
    });
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Failed to launch help.", fake.boxes[0].text);
}

TEST_F(HandOver, InTheUnmapQuestionWaitsUntilTheRowsAreRemoved)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        DisableKeys(w, {"A", "B", "C", "D", "E"});
        PickRows(w, {1, 2, 4});
        const Rows before = MappedRows(w);
        fake.answers = {IDYES};
        HandOverInNextBox handOver(w, handed, [&](HWND box) {
            // The rows the command collected are still the list's rows.
            EXPECT_EQ(before, MappedRows(w));
            Press(box, RealBoxes::answer());
        });
        Click(w, IDC_UNMAP);
        EXPECT_TRUE(handOver.Done());
        EXPECT_EQ(handedRows, MappedRows(w));
        EXPECT_EQ((std::vector<int>{0}), SelectedRows(GetDlgItem(w, IDC_MAPPED_LIST)));
        CheckInvariants(w, window);
    });
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Are you sure you want to\nunmap these 3 keys?", fake.boxes[0].text);
}

TEST_F(HandOver, InTheNoteOrWarningOfALoadWaitsForThatLoadToEnd)
{
    struct Case {
        std::string file, boxStart;
        Rows firstRows;
    };
    std::vector<Case> cases = {
        {MapFile("damaged.swm", {{0x0056, code("A")}, {code("F1"), code("F2")}, {0x0056, code("B")}}), "WARNING: ",
         Rows{"F1>F2"}},
    };
    if (!IsNT)
        cases.push_back({MapFile("extended.swm", {{code("Right Ctrl"), code("A")}, {code("F1"), code("F2")}}),
                         "NOTE: ", Rows{"F1>F2"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fake.boxes.clear();
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND w) {
            HandOverInNextBox handOver(w, handed, [&](HWND box) { Press(box, RealBoxes::answer()); });
            // The first hand-over, whose load shows the box.
            ProgramCopy first("\"" + c.file + "\"");
            EXPECT_EQ(0, first.ExitCode());
            EXPECT_TRUE(PumpUntil([&] { return handOver.Done() && !Posted(w, WM_APP_LOADFILE); }));
            EXPECT_EQ(handedRows, MappedRows(w));
            CheckInvariants(w, window);
        });
        ASSERT_EQ(1u, fake.boxes.size());
        EXPECT_EQ(c.boxStart + c.file, fake.boxes[0].text.substr(0, c.boxStart.size() + c.file.size()));
    }
}

TEST_F(HandOver, InTheFileDialogsWaitsForTheSaveOrLoadToEnd)
{
    const std::string chosen = MapFile("chosen.swm", {{code("F1"), code("F2")}});
    const std::string saved = folder.File("saved.swm");
    const std::string expected = MapFile("expected.swm", {{code("Num Lock"), 0}});
    MainWindow window(application.settings, application.sharedBlock);
    window.savePath = folder.path.c_str();
    RunWindow(window, [&](HWND w) {
        DisableKeys(w, {"Num Lock"});
        const Rows before = MappedRows(w);
        {
            HandOverInNextBox handOver(w, handed, [&](HWND dialog) {
                EXPECT_EQ(before, MappedRows(w));
                ChooseFile(dialog, saved);
            });
            Click(w, IDC_SAVE);
            EXPECT_TRUE(handOver.Done());
        }
        // Saved from the list as it was when Save began; loaded after.
        EXPECT_EQ(FileText(expected), FileText(saved));
        EXPECT_EQ(handedRows, MappedRows(w));
        CheckInvariants(w, window);

        DisableKeys(w, {"Num Lock"});
        HandOverInNextBox handOver(w, handed, [&](HWND dialog) { ChooseFile(dialog, chosen); });
        Click(w, IDC_LOAD);
        EXPECT_TRUE(handOver.Done());
        // The chosen file first, the handed-over one after it.
        EXPECT_EQ(handedRows, MappedRows(w));
        CheckInvariants(w, window);
    });
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(HandOver, InTheAboutBoxWaitsForItToClose)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        DisableKeys(w, {"Num Lock"});
        const Rows before = MappedRows(w);
        HandOverInNextBox handOver(w, handed, [&](HWND about) {
            EXPECT_EQ(before, MappedRows(w));
            PostMessageA(about, WM_COMMAND, IDOK, 0);
        });
        Click(w, IDC_ABOUT);
        EXPECT_TRUE(handOver.Done());
        EXPECT_EQ(handedRows, MappedRows(w));
        CheckInvariants(w, window);
    });
}

// After OK has written: on the NT family the restart notice, on Windows 95/98/ME the
// restart question. The window ends when it closes, and the hand-over is dropped with it.
TEST_F(HandOver, InTheRestartNoticeOrQuestionIsDroppedWithTheWindow)
{
    const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";
    if (!IsNT)
        fake.answers = {IDNO};
    MainWindow window(application.settings, application.sharedBlock);
    INT_PTR end = RunWindow(window, [&](HWND w) {
        DisableKeys(w, {"Num Lock"});
        const Rows before = MappedRows(w);
        HandOverInNextBox handOver(w, handed, [&](HWND box) {
            // The question belongs to the desktop; the window must not take a second OK.
            EXPECT_FALSE(IsWindowEnabled(w));
            EXPECT_EQ(before, MappedRows(w));
            if (IsNT)
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            else
                Press(box, RealBoxes::answer());
        });
        Click(w, IDOK);
        EXPECT_TRUE(handOver.Done());
        EXPECT_TRUE(window.Ended());
        EXPECT_EQ(before, MappedRows(w));
        CheckInvariants(w, window);
    });
    EXPECT_EQ(IDOK, end);
    if (IsNT) {
        EXPECT_EQ(words({0, 0, 2, 0x00450000, 0}), testing_registry::readValue(layoutKey, "ScanCode Map").data);
        EXPECT_TRUE(fake.boxes.empty());
    } else {
        Bytes table(256);
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<unsigned char>(i == 0x45 ? 0 : i);
        EXPECT_EQ(table, testing_registry::readValue(quorvexKey, "KeyMappings").data);
        ASSERT_EQ(1u, fake.boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL | MB_YESNO), fake.boxes[0].type);
        EXPECT_TRUE(fake.restarts.empty());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
    }
}

}  // namespace
