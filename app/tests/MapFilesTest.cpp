// Save and Load of map files on the real window, with real files.
#include "WindowDriver.h"
#include "FileDialogSize.h"
#include "ImportPatch.h"
#include "MapFileOf.h"
#include "MappingListHelpers.h"

#include <commdlg.h>
#include <gtest/gtest.h>

using namespace window_driver;
using testing_keys::code;
using Rows = std::vector<std::string>;

namespace {

Bytes Header() { return Bytes{0x0D, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0'}; }

std::vector<std::string> FilesIn(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

struct MapFiles : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        directory = std::string(temp) + "SwivelkinMaps";
        CreateDirectoryA(directory.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (const std::string& name : FilesIn(directory))
            DeleteFileA((directory + "\\" + name).c_str());
        RemoveDirectoryA(File("Other").c_str());
        RemoveDirectoryA(directory.c_str());
        WindowTest::TearDown();
    }
    std::string File(const std::string& name) const { return directory + "\\" + name; }
    std::string directory;
};

TEST_F(MapFiles, SaveWritesTheRowsTargetFirst)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        window.SaveMapFile(File("empty.swm").c_str());
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        PickKey(w, IDC_TO_LIST, "Left Ctrl");
        Click(w, IDC_MAP);
        window.dirty = 0;
        window.SaveMapFile(File("caps.swm").c_str());
        EXPECT_EQ(Rows{"Caps Lock>Left Ctrl"}, MappedRows(w));
        EXPECT_EQ(0, window.dirty);
    });
    EXPECT_EQ(MapFileOf({}), FileBytes(File("empty.swm")));
    EXPECT_EQ(18u, FileBytes(File("empty.swm")).size());
    Bytes caps = Header();
    for (unsigned char b : {1, 0, 0, 0, 0x1D, 0, 0x3A, 0})
        caps.push_back(b);
    EXPECT_EQ(caps, FileBytes(File("caps.swm")));
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ((std::vector<std::string>{"caps.swm", "empty.swm"}), FilesIn(directory));
}

TEST_F(MapFiles, AFailedSaveLeavesTheOldFileWhole)
{
    const Bytes old = MapFileOf({{code("A"), code("B")}});
    WriteBytes(File("keep.swm"), old);
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        PickKey(w, IDC_TO_LIST, "Left Ctrl");
        Click(w, IDC_MAP);
        systemCalls.writeFile = [](HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
            *written = 0;
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        };
        window.SaveMapFile(File("keep.swm").c_str());
    });
    EXPECT_EQ(old, FileBytes(File("keep.swm")));
    EXPECT_EQ(std::vector<std::string>{"keep.swm"}, FilesIn(directory));
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Error creating or accessing CArchive object.", fake.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), fake.boxes[0].type);
}

TEST_F(MapFiles, SaveReplacesAnExistingFileAndReportsOneItCannotCreate)
{
    WriteBytes(File("old.swm"), MapFileOf({{code("A"), code("B")}, {code("C"), code("D")}}));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND) {
        window.SaveMapFile(File("old.swm").c_str());
        window.SaveMapFile(File("no such folder\\x.swm").c_str());
    });
    EXPECT_EQ(MapFileOf({}), FileBytes(File("old.swm")));
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Unable to access\n" + File("no such folder\\x.swm") + ".", fake.boxes[0].text);
    EXPECT_EQ(std::vector<std::string>{"old.swm"}, FilesIn(directory));
}

