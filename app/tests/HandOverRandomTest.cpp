// Editing commands, answers to their questions, loads, and hand-overs arriving at random
// moments, inside message boxes too: after every step the lists agree, every hand-over is
// carried out once (those that wait for the same command together), each load shows its
// file's rows or, when it fails, leaves the rows as they were, and the latest file handed
// over is the one shown.
#include "ImportPatch.h"
#include "ListInvariants.h"
#include "MappingListHelpers.h"
#include "ProgramCopies.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

using namespace window_driver;
using namespace program_copies;
using testing_keys::code;
using Rows = std::vector<std::string>;

namespace {

// The run is the same for the same seed; a failure names its step.
const unsigned seed = 20261210;
const int steps = 500;

struct RandomHandOvers : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_EQ(1, application.CreateOrOpenSharedBlock());
        const ScanCode a = code("A"), b = code("B"), q = code("Q"), tab = code("Tab");
        files = {
            WriteMap("two.swm", {{code("Caps Lock"), code("Left Ctrl")}, {tab, q}}),
            WriteMap("swap.swm", {{a, b}, {b, a}, {code("Left Shift"), 0}}),
            WriteMap("empty.swm", {}),
            WriteMap("extended.swm", {{code("Right Ctrl"), a}, {q, tab}}),  // a NOTE on 95/98/ME
            WriteMap("damaged.swm", {{0x0056, a}, {code("Z"), code("X")}}),   // a WARNING
            folder.File("missing.swm"),                                 // cannot be opened
        };
        std::string shortFile = folder.File("short.swm");  // says 3 records, holds 1
        WriteMapFile(shortFile, {{a, b}});
        HANDLE file = CreateFileA(shortFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD written = 0;
        SetFilePointer(file, 14, nullptr, FILE_BEGIN);
        WriteFile(file, "\x03", 1, &written, nullptr);
        CloseHandle(file);
        files.push_back(shortFile);

        current() = this;
        opens.reset(new ImportPatch("kernel32.dll", "CreateFileA", reinterpret_cast<void*>(NotedCreateFile)));
        recorder = systemCalls.messageBox;
        systemCalls.messageBox = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
            int answer = current()->recorder(owner, text, caption, type);
            current()->WhileBoxIsOpen();
            return answer;
        };
    }
    void TearDown() override
    {
        opens.reset();
        current() = nullptr;
        UnmapViewOfFile(application.sharedBlock);
        CloseHandle(application.sharedMapping);
        WindowTest::TearDown();
    }
    static RandomHandOvers*& current()
    {
        static RandomHandOvers* run = nullptr;
        return run;
    }

    std::string WriteMap(const std::string& name, const std::vector<std::pair<ScanCode, ScanCode>>& mappings)
    {
        std::string path = folder.File(name);
        WriteMapFile(path, mappings);
        return path;
    }
    const std::string& AnyFile() { return files[rng() % files.size()]; }

    // Dispatches what waits in this thread's queue, as the loop of a box or of the window
    // does. A hand-over dispatched while none is waiting is one more load to come; one
    // dispatched while another waits is carried out with it.
    void DispatchWaiting()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window && message.hwnd == window && message.message == WM_APP_LOADFILE && !handOverDue) {
                handOverDue = true;
                ++expectedLoads;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // A load begins by opening its file: each must be one that was asked for, and the load
    // before it in the step must have left the rows it promised.
    static HANDLE WINAPI NotedCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                         DWORD creation, DWORD flags, HANDLE templateFile)
    {
        typedef HANDLE(WINAPI * CreateFileCall)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
        RandomHandOvers* run = current();
        if (run->window && access == GENERIC_READ)
            run->LoadBegins(name);
        return reinterpret_cast<CreateFileCall>(run->opens->original)(name, access, share, security, creation, flags,
                                                                      templateFile);
    }
    void LoadBegins(const std::string& path)
    {
        const Rows now = MappedRows(window);
        if (loads > 0) {
            EXPECT_EQ(RowsAfterLastLoad(), now) << "after the load of " << lastLoad;
        }
        if (directLoadDue) {
            directLoadDue = false;
        } else {
            EXPECT_TRUE(handOverDue) << "a load of " << path << " that nothing asked for";
            EXPECT_EQ(latestHandOver, path);
            handOverDue = false;
        }
        ++loads;
        if (!loaded.count(path))
            ++failedLoads;
        lastLoad = path;
        rowsBeforeLastLoad = now;
    }
    // What the latest load must have left: its file's rows, or the rows it found.
    const Rows& RowsAfterLastLoad() { return loaded.count(lastLoad) ? loaded[lastLoad] : rowsBeforeLastLoad; }

    // A hand-over as a second copy makes it: the path into the shared block, then the post.
    void HandOver(const std::string& path)
    {
        lstrcpynA(application.sharedBlock->filePath, path.c_str(), sizeof application.sharedBlock->filePath);
        PostMessageA(window, WM_APP_LOADFILE, 0, 0);
        latestHandOver = path;
    }

    // What a box's own loop meets while the box is up: sometimes one hand-over or two.
    void WhileBoxIsOpen()
    {
        if (!window)
            return;
        for (int i = 0; i < 2; ++i)
            if (rng() % 2) {
                HandOver(AnyFile());
                ++handOversInBoxes;
            }
        DispatchWaiting();
    }

    TempFolder folder;
    std::vector<std::string> files;
    int (*recorder)(HWND, LPCSTR, LPCSTR, UINT) = nullptr;
    std::mt19937 rng{seed};
    HWND window = nullptr;
    std::string latestHandOver;
    int handOversInBoxes = 0;
    std::unique_ptr<ImportPatch> opens;
    // What each file gives when it loads; files that fail to load have no entry.
    std::map<std::string, Rows> loaded;
    // The loads of the step under way: those asked for, and those begun.
    bool directLoadDue = false, handOverDue = false;
    int expectedLoads = 0, loads = 0;
    int failedLoads = 0;  // in the whole run
    std::string lastLoad;
    Rows rowsBeforeLastLoad;
};

