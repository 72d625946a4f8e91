// Damaged input through every door that opens inside this process, into the real window:
// a map file through Load and through a second copy's hand-over (the shared block written
// as a hostile process might), the stores read while the window opens, and the settings
// file. After each input: only the program's own boxes, with the texts and types it is
// to show; a refused input changes nothing; an accepted one shows the rows of its own
// reading, worked out in HostileInputs.h.
//
// SOAK_CASES cases (default a short slice), made from SOAK_SEED; SOAK_FIRST numbers the
// first. A case depends only on the seed and its number, so SOAK_FIRST=N SOAK_CASES=1
// replays case N alone.
#include "HostileInputs.h"
#include "MapFileFormats.h"
#include "MemoryBytes.h"
#include "ProgramCopies.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

using namespace window_driver;
using namespace hostile;
using program_copies::WriteFileBytes;
using Rows = std::vector<std::string>;

namespace {

const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";

unsigned Setting(const char* name, unsigned fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// What a failing case shows: how to replay it, and its input.
struct CaseReport {
    unsigned seed = 0;
    unsigned number = 0;
    std::string door, how;
    Bytes input;

    std::string Describe() const
    {
        std::ostringstream out;
        out << "case " << number << " of seed " << seed << " (replay: SOAK_SEED=" << seed << " SOAK_FIRST=" << number
            << " SOAK_CASES=1), door " << door << ":" << how << "; " << input.size() << " bytes:";
        const char digits[] = "0123456789abcdef";
        for (std::size_t i = 0; i < input.size() && i < 512; ++i)
            out << ' ' << digits[input[i] >> 4] << digits[input[i] & 15];
        if (input.size() > 512)
            out << " ...";
        return out.str();
    }
};

// The case under way, for the crash report and the watchdog.
CaseReport* runningCase = nullptr;
volatile DWORD caseStarted = 0;
const DWORD caseLimit = 20000;  // ms: a case that takes longer hangs

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    if (runningCase)
        std::fprintf(stderr, "CRASH (exception 0x%08lx) in %s\n",
                     static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode),
                     runningCase->Describe().c_str());
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

DWORD WINAPI Watchdog(LPVOID)
{
    for (;;) {
        Sleep(1000);
        const DWORD started = caseStarted;
        if (started && runningCase && GetTickCount() - started > caseLimit) {
            std::fprintf(stderr, "HANG (over %lu ms) in %s\n", static_cast<unsigned long>(caseLimit),
                         runningCase->Describe().c_str());
            std::fflush(stderr);
            ExitProcess(3);
        }
    }
}

// A box as the checks compare it.
struct Box {
    std::string text, caption;
    UINT type;
    bool operator==(const Box& other) const
    {
        return text == other.text && caption == other.caption && type == other.type;
    }
};

std::ostream& operator<<(std::ostream& out, const Box& box)
{
    return out << "{\"" << box.text << "\", \"" << box.caption << "\", 0x" << std::hex << box.type << std::dec << "}";
}

Box OwnBox(const std::string& text, UINT type = MB_OK | MB_ICONEXCLAMATION)
{
    return {text, "Swivelkin", type};
}

std::string With(const char* format, const std::string& path)
{
    std::string text = format;
    return text.replace(text.find("%s"), 2, path);
}

const char unableToAccess[] = "Unable to access\n%s.";
const char extendedNote[] =
    "NOTE: %s\ncontains mappings for one or more extended keys,\nwhich are not supported under Windows 95, 98, or "
    "ME.\n\nThose unsupported mappings have not been loaded.\n\nThis does not mean that the file is damaged, only "
    "that\nit was probably saved under Windows 2000 or XP.";
const char damagedWarning[] =
    "WARNING: %s\nis damaged and contains one or more invalid records.\n\nAll valid records (if any) have been "
    "loaded successfully.\n\nAfter verifying that the displayed mappings are correct,\nyou should re-save the file "
    "to repair the damage.";

std::string RowName(ScanCode code)
{
    if (const char* name = KeyCatalogue::nameOfCode(code))
        return name;
    char text[24];
    wsprintfA(text, "Unknown 0x%04X", code);
    return text;
}

// The rows the mapped-keys list shows for these (from, to) mappings.
Rows ShownRows(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& mappings)
{
    MappingList list;
    for (auto& m : mappings)
        list.append(m.first, m.second);
    list.normalise();
    Rows rows;
    for (int i = 0; i < list.count(); ++i)
        rows.push_back(RowName(list.at(i).fromCode) + ">" + RowName(list.at(i).toCode));
    return rows;
}

// What a load of a file with these bytes from `path` must end in.
struct LoadOutcome {
    bool accepted;
    Rows rows;
    std::vector<Box> boxes;
};

// What a load that read these (from, to) records must end in: extended keys left out on
// Windows 95/98/ME with the NOTE, codes the catalogue lacks with the WARNING.
LoadOutcome AcceptedLoad(const std::string& path, const std::vector<std::pair<std::uint16_t, std::uint16_t>>& records)
{
    LoadOutcome out{true, {}, {}};
    std::vector<std::pair<std::uint16_t, std::uint16_t>> kept, known;
    for (auto& r : records)
        if (IsNT || (!KeyCatalogue::isExtended(r.first) && !KeyCatalogue::isExtended(r.second)))
            kept.push_back(r);
    if (kept.size() < records.size())
        out.boxes.push_back(OwnBox(With(extendedNote, path), MB_OK | MB_ICONINFORMATION));
    for (auto& r : kept)
        if (KeyCatalogue::indexOfCode(r.first) >= 0 && KeyCatalogue::indexOfCode(r.second) >= 0)
            known.push_back(r);
    if (known.size() < kept.size())
        out.boxes.push_back(OwnBox(With(damagedWarning, path), MB_OK | MB_ICONERROR));
    out.rows = ShownRows(known);
    return out;
}

LoadOutcome ExpectedLoad(const std::string& path, bool exists, const Bytes& bytes)
{
    if (!exists)
        return {false, {}, {OwnBox(With(unableToAccess, path))}};
    MapFileReading read = ReadMapFile(bytes);
    if (read.result == MapIoError)
        return {false, {}, {OwnBox("File I/O error.")}};
    if (read.result == MapNotValid)
        return {false, {}, {OwnBox("File is not a valid Swivelkin map.")}};
    return AcceptedLoad(path, read.records);
}

// A registry file must load as the reader of both forms reads it (its rules have tables of
// their own); the window must then show those rows, or refuse the file with that reader's
// word and change nothing.
LoadOutcome ExpectedRegistryLoad(const std::string& path, bool exists, const Bytes& bytes)
{
    if (!exists)
        return {false, {}, {OwnBox(With(unableToAccess, path))}};
    MemorySource source(bytes.data(), bytes.size());
    MapRecords records;
    MapFile::Result result = MapFileFormats::decode(source, records);
    if (result != MapFile::Ok) {
        const std::string message = MapFile::failureMessage(result);
        return {false, {}, {OwnBox(message.find("%s") == std::string::npos ? message : With(message.c_str(), path))}};
    }
    std::vector<std::pair<std::uint16_t, std::uint16_t>> read;
    for (int i = 0; i < records.count(); ++i)
        read.push_back({records.at(i).fromCode, records.at(i).toCode});
    return AcceptedLoad(path, read);
}

// A kind of file that Load and the hand-over read: how a damaged one is made, and what
// loading it must end in. Another kind is one more of these and a row for each door.
struct InputFamily {
    const char* name;
    Mutated (*make)(Random& random);
    LoadOutcome (*expect)(const std::string& path, bool exists, const Bytes& bytes);
};

Mutated MapFileInput(Random& random)
{
    std::string how;
    Seed seed = MapFileSeed(random, how);
    Mutated input = OneIn(random, 3) ? Mutated{seed.bytes, " as made"} : Mutate(random, seed);
    input.how = how + " then" + input.how;
    return input;
}

const InputFamily mapFiles = {"map file", MapFileInput, ExpectedLoad};

// A registry file that sets the "ScanCode Map" value to these bytes, in one of the forms
// regedit writes or reads: either signature, ANSI or UTF-16LE behind its mark, CRLF or LF,
// comments, another key's value of the same name, any case, wrapped lines.
Bytes RegistryFileText(Random& random, const Bytes& value, std::string& how)
{
    const bool version5 = OneIn(random, 2), wide = version5 && OneIn(random, 2), lf = OneIn(random, 3);
    const std::string nl = lf ? "\n" : "\r\n";
    std::string text = (version5 ? "Windows Registry Editor Version 5.00" : "REGEDIT4") + nl + nl;
    if (OneIn(random, 3))
        text += "; exported for a few machines" + nl;
    if (OneIn(random, 3))
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Elsewhere]" + nl + "\"ScanCode Map\"=hex:01,02" + nl + nl;
    text += (OneIn(random, 2) ? "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout]"
                              : "[hkey_local_machine\\system\\currentcontrolset\\control\\keyboard layout]") +
            nl;
    text += OneIn(random, 2) ? "\"ScanCode Map\"=hex:" : "\"ScanCode Map\" = hex(3):";
    const bool upper = OneIn(random, 2);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (i > 0)
            text += ",";
        if (i > 0 && i % 20 == 0)
            text += "\\" + nl + "  ";
        char pair[3];
        wsprintfA(pair, upper ? "%02X" : "%02x", value[i]);
        text += pair;
    }
    text += nl + nl;
    how += std::string(version5 ? " version 5" : " REGEDIT4") + (wide ? " UTF-16" : "") + (lf ? " LF" : "");
    Bytes out;
    if (wide) {
        out = {0xFF, 0xFE};
        for (char c : text) {
            out.push_back(static_cast<unsigned char>(c));
            out.push_back(0);
        }
    } else {
        out.assign(text.begin(), text.end());
    }
    return out;
}