// Every rename and delete that a save asks the file system for, in order, with the files
// named "target" (the file saved to) or "A", "B" in the order they first appear. The call
// numbered `failAt` (from 0) is refused, as a file system may refuse any step.
struct FileSteps {
    explicit FileSteps(const std::string& target, int failAt = -1) : target(target), failAt(failAt)
    {
        current() = this;
        systemCalls.moveFile = [](LPCSTR from, LPCSTR to) -> BOOL {
            return current()->Step("move " + current()->Name(from) + " to " + current()->Name(to))
                       ? MoveFileA(from, to)
                       : FALSE;
        };
        systemCalls.moveFileEx = [](LPCSTR from, LPCSTR to, DWORD flags) -> BOOL {
            return current()->Step("replace " + current()->Name(to) + " with " + current()->Name(from))
                       ? MoveFileExA(from, to, flags)
                       : FALSE;
        };
        systemCalls.deleteFile = [](LPCSTR name) -> BOOL {
            return current()->Step("delete " + current()->Name(name)) ? DeleteFileA(name) : FALSE;
        };
    }
    ~FileSteps()
    {
        systemCalls.moveFile = realSystemCalls.moveFile;
        systemCalls.moveFileEx = realSystemCalls.moveFileEx;
        systemCalls.deleteFile = realSystemCalls.deleteFile;
        current() = nullptr;
    }
    static FileSteps*& current()
    {
        static FileSteps* steps = nullptr;
        return steps;
    }
    std::string Name(const std::string& path)
    {
        if (path == target)
            return "target";
        for (size_t i = 0; i < others.size(); ++i)
            if (others[i] == path)
                return std::string(1, static_cast<char>('A' + i));
        others.push_back(path);
        return std::string(1, static_cast<char>('A' + others.size() - 1));
    }
    // False when this call is the one to refuse.
    bool Step(const std::string& call)
    {
        calls.push_back(call);
        if (static_cast<int>(calls.size()) - 1 != failAt)
            return true;
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    std::string target;
    int failAt;
    std::vector<std::string> others;
    std::vector<std::string> calls;
};

// Refused by Swivelkin itself, before any file is made or renamed: without that, Wine's
// replacing rename replaces a read-only file (Windows' refuses it), and Windows 95/98/ME
// would move it aside first.
TEST_F(MapFiles, AReadOnlyFileIsNeitherReplacedNorMovedAside)
{
    const Bytes old = MapFileOf({{code("A"), code("B")}});
    const std::string path = File("read-only.swm");
    WriteBytes(path, old);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    FileSteps steps(path);
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        Click(w, IDC_DISABLE);
        window.SaveMapFile(path.c_str());
    });
    EXPECT_EQ(std::vector<std::string>{}, steps.calls);
    EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(old, FileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"read-only.swm"}, FilesIn(directory));
    ExpectOneApplicationBox(fake, "Unable to access\n" + path + ".");
}

// Whichever step of putting the new file in place is refused, the old file is back under
// its name with its bytes, nothing is left beside it, and the user is told. "B" is the new
// file; on Windows 95/98/ME "A" is the name the old file steps aside to.
TEST_F(MapFiles, ARefusedStepOfASaveLeavesTheOldFileWhole)
{
    struct Case {
        int failAt;
        std::vector<std::string> calls;
    };
    const std::vector<Case> nt = {
        {-1, {"replace target with A"}},
        {0, {"replace target with A", "delete A"}},
    };
    const std::vector<Case> win98 = {
        {-1, {"delete A", "move target to A", "move B to target", "delete A"}},
        {0, {"delete A", "delete A", "delete B"}},
        {1, {"delete A", "move target to A", "delete A", "delete B"}},
        {2, {"delete A", "move target to A", "move B to target", "move A to target", "delete B"}},
        {3, {"delete A", "move target to A", "move B to target", "delete A", "move target to B", "move A to target",
             "delete B"}},
    };
    const Bytes old = MapFileOf({{code("A"), code("B")}});
    const std::string path = File("kept.swm");
    for (const Case& c : IsNT ? nt : win98) {
        SCOPED_TRACE("refused call " + std::to_string(c.failAt));
        WriteBytes(path, old);
        fake.boxes.clear();
        FileSteps steps(path, c.failAt);
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND w) {
            PickKey(w, IDC_FROM_LIST, "Caps Lock");
            Click(w, IDC_DISABLE);
            window.SaveMapFile(path.c_str());
        });
        EXPECT_EQ(c.calls, steps.calls);
        EXPECT_EQ(std::vector<std::string>{"kept.swm"}, FilesIn(directory));
        if (c.failAt < 0) {
            EXPECT_EQ(MapFileOf({{code("Caps Lock"), 0}}), FileBytes(path));
            EXPECT_TRUE(fake.boxes.empty());
        } else {
            EXPECT_EQ(old, FileBytes(path));
            ExpectOneApplicationBox(fake, "Unable to access\n" + path + ".");
        }
    }
}