TEST_F(RandomHandOvers, KeepTheListsTrueAndTheLatestFileWins)
{
    MainWindow main(application.settings, application.sharedBlock);
    RunWindow(main, [&](HWND w) {
        for (const std::string& file : files)
            if (main.LoadMapFile(file.c_str()))
                loaded[file] = MappedRows(w);
        ASSERT_EQ(5u, loaded.size());
        window = w;
        // What is checked is read from the lists, not from the screen; painting three lists
        // after every step would make the run several times slower.
        ShowWindow(w, SW_HIDE);

        HWND from = GetDlgItem(w, IDC_FROM_LIST), to = GetDlgItem(w, IDC_TO_LIST);
        const int keyRows = 8;  // a few keys only, so that commands meet existing rows often
        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE("step " + std::to_string(step) + " of the run with seed " + std::to_string(seed));
            expectedLoads = loads = 0;
            SetRowState(from, static_cast<int>(rng() % keyRows), LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
            SetRowState(to, static_cast<int>(rng() % (keyRows + 1)), LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
            // Arrives before the command: dispatched in one of its boxes, or after it.
            if (rng() % 6 == 0)
                HandOver(AnyFile());
            const int rows = RowCount(GetDlgItem(w, IDC_MAPPED_LIST));
            switch (rng() % 8) {
            case 0: Click(w, IDC_MAP); break;
            case 1: if (Enabled(w, IDC_SWAP)) Click(w, IDC_SWAP); break;
            case 2: Click(w, IDC_DISABLE); break;
            case 3:
            case 4: {
                std::vector<int> picked;
                for (int i = 0; i < rows; ++i)
                    if (rng() % 2)
                        picked.push_back(i);
                PickRows(w, picked);
                if (picked.size() > 1)
                    fake.answers = {rng() % 3 ? IDYES : IDNO};
                Click(w, IDC_UNMAP);
                break;
            }
            case 5:
                if (rows > 0)
                    PickRows(w, {static_cast<int>(rng() % rows)});
                break;
            case 6:
                directLoadDue = true;
                ++expectedLoads;
                main.LoadMapFile(AnyFile().c_str());
                break;
            case 7: HandOver(AnyFile()); break;
            }
            DispatchWaiting();

            ASSERT_FALSE(main.Ended());
            ASSERT_FALSE(Posted(w, WM_APP_LOADFILE));
            ASSERT_TRUE(fake.answers.empty());
            CheckInvariants(w, main);
            if (::testing::Test::HasFatalFailure())
                return;
            ASSERT_FALSE(handOverDue) << "a hand-over was never carried out";
            ASSERT_FALSE(directLoadDue);
            ASSERT_EQ(expectedLoads, loads);
            if (loads > 0) {
                ASSERT_EQ(RowsAfterLastLoad(), MappedRows(w)) << "after the load of " << lastLoad;
            }
        }
    });
    window = nullptr;
    // Enough of them came while a box was open to have met every kind of box.
    EXPECT_GT(handOversInBoxes, 100);
    // And enough loads failed to show that a failed one leaves the rows alone.
    EXPECT_GT(failedLoads, 50);
}

}  // namespace