// Damaged in the value's bytes (counts, terminator, length) or as text, now and then both.
Mutated RegistryFileInput(Random& random)
{
    std::string how = " value of";
    Seed value = ScancodeMapSeed(random, how);
    Mutated damagedValue = OneIn(random, 2) ? Mutated{value.bytes, " as made"} : Mutate(random, value);
    Seed text{RegistryFileText(random, damagedValue.bytes, how), -1, 0};
    Mutated input = OneIn(random, 2) ? Mutated{text.bytes, " as written"} : Mutate(random, text);
    input.how = how + " then" + damagedValue.how + ", the file then" + input.how;
    return input;
}

const InputFamily registryFiles = {"registry file", RegistryFileInput, ExpectedRegistryLoad};

std::vector<Box> BoxesShown(const FakeSystem& fake, HWND owner, std::vector<std::string>& wrongOwners)
{
    std::vector<Box> boxes;
    for (const ShownBox& box : fake.boxes) {
        boxes.push_back({box.text, box.caption, box.type});
        if (owner && box.owner != owner)
            wrongOwners.push_back(box.text);
    }
    return boxes;
}

// What the run counts, per door.
struct Tally {
    int cases = 0, accepted = 0, wrongBoxes = 0, changedOnRefusal = 0, wrongRows = 0;
};

