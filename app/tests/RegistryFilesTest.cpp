// Registry files through Save and Load on the real window, with real files: Wine's regedit
// export among them.
#include "WindowDriver.h"
#include "MappingListHelpers.h"
#include "ProgramCopies.h"
#include "RegistryText.h"

#include <gtest/gtest.h>

using namespace window_driver;
using Rows = std::vector<std::string>;

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Caps Lock to Left Ctrl, Escape and F1 swapped, in the order Save writes them.
const std::string capsAndSwapFile =
    "REGEDIT4\r\n\r\n" + std::string(layoutKeyLine) +
    "\r\n\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,04,00,00,00,1d,00,3a,00,3b,00,01,00,\\\r\n"
    "  01,00,3b,00,00,00,00,00\r\n\r\n";

struct RegistryFiles : WindowTest {
    std::string File(const std::string& name) { return folder.File(name); }
    static void MapCapsAndSwap(HWND w)
    {
        PickKey(w, IDC_FROM_LIST, "Caps Lock");
        PickKey(w, IDC_TO_LIST, "Left Ctrl");
        Click(w, IDC_MAP);
        PickKey(w, IDC_FROM_LIST, "Escape");
        PickKey(w, IDC_TO_LIST, "F1");
        Click(w, IDC_SWAP);
    }
    program_copies::TempFolder folder;
};

// On Windows 95/98/ME too: the file is for the NT family's registry.
TEST_F(RegistryFiles, SaveToANameEndingInRegWritesTheRegistryFile)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        MapCapsAndSwap(w);
        window.dirty = 0;
        window.SaveMapFile(File("caps.reg").c_str());
        window.SaveMapFile(File("CAPS SWAP.REG").c_str());
        EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Escape>F1", "F1>Escape"}), MappedRows(w));
        EXPECT_EQ(0, window.dirty);
    });
    EXPECT_EQ(narrow(capsAndSwapFile), FileBytes(File("caps.reg")));
    EXPECT_EQ(narrow(capsAndSwapFile), FileBytes(File("CAPS SWAP.REG")));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(RegistryFiles, AFailedSaveLeavesTheOldRegistryFileWhole)
{
    const std::string path = File("keep.reg");
    WriteBytes(path, narrow(capsAndSwapFile));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Tab");
        Click(w, IDC_DISABLE);
        systemCalls.writeFile = [](HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
            *written = 0;
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        };
        window.SaveMapFile(path.c_str());
    });
    EXPECT_EQ(narrow(capsAndSwapFile), FileBytes(path));
    ExpectOneApplicationBox(fake, "Error creating or accessing CArchive object.");
}

TEST_F(RegistryFiles, TheSaveDialogKeepsATypedRegExtension)
{
    MainWindow window(application.settings, application.sharedBlock);
    window.savePath = folder.path.c_str();
    const std::string saved = File("typed.reg");
    File("typed.reg.swm");
    RunWindow(window, [&](HWND w) {
        MapCapsAndSwap(w);
        bool seen = false;
        WhenWindowAppears("Save keyboard map", [&](HWND dialog) {
            seen = true;
            HWND name = GetDlgItem(dialog, 0x47c);
            SetWindowTextA(name ? name : GetDlgItem(dialog, 0x480), "typed.reg");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        Click(w, IDC_SAVE);
        EXPECT_TRUE(seen);
    });
    EXPECT_EQ(narrow(capsAndSwapFile), FileBytes(saved));
    EXPECT_FALSE(Exists(saved + ".swm"));
    EXPECT_TRUE(fake.boxes.empty());
}

// Caps Lock to Left Ctrl, Left Windows off, Escape and F1 swapped, as Wine's regedit
// exported them with the rest of the key: UTF-16LE, version 5.00, subkeys and other values.
TEST_F(RegistryFiles, LoadTakesTheMappingsOfARegeditExport)
{
    const std::string path = File("exported.reg");
    WriteBytes(path, fixture("regedit-keyboard-layout.reg"));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Q");
        Click(w, IDC_DISABLE);
        window.dirty = 0;
        EXPECT_TRUE(window.LoadMapFile(path.c_str()));
        if (IsNT) {
            EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Escape>F1", "F1>Escape", "Left Windows><Disabled>"}), MappedRows(w));
            EXPECT_TRUE(fake.boxes.empty());
        } else {
            EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Escape>F1", "F1>Escape"}), MappedRows(w));
            ASSERT_EQ(1u, fake.boxes.size());
            EXPECT_EQ("NOTE: " + path +
                          "\ncontains mappings for one or more extended keys,\n"
                          "which are not supported under Windows 95, 98, or ME.\n\n"
                          "Those unsupported mappings have not been loaded.\n\n"
                          "This does not mean that the file is damaged, only that\n"
                          "it was probably saved under Windows 2000 or XP.",
                      fake.boxes[0].text);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), fake.boxes[0].type);
        }
        EXPECT_EQ(SwapFirst, ItemImage(GetDlgItem(w, IDC_MAPPED_LIST), 1));
        EXPECT_EQ(std::vector<int>{0}, SelectedRows(GetDlgItem(w, IDC_MAPPED_LIST)));
        EXPECT_EQ("Caps Lock", SelectedKey(w, IDC_FROM_LIST));
        EXPECT_EQ("Left Ctrl", SelectedKey(w, IDC_TO_LIST));
        EXPECT_EQ(1, window.dirty);
    });
}