// Folders too long for GetTempFileNameA (over 246 characters), up to the longest path the
// dialog returns: the file is written, then replaced, with nothing left beside it.
TEST_F(MapFiles, SaveWorksInFoldersAsLongAsThePathAllows)
{
    const std::pair<size_t, std::string> cases[] = {{247, "abcd.swm"}, {253, "x.swm"}};
    for (const auto& c : cases) {
        const std::string folder = directory + "\\" + std::string(c.first - directory.size() - 1, 'f');
        const std::string path = folder + "\\" + c.second;
        SCOPED_TRACE(path.size());
        ASSERT_EQ(c.first, folder.size());
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        fake.boxes.clear();
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND w) {
            PickKey(w, IDC_FROM_LIST, "Caps Lock");
            Click(w, IDC_DISABLE);
            window.SaveMapFile(path.c_str());
            EXPECT_EQ(MapFileOf({{code("Caps Lock"), 0}}), FileBytes(path));
            PickKey(w, IDC_FROM_LIST, "Tab");
            Click(w, IDC_DISABLE);
            window.SaveMapFile(path.c_str());
        });
        EXPECT_EQ(MapFileOf({{code("Caps Lock"), 0}, {code("Tab"), 0}}), FileBytes(path));
        EXPECT_EQ(std::vector<std::string>{c.second}, FilesIn(folder));
        EXPECT_TRUE(fake.boxes.empty());
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

// The folder of "C:\x.swm" is the root, not the current folder of drive C:, which here is
// another folder on C:.
TEST_F(MapFiles, SaveToADriveRootKeepsItsTemporaryFileInTheRoot)
{
    const std::string path = "C:\\swivelkin saved.swm";
    struct Seen {
        std::vector<std::string> root, current;
    };
    static Seen whileWriting;
    whileWriting = Seen();
    systemCalls.writeFile = [](HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
        whileWriting.root = FilesIn("C:");
        whileWriting.current = FilesIn(".");
        return WriteFile(file, data, size, written, overlapped);
    };
    const std::vector<std::string> rootBefore = FilesIn("C:");
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    ASSERT_TRUE(SetCurrentDirectoryA(directory.c_str()));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        Click(w, IDC_DISABLE);
        window.SaveMapFile(path.c_str());
    });
    SetCurrentDirectoryA(current);
    EXPECT_EQ(MapFileOf({{code("Caps Lock"), 0}}), FileBytes(path));
    DeleteFileA(path.c_str());
    EXPECT_EQ(rootBefore.size() + 1, whileWriting.root.size());
    EXPECT_TRUE(whileWriting.current.empty());
    EXPECT_EQ(rootBefore, FilesIn("C:"));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(MapFiles, LoadReplacesTheListAndMarksItDirty)
{
    WriteBytes(File("two.swm"), MapFileOf({{code("Caps Lock"), code("Left Ctrl")}, {code("Tab"), 0}}));
    WriteBytes(File("none.swm"), MapFileOf({}, -5));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Q");
        Click(w, IDC_DISABLE);
        window.dirty = 0;
        EXPECT_TRUE(window.LoadMapFile(File("two.swm").c_str()));
        EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Tab><Disabled>"}), MappedRows(w));
        EXPECT_EQ(Disabled, ItemImage(GetDlgItem(w, IDC_MAPPED_LIST), 1));
        EXPECT_EQ(std::vector<int>{0}, SelectedRows(GetDlgItem(w, IDC_MAPPED_LIST)));
        EXPECT_EQ("Caps Lock", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ("Left Ctrl", SelectedKey(w, IDC_TO_LIST));
        EXPECT_EQ(1, window.dirty);

        window.dirty = 0;
        EXPECT_TRUE(window.LoadMapFile(File("none.swm").c_str()));
        EXPECT_EQ(Rows{}, MappedRows(w));
        EXPECT_EQ("Left Shift", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ("<Disabled>", SelectedKey(w, IDC_TO_LIST));
        EXPECT_FALSE(Enabled(w, IDC_UNMAP));
        EXPECT_EQ(1, window.dirty);
    });
    EXPECT_TRUE(fake.boxes.empty());
}