struct Soak : FirstCopyWindowTest {
    void SetUp() override
    {
        FirstCopyWindowTest::SetUp();
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "Swivelkin soak " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
    }
    void TearDown() override
    {
        DeleteFileA(File().c_str());
        RemoveDirectoryA(folder.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
        FirstCopyWindowTest::TearDown();
    }
    std::string File() const { return folder + "\\input.swm"; }

    void Fail(Tally& tally, int Tally::*kind, const std::string& what)
    {
        ++(tally.*kind);
        ADD_FAILURE() << what << "\n  in " << report.Describe();
    }

    // Compares what was shown with what must be, each owned by `owner` unless that is null
    // (a window that has closed); true when they agree.
    bool CheckBoxes(Tally& tally, HWND owner, const std::vector<Box>& expected)
    {
        std::vector<std::string> wrongOwners;
        std::vector<Box> shown = BoxesShown(fake, owner, wrongOwners);
        fake.boxes.clear();
        if (shown == expected && wrongOwners.empty())
            return true;
        std::ostringstream out;
        out << "boxes shown:";
        for (const Box& b : shown)
            out << ' ' << b;
        out << "; expected:";
        for (const Box& b : expected)
            out << ' ' << b;
        for (const std::string& text : wrongOwners)
            out << "; not owned by the window: \"" << text << "\"";
        Fail(tally, &Tally::wrongBoxes, out.str());
        return false;
    }

    // After a load or hand-over: the boxes, and the rows and `dirty` that it must leave.
    void CheckLoad(Tally& tally, HWND w, MainWindow& window, const LoadOutcome& expected, const Rows& before,
                   int loads = 1)
    {
        tally.accepted += expected.accepted;
        std::vector<Box> boxes;
        for (int i = 0; i < loads; ++i)
            boxes.insert(boxes.end(), expected.boxes.begin(), expected.boxes.end());
        CheckBoxes(tally, w, boxes);
        const Rows now = MappedRows(w);
        if (!expected.accepted && (now != before || window.dirty != 0))
            Fail(tally, &Tally::changedOnRefusal, "a refused file changed the list (or dirty)");
        if (expected.accepted && (now != expected.rows || window.dirty != 1)) {
            std::ostringstream out;
            out << "rows:";
            for (auto& r : now)
                out << " [" << r << "]";
            out << "; expected:";
            for (auto& r : expected.rows)
                out << " [" << r << "]";
            Fail(tally, &Tally::wrongRows, out.str());
        }
    }

    // The window with a few rows already loaded, so that a refusal that clears them shows.
    void LoadStartingRows(MainWindow& window)
    {
        const std::string start = folder + "\\start.swm";
        WriteFileBytes(start, "\x0DSwivelkin 2.0\x02\0\0\0\x1D\0\x3A\0\0\0\x0F\0", 26);
        window.LoadMapFile(start.c_str());
        DeleteFileA(start.c_str());
        window.dirty = 0;
        fake.boxes.clear();
    }

    void LoadDoor(Random& random, Tally& tally, const InputFamily* family)
    {
        Mutated input = family->make(random);
        report.how = input.how;
        report.input = input.bytes;
        const bool exists = !OneIn(random, 20);
        if (exists)
            WriteFileBytes(File(), input.bytes.data(), input.bytes.size());
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND w) {
            LoadStartingRows(window);
            const Rows before = MappedRows(w);
            BOOL loaded = window.LoadMapFile(File().c_str());
            LoadOutcome expected = family->expect(File(), exists, input.bytes);
            if ((loaded != FALSE) != expected.accepted)
                Fail(tally, &Tally::wrongRows, "LoadMapFile returned " + std::to_string(loaded));
            CheckLoad(tally, w, window, expected, before);
        });
        DeleteFileA(File().c_str());
    }

    // The block as a hostile second copy may leave it: the path of a damaged file, that path
    // without its NUL and garbage to the end, or garbage alone; the post before the write,
    // a thousand posts at once, and messages with garbage arguments.
    void HandOverDoor(Random& random, Tally& tally, const InputFamily* family)
    {
        Mutated input = family->make(random);
        report.input = input.bytes;
        WriteFileBytes(File(), input.bytes.data(), input.bytes.size());
        char block[sizeof application.sharedBlock->filePath];
        std::string opened;  // the path the window is to open
        const unsigned form = Below(random, 6);
        std::memset(block, 0, sizeof block);
        if (form <= 2) {
            lstrcpynA(block, File().c_str(), sizeof block);
            opened = File();
            report.how = input.how;
        } else if (form == 3) {
            std::memset(block, 'x', sizeof block);
            std::memcpy(block, File().c_str(), File().size());
            opened.assign(block, sizeof block - 1);
            report.how = " path without its NUL, then 'x' to the end";
        } else {
            // Garbage: no NUL before `length`, and nothing a path can reach out to (no
            // leading slash, no device name).
            const std::uint32_t length = Below(random, sizeof block + 1);
            for (std::uint32_t i = 0; i < sizeof block; ++i)
                block[i] = static_cast<char>(i < length ? 'a' + Below(random, 26) + (OneIn(random, 3) ? 0x80 : 0) : 0);
            opened.assign(block, length < sizeof block ? length : sizeof block - 1);
            report.how = " garbage path of " + std::to_string(length) + " bytes";
        }
        const int posts = OneIn(random, 15) ? 1000 : 1 + static_cast<int>(Below(random, 3));
        const bool postFirst = OneIn(random, 3);
        report.how += ", " + std::to_string(posts) + " posts" + (postFirst ? " before the write" : "");
        MainWindow window(application.settings, application.sharedBlock);
        RunWindow(window, [&](HWND w) {
            LoadStartingRows(window);
            const Rows before = MappedRows(w);
            if (!postFirst)
                std::memcpy(application.sharedBlock->filePath, block, sizeof block);
            for (int i = 0; i < posts; ++i)
                PostMessageA(w, WM_APP_LOADFILE, OneIn(random, 2) ? random() : 0, OneIn(random, 2) ? random() : 0);
            if (postFirst)
                std::memcpy(application.sharedBlock->filePath, block, sizeof block);
            for (int i = 0; i < 3; ++i)
                if (SendMessageA(w, WM_APP_IDENTIFY, random(), random()) != INSTANCE_REPLY)
                    Fail(tally, &Tally::wrongRows, "WM_APP_IDENTIFY was not answered with 0xBADDCABB");
            program_copies::PumpUntil([&] { return !program_copies::Posted(w, WM_APP_LOADFILE); });
            const bool isTheFile = opened == File();
            // However many were posted, the window loads the block's one path once.
            CheckLoad(tally, w, window, family->expect(opened, isTheFile, isTheFile ? input.bytes : Bytes()), before);
        });
        DeleteFileA(File().c_str());
    }

    // The store the window reads while it opens: any type, size and bytes, or none at all.
    void StoreDoor(Random& random, Tally& tally, const InputFamily*)
    {
        const char* key = IsNT ? layoutKey : quorvexKey;
        const char* name = IsNT ? "ScanCode Map" : "KeyMappings";
        std::string how;
        Seed seed = IsNT ? ScancodeMapSeed(random, how) : TableSeed(random, how);
        Mutated input = OneIn(random, 3) ? Mutated{seed.bytes, " as made"} : Mutate(random, seed);
        const DWORD type = AnyValueType(random);
        const bool absent = OneIn(random, 25);
        report.how = how + " then" + input.how + ", type " + std::to_string(type) + (absent ? ", absent" : "");
        report.input = input.bytes;
        testing_registry::createKey(key);
        if (absent)
            testing_registry::deleteValue(key, name);
        else
            testing_registry::setValue(key, name, type, input.bytes);
        // As the registry keeps it (a string type may come back converted).
        const testing_registry::Value stored = testing_registry::readValue(key, name);

        Rows rows;
        std::vector<Box> boxes;
        if (IsNT) {
            ScancodeMapReading read = stored.exists ? ReadScancodeMapValue(stored.type, stored.data)
                                                    : ScancodeMapReading{0, {}};
            if (read.result == 3)
                boxes.push_back({"Scan code map value is the wrong data type.", "Swivelkin error", MB_OK | MB_ICONERROR});
            if (read.result == 6)
                boxes.push_back(
                    {"Scan code map data format is unknown or invalid.", "Swivelkin error", MB_OK | MB_ICONERROR});
            rows = ShownRows(read.entries);
        } else {
            rows = ShownRows(stored.exists ? ReadTable(stored.type, stored.data)
                                           : std::vector<std::pair<std::uint16_t, std::uint16_t>>());
        }
        MainWindow window(application.settings, application.sharedBlock);
        HWND opened = nullptr;
        Rows shown;
        RunScripted(window, [&](HWND w) {
            opened = w;
            shown = MappedRows(w);
        });
        tally.accepted += boxes.empty();
        if (boxes.empty() && (!opened || shown != rows))
            Fail(tally, &Tally::wrongRows, opened ? "the rows differ from the value's" : "the window did not open");
        if (!boxes.empty() && opened)
            Fail(tally, &Tally::wrongRows, "the window opened on a value it cannot read");
        CheckBoxes(tally, opened, boxes);
        const testing_registry::Value after = testing_registry::readValue(key, name);
        if (after.exists != stored.exists || after.type != stored.type || after.data != stored.data)
            Fail(tally, &Tally::changedOnRefusal, "opening the window changed the stored value");
        testing_registry::deleteValue(key, name);
    }

    // The settings file: the window opens with what Windows' own reader makes of it, the
    // Load dialog opens in the SavePath it names (or where it can) and is cancelled, and
    // the file is left as it was.
    void SettingsDoor(Random& random, Tally& tally, const InputFamily*)
    {
        std::string how;
        Seed seed = SettingsSeed(random, application.settings.settingsSection.c_str(), how);
        Mutated input = OneIn(random, 3) ? Mutated{seed.bytes, " sound bytes"} : Mutate(random, seed);
        report.how = how + " then" + input.how;
        report.input = input.bytes;
        ++tally.accepted;  // whatever it holds, the window opens on it
        const std::string path = application.settings.settingsPath.c_str();
        WriteFileBytes(path.c_str(), input.bytes.data(), input.bytes.size());
        const char* section = application.settings.settingsSection.c_str();
        const int warnRestart = static_cast<int>(GetPrivateProfileIntA(section, "WarnRestart", 1, path.c_str()));
        const int noColor = static_cast<int>(GetPrivateProfileIntA(section, "NoColor", 0, path.c_str()));
        const bool dialog = OneIn(random, 4);

        MainWindow window(application.settings, application.sharedBlock);
        window.savePath = SavePathSetting(application.settings);
        bool dialogSeen = false;
        RunWindow(window, [&](HWND w) {
            if (window.warnRestart != warnRestart || window.noColor != noColor)
                Fail(tally, &Tally::wrongRows,
                     "WarnRestart " + std::to_string(window.warnRestart) + " and NoColor " +
                         std::to_string(window.noColor) + ", not " + std::to_string(warnRestart) + " and " +
                         std::to_string(noColor));
            if (dialog) {
                WhenWindowAppears("Load keyboard map", [&](HWND found) {
                    dialogSeen = true;
                    PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
                });
                Click(w, IDC_LOAD);
                if (!dialogSeen)
                    Fail(tally, &Tally::wrongBoxes, "the Load dialog did not open");
            }
        });
        CheckBoxes(tally, nullptr, {});
        Bytes after(input.bytes.size() + 1);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD got = 0;
        if (file != INVALID_HANDLE_VALUE) {
            ReadFile(file, after.data(), static_cast<DWORD>(after.size()), &got, nullptr);
            CloseHandle(file);
        }
        after.resize(got);
        if (after != input.bytes)
            Fail(tally, &Tally::changedOnRefusal, "the settings file changed");
        DeleteFileA(path.c_str());
    }

    std::string folder;
    CaseReport report;
};