TEST_F(RegistryFiles, LoadLeavesOutCodesTheCatalogueLacksAndEmptiesTheListForADeletedValue)
{
    const std::string unknown = File("unknown.reg"), deleted = File("deleted.reg");
    // Caps Lock to Left Ctrl, and a key with the code 0x0056 switched off.
    WriteBytes(unknown, narrow("REGEDIT4\n\n" + std::string(layoutKeyLine) +
                                 "\n\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,03,00,00,00,1d,00,3a,00,\\\n"
                                 "  00,00,56,00,00,00,00,00\n"));
    WriteBytes(deleted, narrow("REGEDIT4\r\n\r\n" + std::string(layoutKeyLine) + "\r\n\"ScanCode Map\"=-\r\n"));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        EXPECT_TRUE(window.LoadMapFile(unknown.c_str()));
        EXPECT_EQ(Rows{"Caps Lock>Left Ctrl"}, MappedRows(w));
        ASSERT_EQ(1u, fake.boxes.size());
        EXPECT_EQ("WARNING: " + unknown +
                      "\nis damaged and contains one or more invalid records.\n\n"
                      "All valid records (if any) have been loaded successfully.\n\n"
                      "After verifying that the displayed mappings are correct,\n"
                      "you should re-save the file to repair the damage.",
                  fake.boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), fake.boxes[0].type);

        fake.boxes.clear();
        window.dirty = 0;
        EXPECT_TRUE(window.LoadMapFile(deleted.c_str()));
        EXPECT_EQ(Rows{}, MappedRows(w));
        EXPECT_FALSE(Enabled(w, IDC_UNMAP));
        EXPECT_EQ(1, window.dirty);
        EXPECT_TRUE(fake.boxes.empty());
    });
}

TEST_F(RegistryFiles, ARegistryFileWithoutAValidValueIsRefusedAndChangesNothing)
{
    const std::string start = "REGEDIT4\r\n\r\n" + std::string(layoutKeyLine) + "\r\n";
    struct Case {
        std::string name;
        Bytes bytes;
        std::string message;  // after the path
    };
    const Case cases[] = {
        {"no value.reg", narrow(start + "\"Attributes\"=dword:00000000\r\n"),
         "\ndoes not set the \"ScanCode Map\" value."},
        {"other key.reg",
         narrow("REGEDIT4\r\n[HKEY_CURRENT_USER\\Keyboard Layout]\r\n\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,"
                "00,00,00,00,00,00,00\r\n"),
         "\ndoes not set the \"ScanCode Map\" value."},
        {"bad count.reg", narrow(start + "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,03,00,00,00,00,00,00,00\r\n"),
         "\nholds a \"ScanCode Map\" value that is not valid."},
        {"broken hex.reg", narrow(start + "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,00,00,00,00,00,00,0\r\n"),
         "\nholds a \"ScanCode Map\" value that is not valid."},
        {"cut short.reg", narrow(start + "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,00,00,00,\\\r\n"),
         "\nholds a \"ScanCode Map\" value that is not valid."},
        {"a string.reg", narrow(start + "\"ScanCode Map\"=\"caps\"\r\n"),
         "\nholds a \"ScanCode Map\" value that is not valid."},
    };
    const std::string noMark = File("no mark.reg");
    Bytes exported = fixture("regedit-keyboard-layout.reg");
    WriteBytes(noMark, Bytes(exported.begin() + 2, exported.end()));
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        PickKey(w, IDC_FROM_LIST, "Q");
        Click(w, IDC_DISABLE);
        window.dirty = 0;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string path = File(c.name);
            WriteBytes(path, c.bytes);
            fake.boxes.clear();
            EXPECT_FALSE(window.LoadMapFile(path.c_str()));
            ExpectOneApplicationBox(fake, path + c.message, w);
            EXPECT_EQ(Rows{"Q><Disabled>"}, MappedRows(w));
            EXPECT_EQ(0, window.dirty);
        }
        // Without its byte-order mark it is neither form.
        fake.boxes.clear();
        EXPECT_FALSE(window.LoadMapFile(noMark.c_str()));
        ExpectOneApplicationBox(fake, "File is not a valid Swivelkin map.", w);
        EXPECT_EQ(Rows{"Q><Disabled>"}, MappedRows(w));
        EXPECT_EQ(0, window.dirty);
    });
}

TEST_F(RegistryFiles, ARegistryFileOnTheCommandLineIsLoadedAtOpening)
{
    const std::string path = File("start.reg");
    WriteBytes(path, narrow(capsAndSwapFile));
    MainWindow window(application.settings, application.sharedBlock);
    window.commandLineFile = path.c_str();
    RunWindow(window, [&](HWND w) {
        EXPECT_EQ((Rows{"Caps Lock>Left Ctrl", "Escape>F1", "F1>Escape"}), MappedRows(w));
        EXPECT_EQ(1, window.dirty);
    });
    EXPECT_TRUE(fake.boxes.empty());
}

}  // namespace