// Long lists are filled, selected and fitted in other ways than short ones; what shows is the same.
TEST_F(MapFiles, ALongListIsSelectedAndFittedAsAShortOne)
{
    std::vector<std::pair<ScanCode, ScanCode>> records;
    const char* keys[] = {"A", "B", "C", "D", "E", "F", "G", "H"};
    for (int i = 0; i < 1500; ++i)
        records.push_back({code(keys[i % 8]), code(keys[(i * 3) % 8])});
    records.push_back({code("Scroll Lock"), code("Backslash \\|")});  // the one wide row
    WriteBytes(File("long.swm"), MapFileOf(records));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        auto width = [&](int column) { return ColumnWidth(list, column); };
        auto contentWidth = [&](int column) { return ContentWidth(list, column); };
        ASSERT_TRUE(window.LoadMapFile(File("long.swm").c_str()));
        ASSERT_EQ(1501, RowCount(list));
        EXPECT_EQ("Scroll Lock", ItemText(list, 1500, 0));
        EXPECT_EQ(std::vector<int>{0}, SelectedRows(list));
        EXPECT_EQ(0, FocusedRow(list));
        const int key = contentWidth(0), to = contentWidth(1);
        ASSERT_GT(key + 3, window.keyColumnMinWidth);
        EXPECT_EQ(key + 3, width(0));
        EXPECT_EQ(to < window.mappedToColumnMinWidth ? window.mappedToColumnMinWidth : to, width(1));

        PickRows(w, {900, 30, 1400});
        window.mappedList.SelectSingleRow(700);
        EXPECT_EQ(std::vector<int>{700}, SelectedRows(list));
        EXPECT_EQ(700, FocusedRow(list));
        PressCtrlA(list);
        EXPECT_EQ(1501u, SelectedRows(list).size());
        EXPECT_EQ(700, FocusedRow(list));
    });
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(MapFiles, FailedLoadsSayWhyAndChangeNothing)
{
    WriteBytes(File("short.swm"), MapFileOf({{code("A"), code("B")}, {code("C"), code("D")}}, 3));
    Bytes lower = MapFileOf({{code("A"), code("B")}});
    lower[1] = 's';
    WriteBytes(File("lower.swm"), lower);
    struct Case {
        std::string file, message;
    };
    const Case cases[] = {
        {"short.swm", "File I/O error."},
        {"lower.swm", "File is not a valid Swivelkin map."},
        {"missing.swm", "Unable to access\n" + File("missing.swm") + "."},
    };
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Q");
        Click(w, IDC_DISABLE);
        window.dirty = 0;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.file);
            fake.boxes.clear();
            EXPECT_FALSE(window.LoadMapFile(File(c.file).c_str()));
            ExpectOneApplicationBox(fake, c.message);
            EXPECT_EQ(Rows{"Q><Disabled>"}, MappedRows(w));
            EXPECT_EQ(0, window.dirty);
        }
    });
}

TEST_F(MapFiles, InvalidAndExtendedRecordsAreLeftOutWithOneMessageEach)
{
    // Two unknown sources in a row, one extended key, one good record.
    WriteBytes(File("mixed.swm"), MapFileOf({{0x0056, code("A")}, {0x0056, code("B")},
                                             {code("Right Ctrl"), code("Left Ctrl")}, {code("Tab"), code("Q")}}));
    WriteBytes(File("rightctrl.swm"), MapFileOf({{code("Right Ctrl"), code("Left Ctrl")}}));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        EXPECT_TRUE(window.LoadMapFile(File("mixed.swm").c_str()));
        std::vector<ShownBox> mixed = fake.boxes;
        Rows mixedRows = MappedRows(w);
        fake.boxes.clear();
        EXPECT_TRUE(window.LoadMapFile(File("rightctrl.swm").c_str()));
        if (IsNT) {
            EXPECT_EQ((Rows{"Right Ctrl>Left Ctrl", "Tab>Q"}), mixedRows);
            ASSERT_EQ(1u, mixed.size());
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), mixed[0].type);
            EXPECT_EQ(Rows{"Right Ctrl>Left Ctrl"}, MappedRows(w));
            EXPECT_TRUE(fake.boxes.empty());
        } else {
            EXPECT_EQ(Rows{"Tab>Q"}, mixedRows);
            ASSERT_EQ(2u, mixed.size());
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), mixed[0].type);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), mixed[1].type);
            ASSERT_EQ(1u, fake.boxes.size());
            EXPECT_EQ("NOTE: " + File("rightctrl.swm") +
                          "\ncontains mappings for one or more extended keys,\n"
                          "which are not supported under Windows 95, 98, or ME.\n\n"
                          "Those unsupported mappings have not been loaded.\n\n"
                          "This does not mean that the file is damaged, only that\n"
                          "it was probably saved under Windows 2000 or XP.",
                      fake.boxes[0].text);
            EXPECT_EQ(Rows{}, MappedRows(w));
            EXPECT_EQ(1, window.dirty);
        }
        const ShownBox& warning = mixed.back();
        EXPECT_EQ("WARNING: " + File("mixed.swm") +
                      "\nis damaged and contains one or more invalid records.\n\n"
                      "All valid records (if any) have been loaded successfully.\n\n"
                      "After verifying that the displayed mappings are correct,\n"
                      "you should re-save the file to repair the damage.",
                  warning.text);
    });
}