// One row per door and kind of input; the stores and the settings file bring their own.
struct Door {
    const char* name;
    const InputFamily* input;  // null for a door that makes its own
    void (Soak::*run)(Random&, Tally&, const InputFamily*);
};

const Door doors[] = {
    {"Load", &mapFiles, &Soak::LoadDoor},
    {"hand-over", &mapFiles, &Soak::HandOverDoor},
    {"Load (registry file)", &registryFiles, &Soak::LoadDoor},
    {"hand-over (registry file)", &registryFiles, &Soak::HandOverDoor},
    {"store at opening", nullptr, &Soak::StoreDoor},
    {"settings file", nullptr, &Soak::SettingsDoor},
};
const int doorCount = sizeof doors / sizeof doors[0];

TEST_F(Soak, DamagedInputThroughEveryDoorOfTheWindow)
{
    const unsigned seed = Setting("SOAK_SEED", 20261211);
    const unsigned cases = Setting("SOAK_CASES", 160);
    const unsigned first = Setting("SOAK_FIRST", 0);
    SetUnhandledExceptionFilter(ReportCrash);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    Tally tallies[doorCount];
    report.seed = seed;
    runningCase = &report;
    for (unsigned n = first; n < first + cases; ++n) {
        const Door& door = doors[n % doorCount];
        report.number = n;
        report.door = door.name;
        report.how.clear();
        report.input.clear();
        std::seed_seq mix{seed, n};
        Random random(mix);
        caseStarted = GetTickCount();
        ++tallies[n % doorCount].cases;
        (this->*door.run)(random, tallies[n % doorCount], door.input);
        caseStarted = 0;
        if (::testing::Test::HasFatalFailure())
            break;
    }
    runningCase = nullptr;
    // A crash or a hang ends the program, with its case, before it gets here.
    std::printf("Soak of seed %u, cases %u to %u, %s:\n", seed, first, first + cases - 1,
                IsNT ? "NT family" : "Windows 98");
    for (int d = 0; d < doorCount; ++d)
        std::printf("  %-26s %5d cases (%d accepted), 0 crashes, 0 hangs, %d wrong boxes, "
                    "%d changes on refused input, %d wrong rows\n",
                    doors[d].name, tallies[d].cases, tallies[d].accepted, tallies[d].wrongBoxes,
                    tallies[d].changedOnRefusal, tallies[d].wrongRows);
}

}  // namespace