TEST_F(MapFiles, ACommandLineFileThatFailsLeavesTheMappingsInEffect)
{
    window_driver::StoreScancodeMap({{code("Caps Lock"), code("Left Ctrl")}});
    MainWindow window(application.settings, application.sharedBlock);
    window.commandLineFile = File("missing.swm").c_str();
    RunWindow(window, [&](HWND w) {
        if (IsNT) {
            EXPECT_EQ(Rows{"Caps Lock>Left Ctrl"}, MappedRows(w));
        }
        EXPECT_EQ(0, window.dirty);
    });
    ASSERT_EQ(2u, fake.boxes.size());
    EXPECT_EQ("Unable to access\n" + File("missing.swm") + ".", fake.boxes[0].text);
    EXPECT_EQ("File load failed.\n\nList will display mappings (if any) that\nare currently in effect.",
              fake.boxes[1].text);
    EXPECT_EQ("Swivelkin", fake.boxes[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), fake.boxes[1].type);
}

TEST_F(MapFiles, ACommandLineFileIsLoadedAtOpening)
{
    WriteBytes(File("start.swm"), MapFileOf({{code("A"), code("B")}}));
    MainWindow window(application.settings, application.sharedBlock);
    window.commandLineFile = File("start.swm").c_str();
    RunWindow(window, [&](HWND w) {
        EXPECT_EQ(Rows{"A>B"}, MappedRows(w));
        EXPECT_EQ(1, window.dirty);
    });
}

TEST_F(MapFiles, TheLoadDialogOpensInSavePath)
{
    MainWindow window(application.settings, application.sharedBlock);
    window.savePath = directory.c_str();
    std::string caption, filter;
    RunWindow(window, [&](HWND w) {
        WhenWindowAppears("Load keyboard map", [&](HWND dialog) {
            char text[256] = "";
            GetWindowTextA(dialog, text, sizeof text);
            caption = text;
            SendDlgItemMessageA(dialog, 0x470, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            filter = text;
            HWND name = GetDlgItem(dialog, 0x47c);
            SetWindowTextA(name ? name : GetDlgItem(dialog, 0x480), "missing.swm");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        Click(w, IDC_LOAD);
    });
    EXPECT_EQ("Load keyboard map", caption);
    EXPECT_EQ("Swivelkin Map files (*.swm)", filter);
    ASSERT_EQ(1u, fake.boxes.size());
    EXPECT_EQ("Unable to access\n" + File("missing.swm") + ".", fake.boxes[0].text);
    // The folder is the one already remembered: nothing is written.
    EXPECT_EQ(directory, window.savePath);
    EXPECT_EQ("", application.settings.ReadSettingString("SavePath", ""));
}

// The settings file may hold any SavePath: the dialogs open and close on each, and a
// folder too long for any path is not handed to them (Wine's dialog crashed on 4095
// characters).
TEST_F(MapFiles, BothDialogsOpenWhateverSavePathHolds)
{
    const std::string savePaths[] = {
        std::string(4095, 'x'), "C:\\" + std::string(300, 'p'), std::string(259, 'y'), "C:\\no such folder\\deeper", "",
    };
    for (const std::string& savePath : savePaths) {
        SCOPED_TRACE(savePath.size());
        MainWindow window(application.settings, application.sharedBlock);
        window.savePath = savePath.c_str();
        RunWindow(window, [&](HWND w) {
            for (const char* title : {"Load keyboard map", "Save keyboard map"}) {
                bool seen = false;
                WhenWindowAppears(title, [&](HWND dialog) {
                    seen = true;
                    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                });
                Click(w, title[0] == 'L' ? IDC_LOAD : IDC_SAVE);
                EXPECT_TRUE(seen) << title;
            }
        });
        EXPECT_TRUE(fake.boxes.empty());
        EXPECT_EQ("(none)", application.settings.ReadSettingString("SavePath", "(none)"));
    }
}

TEST_F(MapFiles, ANewFolderIsRememberedButOnlyWhenItReallyDiffers)
{
    MainWindow window(application.settings, application.sharedBlock);
    window.savePath = directory.c_str();
    RunWindow(window, [&](HWND) {
        std::string upper = directory;
        for (char& c : upper)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        window.RememberDirectory((upper + "\\x.swm").c_str());
        EXPECT_EQ(directory, window.savePath);
        EXPECT_EQ("(none)", application.settings.ReadSettingString("SavePath", "(none)"));
        CreateDirectoryA(File("Other").c_str(), nullptr);
        window.RememberDirectory(File("Other\\y.swm").c_str());
        EXPECT_EQ(File("Other"), window.savePath);
        EXPECT_EQ(File("Other"), application.settings.ReadSettingString("SavePath", ""));
    });
}

TEST_F(MapFiles, CancellingTheSaveDialogChangesNothing)
{
    MainWindow window(application.settings, application.sharedBlock);
    window.savePath = directory.c_str();
    RunWindow(window, [&](HWND w) {
        bool seen = false;
        WhenWindowAppears("Save keyboard map", [&](HWND dialog) {
            seen = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Click(w, IDC_SAVE);
        EXPECT_TRUE(seen);
        EXPECT_EQ(0, window.dirty);
    });
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(FilesIn(directory).empty());
    EXPECT_EQ("(none)", application.settings.ReadSettingString("SavePath", "(none)"));
}

// The two file dialogs, with the structure size each call hands them noted on the way in.
std::vector<DWORD> dialogSizes;
void* realSaveDialog;
void* realOpenDialog;

BOOL WINAPI NotedSaveDialog(LPOPENFILENAMEA dialog)
{
    dialogSizes.push_back(dialog->lStructSize);
    return reinterpret_cast<BOOL(WINAPI*)(LPOPENFILENAMEA)>(realSaveDialog)(dialog);
}

BOOL WINAPI NotedOpenDialog(LPOPENFILENAMEA dialog)
{
    dialogSizes.push_back(dialog->lStructSize);
    return reinterpret_cast<BOOL(WINAPI*)(LPOPENFILENAMEA)>(realOpenDialog)(dialog);
}

// 32-bit sizes: OPENFILENAME_SIZE_VERSION_400A, then the whole OPENFILENAMEA.
const DWORD olderDialogSize = sizeof(void*) == 4 ? 76 : 136;
const DWORD fullDialogSize = sizeof(void*) == 4 ? 88 : 152;

TEST_F(MapFiles, SaveAndLoadGiveTheDialogsAStructureSizeTheSystemAccepts)
{
    ImportPatch save("comdlg32.dll", "GetSaveFileNameA", reinterpret_cast<void*>(NotedSaveDialog));
    ImportPatch open("comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void*>(NotedOpenDialog));
    realSaveDialog = save.original;
    realOpenDialog = open.original;
    dialogSizes.clear();
    MainWindow window(application.settings, application.sharedBlock);
    window.savePath = directory.c_str();
    RunWindow(window, [&](HWND w) {
        const std::pair<int, const char*> commands[] = {{IDC_SAVE, "Save keyboard map"}, {IDC_LOAD, "Load keyboard map"}};
        for (const auto& command : commands) {
            bool seen = false;
            WhenWindowAppears(command.second, [&](HWND dialog) {
                seen = true;
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            Click(w, command.first);
            EXPECT_TRUE(seen) << command.second;
        }
    });
    // Windows 95, 98 and NT 4 refuse the whole structure: Save and Load would do nothing there.
    const DWORD expected = IsNT ? fullDialogSize : olderDialogSize;
    EXPECT_EQ((std::vector<DWORD>{expected, expected}), dialogSizes);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST(FileDialogSize, IsTheOlderOneBeforeWindows2000AndMe)
{
    struct Case {
        const char* system;
        DWORD platform, major, minor, size;
    };
    const DWORD nt = VER_PLATFORM_WIN32_NT, windows = VER_PLATFORM_WIN32_WINDOWS;
    const Case cases[] = {
        {"Windows 95", windows, 4, 0, olderDialogSize},  {"Windows 98", windows, 4, 10, olderDialogSize},
        {"Windows ME", windows, 4, 90, fullDialogSize},  {"Windows NT 3.51", nt, 3, 51, olderDialogSize},
        {"Windows NT 4", nt, 4, 0, olderDialogSize},     {"Windows 2000", nt, 5, 0, fullDialogSize},
        {"Windows XP", nt, 5, 1, fullDialogSize},        {"Windows 7", nt, 6, 1, fullDialogSize},
    };
    for (const Case& c : cases) {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        version.dwPlatformId = c.platform;
        version.dwMajorVersion = c.major;
        version.dwMinorVersion = c.minor;
        EXPECT_EQ(c.size, FileDialogSizeFor(version)) << c.system;
    }
}

}  // namespace
