// Damaged input through the doors that need a process of their own, into the programs as
// users run them (the shipped 32-bit ones where 32-bit Wine runs, else the x86_64 build):
// the command line (thousands of characters, unbalanced quotes, a damaged map file), the
// switches with garbage after them, and a hostile process writing the shared block and
// posting the private messages before a second copy starts. Each case runs Swivelkin.exe
// or, as Windows 98, Swivelkin_w98.exe, copied into a folder of their own.
//
// After each: the program shows its window or ends within a few seconds, with an exit code
// from the documented table; every box is one of its own texts for that input; a refused
// input leaves the store as it was.
//
// SOAK_CASES cases (default a short slice), made from SOAK_SEED; SOAK_FIRST numbers the
// first, so SOAK_FIRST=N SOAK_CASES=1 replays case N alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "CommandLine.h"
#include "HostileInputs.h"
#include "LogOnKeys.h"
#include "MainWindow.h"
#include "MappingList.h"
#include "Platform.h"
#include "ProgramCopies.h"
#include "Registry.h"
#include "SharedInstanceBlock.h"
#include "Switches.h"
#include "resource.h"

using namespace program_copies;
using namespace hostile;

namespace {

const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";
const DWORD limit = 10000;  // ms within which a copy shows its window or ends

// The exit codes a run of the program may end with; anything else is a fault.
const struct {
    long code;
    const char* meaning;
} documentedExits[] = {
    {0, "done"},
    {1, "wrong switch or arguments"},
    {2, "FILE unreadable or not valid"},
    {3, "the registry cannot be opened or read"},
    {4, "the registry or FILE cannot be written"},
    {5, "FILE leaves no key for Ctrl+Alt+Del; nothing applied"},
};

bool Documented(long code)
{
    for (const auto& exit : documentedExits)
        if (exit.code == code)
            return true;
    return false;
}

unsigned Setting(const char* name, unsigned fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

struct Box {
    std::string text, caption;
    bool operator==(const Box& other) const { return text == other.text && caption == other.caption; }
};

std::string Describe(const std::vector<Box>& boxes)
{
    std::string out;
    for (const Box& box : boxes)
        out += " {\"" + box.text + "\", \"" + box.caption + "\"}";
    return out.empty() ? " none" : out;
}

std::string With(const char* format, const std::string& value)
{
    std::string text = format;
    return text.replace(text.find("%s"), 2, value);
}

const char unableToAccess[] = "Unable to access\n%s.";
const char fileLoadFailed[] = "File load failed.\n\nList will display mappings (if any) that\nare currently in effect.";

// The boxes a load of `path` shows, worked out from its bytes; `accepted` says whether it loads.
std::vector<Box> LoadBoxes(const std::string& path, bool exists, const Bytes& bytes, bool nt, bool& accepted)
{
    accepted = false;
    if (!exists)
        return {{With(unableToAccess, path), "Swivelkin"}};
    MapFileReading read = ReadMapFile(bytes);
    if (read.result == MapIoError)
        return {{"File I/O error.", "Swivelkin"}};
    if (read.result == MapNotValid)
        return {{"File is not a valid Swivelkin map.", "Swivelkin"}};
    accepted = true;
    std::vector<Box> boxes;
    bool extended = false, unknown = false;
    for (auto& r : read.records) {
        if (!nt && (KeyCatalogue::isExtended(r.first) || KeyCatalogue::isExtended(r.second)))
            extended = true;
        else if (KeyCatalogue::indexOfCode(r.first) < 0 || KeyCatalogue::indexOfCode(r.second) < 0)
            unknown = true;
    }
    if (extended)
        boxes.push_back({With("NOTE: %s\ncontains mappings for one or more extended keys,\nwhich are not supported "
                              "under Windows 95, 98, or ME.\n\nThose unsupported mappings have not been loaded.\n\n"
                              "This does not mean that the file is damaged, only that\nit was probably saved under "
                              "Windows 2000 or XP.",
                              path),
                         "Swivelkin"});
    if (unknown)
        boxes.push_back({With("WARNING: %s\nis damaged and contains one or more invalid records.\n\nAll valid "
                              "records (if any) have been loaded successfully.\n\nAfter verifying that the "
                              "displayed mappings are correct,\nyou should re-save the file to repair the damage.",
                              path),
                         "Swivelkin"});
    return boxes;
}

// The store /apply must leave for these records, in the platform's own form.
Bytes AppliedStore(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& records, bool nt)
{
    MappingList list;
    for (auto& r : records)
        if (nt || (!KeyCatalogue::isExtended(r.first) && !KeyCatalogue::isExtended(r.second)))
            list.append(r.first, r.second);
    list.normalise();
    Bytes out;
    if (nt) {
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, static_cast<std::uint32_t>(list.count() + 1));
        for (int i = 0; i < list.count(); ++i)
            Put32(out, static_cast<std::uint32_t>(list.at(i).fromCode) << 16 | list.at(i).toCode);
        Put32(out, 0);
        return out;
    }
    out.resize(256);
    for (int i = 0; i < 256; ++i)
        out[i] = static_cast<unsigned char>(i);
    for (int i = 0; i < list.count(); ++i)
        out[list.at(i).fromCode & 0xFF] = static_cast<unsigned char>(list.at(i).toCode);
    return out;
}

// True when, after /apply of these records on the NT family, no key would produce Ctrl, Alt
// or Delete: the switch refuses the file unless forced.
bool LocksOut(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& records)
{
    MappingList list;
    for (auto& r : records)
        list.append(r.first, r.second);
    list.normalise();
    return missingLogOnKeys(list) != 0;
}

Bytes Store(bool nt)
{
    return testing_registry::readValue(nt ? layoutKey : quorvexKey, nt ? "ScanCode Map" : "KeyMappings").data;
}

// Top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD process)
{
    struct Search {
        DWORD process;
        std::vector<HWND> found;
    } search{process, {}};
    EnumWindows(
        [](HWND w, LPARAM l) CALLBACK -> BOOL {
            Search& s = *reinterpret_cast<Search*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s.process && IsWindowVisible(w))
                s.found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What a copy did: the boxes it showed (each answered with OK), whether its main window
// showed, and its exit code once it ended.
struct Seen {
    std::vector<Box> boxes;
    HWND window = nullptr;
    bool ended = false, hung = false;
    long exitCode = -1;
};

// Answers the copy's boxes one at a time until its main window shows with no box over it,
// or it ends, or `limit` passes (a hang).
Seen Watch(ProgramCopy& copy, bool untilEnd)
{
    Seen seen;
    static char text[70000];
    HWND answered = nullptr;
    const DWORD start = GetTickCount();
    WaitUntil(
        [&] {
            if (!copy.Running()) {
                seen.ended = true;
                return true;
            }
            if (answered && IsWindow(answered))
                return false;
            answered = nullptr;
            HWND main = nullptr;
            for (HWND w : WindowsOf(copy.Id())) {
                if (GetDlgItem(w, 0xFFFF)) {
                    text[0] = 0;
                    GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
                    char caption[256] = "";
                    GetWindowTextA(w, caption, sizeof caption);
                    seen.boxes.push_back({text, caption});
                    PressOk(w);
                    answered = w;
                    return false;
                }
                if (GetDlgItem(w, IDC_MAPPED_LIST))
                    main = w;
            }
            seen.window = main;
            return main != nullptr && !untilEnd;
        },
        true, limit);
    if (!seen.ended && !(seen.window && !untilEnd))
        seen.hung = GetTickCount() - start >= limit;
    if (seen.ended)
        seen.exitCode = copy.ExitCode(0);
    return seen;
}

// Ends a copy whose window shows, as Cancel does, answering the boxes of what it still
// had to do; what it showed, and its exit code.
Seen Close(ProgramCopy& copy, HWND window)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return Watch(copy, true);
}

struct Tally {
    int cases = 0, crashesOrHangs = 0, wrongExit = 0, wrongBoxes = 0, changedOnRefusal = 0;
};

struct ProcessSoak : ::testing::Test {
    void SetUp() override
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "SwivelkinProcessSoak" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string program = std::string(SWK_PROGRAMS_TREE) + "/app/Swivelkin.exe";
        for (char& c : program)
            if (c == '/')
                c = '\\';
        for (const char* name : {"Swivelkin.exe", "Swivelkin_w98.exe"})
            ASSERT_TRUE(CopyFileA(program.c_str(), (folder + "\\" + name).c_str(), FALSE)) << program;
        input = folder + "\\input.swm";
        output = folder + "\\output.swm";
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        quiet = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
        other = CreateWindowExA(0, "STATIC", "not Swivelkin", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ClearStores();
        GetCurrentDirectoryA(sizeof kept, kept);
        SetCurrentDirectoryA(folder.c_str());  // the copies start here, so relative names land here
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(kept);
        DestroyWindow(other);
        CloseHandle(quiet);
        for (const char* name : {"Swivelkin.exe", "Swivelkin_w98.exe", "input.swm", "output.swm", "SWIVELKIN.INI"})
            DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
        ClearStores();
    }
    static void ClearStores()
    {
        testing_registry::createKey(layoutKey);
        testing_registry::deleteValue(layoutKey, "ScanCode Map");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, quorvexKey);
    }
    std::string Program(bool nt) const { return folder + (nt ? "\\Swivelkin.exe" : "\\Swivelkin_w98.exe"); }

    void Fail(Tally& tally, int Tally::*kind, const std::string& what)
    {
        ++(tally.*kind);
        ADD_FAILURE() << what << "\n  in " << Report();
    }
    std::string Report() const
    {
        std::ostringstream out;
        out << "case " << number << " of seed " << seed << " (replay: SOAK_SEED=" << seed << " SOAK_FIRST=" << number
            << " SOAK_CASES=1), door " << door << ", " << (nt ? "NT family" : "Windows 98") << ":" << how
            << "; arguments (" << arguments.size() << " characters): " << arguments.substr(0, 300)
            << (arguments.size() > 300 ? "..." : "") << "; file of " << bytes.size() << " bytes:";
        const char digits[] = "0123456789abcdef";
        for (std::size_t i = 0; i < bytes.size() && i < 256; ++i)
            out << ' ' << digits[bytes[i] >> 4] << digits[bytes[i] & 15];
        return out.str();
    }

    void WriteInput(Random& random)
    {
        std::string seedHow;
        Seed seedInput = MapFileSeed(random, seedHow);
        Mutated mutated = OneIn(random, 3) ? Mutated{seedInput.bytes, " as made"} : Mutate(random, seedInput);
        bytes = mutated.bytes;
        how = seedHow + " then" + mutated.how;
        WriteFileBytes(input, bytes.data(), bytes.size());
    }

    static std::string Garbage(Random& random, std::size_t length)
    {
        std::string text;
        const char pieces[] = " \t\"\\/-?:.abcXYZ019";
        for (std::size_t i = 0; i < length; ++i)
            text += OneIn(random, 2) ? pieces[Below(random, sizeof pieces - 1)]
                                     : static_cast<char>(0x20 + Below(random, 0x5F));
        return text;
    }

    // A command line with no switch: the path of a damaged map file quoted, bare, with one
    // quote, or thousands of characters of garbage.
    std::string PlainArguments(Random& random)
    {
        switch (Below(random, 6)) {
        case 0:
        case 1: return "\"" + input + "\"";
        case 2: return "  \"" + input + "\" \t";
        case 3: return OneIn(random, 2) ? "\"" + input : input + "\"";
        case 4: return "\"\"" + input + "\"\"";
        default: return "x" + Garbage(random, OneIn(random, 3) ? 3000 + Below(random, 5000) : Below(random, 300));
        }
    }

    // A switch, with or without its argument and with garbage after it.
    std::string SwitchArguments(Random& random)
    {
        const char* names[] = {"/apply", "-APPLY", "/save", "-Save", "/?", "-?", "/applyx", "/"};
        std::string line = names[Below(random, sizeof names / sizeof names[0])];
        const bool save = line.find("ave") != std::string::npos;
        switch (Below(random, 6)) {
        case 0: line += " \"" + (save ? output : input) + "\""; break;
        case 1: line += " \"" + (save ? output : input) + "\" " + Garbage(random, 1 + Below(random, 40)); break;
        case 2: line += " \"" + (save ? output : input); break;
        case 3: line += " " + (save ? folder + "\\no such folder\\a.swm" : input + "x"); break;
        case 4: line += " " + Garbage(random, OneIn(random, 2) ? 2000 + Below(random, 3000) : Below(random, 80)); break;
        default: line += Garbage(random, Below(random, 10)); break;
        }
        return line;
    }

    // The command line and the switches: one door each, one oracle, since the program tells
    // them apart by the first word as ParseSwitch does.
    void CommandLineDoor(Random& random, Tally& tally, bool switches)
    {
        WriteInput(random);
        arguments = switches ? SwitchArguments(random) : PlainArguments(random);
        const SwitchLine parsed = ParseSwitch(arguments.c_str());
        const Bytes before = Store(nt);
        std::vector<Box> expected;
        long expectedExit = 0;
        bool window = false, storeChanges = false;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> applied;
        if (parsed.command == NoSwitch) {
            window = true;
            const std::string path = CommandLineFileOf(arguments.c_str()).c_str();
            if (!path.empty()) {
                bool accepted = false;
                expected = LoadBoxes(path, path == input, bytes, nt, accepted);
                if (!accepted)
                    expected.push_back({fileLoadFailed, "Swivelkin"});
            }
        } else if (parsed.command == HelpSwitch) {
            expected.push_back({switchUsage, "Swivelkin"});
        } else if (parsed.command == WrongSwitch) {
            expectedExit = 1;
        } else {
            const bool apply = parsed.command == ApplySwitch;
            const std::string path(parsed.file, parsed.fileLength);
            if (parsed.fileLength >= MAX_PATH) {
                expectedExit = apply ? 2 : 4;
            } else if (apply) {
                bool accepted = false;
                std::vector<Box> boxes = LoadBoxes(path, path == input, bytes, nt, accepted);
                const bool damaged = !boxes.empty() && boxes.back().text.compare(0, 8, "WARNING:") == 0;
                expectedExit = accepted && (!damaged || parsed.force) ? 0 : 2;
                if (expectedExit == 0) {
                    applied = ReadMapFile(bytes).records;
                    if (nt && !parsed.force && LocksOut(applied))
                        expectedExit = 5;
                    else
                        storeChanges = true;
                }
            } else if (path == output) {
                expectedExit = 0;
            } else {
                // Garbage may name a file that can be made in the copies' folder, where
                // they run: either outcome is sound, and the file goes with the case.
                expectedExit = CanBeSavedTo(path) ? 0 : 4;
            }
        }

        ProgramCopy copy(arguments, Program(nt), quiet);
        Seen seen = Watch(copy, !window);
        if (seen.hung || (window && !seen.window) || (!window && !seen.ended)) {
            Fail(tally, &Tally::crashesOrHangs,
                 seen.ended ? "ended (exit code " + std::to_string(seen.exitCode) + ") instead of opening its window"
                            : "neither showed its window nor ended");
            return;
        }
        if (window) {
            Seen closed = Close(copy, seen.window);
            seen.boxes.insert(seen.boxes.end(), closed.boxes.begin(), closed.boxes.end());
            seen.exitCode = closed.exitCode;
        }
        if (!(seen.boxes == expected))
            Fail(tally, &Tally::wrongBoxes, "boxes:" + Describe(seen.boxes) + "; expected:" + Describe(expected));
        const long exitCode = seen.exitCode;
        if (!Documented(exitCode) || exitCode != expectedExit)
            Fail(tally, &Tally::wrongExit,
                 "exit code " + std::to_string(exitCode) + ", expected " + std::to_string(expectedExit));
        const Bytes after = Store(nt);
        if (storeChanges ? after != AppliedStore(applied, nt) : after != before)
            Fail(tally, &Tally::changedOnRefusal, storeChanges ? "the store is not what /apply was to write"
                                                               : "a refused input changed the store");
        DeleteFileA(output.c_str());
        if (parsed.command == SaveSwitch)
            DeleteFileA(std::string(parsed.file, parsed.fileLength).c_str());
        ClearStores();
    }

    // Whether a file of this name can be made here (from the copies' folder) without one.
    static bool CanBeSavedTo(const std::string& path)
    {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return false;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        DeleteFileA(path.c_str());
        return true;
    }

    // A first copy runs; a hostile process rewrites the block (its window handle, its path
    // with or without a NUL) and posts the private messages, a thousand at once now and
    // then; then a second copy starts. The first copy must go on answering and show only
    // the boxes of the loads it was asked for; the second must hand over or say why not.
    void SharedBlockDoor(Random& random, Tally& tally)
    {
        WriteInput(random);
        ProgramCopy first("", Program(nt));
        Seen opened = Watch(first, false);
        if (!opened.window || !opened.boxes.empty()) {
            Fail(tally, &Tally::crashesOrHangs, "the first copy did not open its window alone");
            return;
        }
        HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "Swivelkin data");
        auto* block = mapping ? static_cast<SharedInstanceBlock*>(
                                    MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(SharedInstanceBlock)))
                              : nullptr;
        ASSERT_NE(nullptr, block);
        const HWND window = opened.window;
        const unsigned handle = Below(random, 5);
        const HWND handles[] = {window, nullptr, other, GetDesktopWindow(),
                                reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF0000u | (random() & 0xFFFC)))};
        block->hWndMain = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(handles[handle]));
        std::string path;
        if (OneIn(random, 2)) {
            lstrcpynA(block->filePath, input.c_str(), sizeof block->filePath);
            path = input;
            how += ", the file's path";
        } else {
            for (char& c : block->filePath)
                c = static_cast<char>('a' + Below(random, 26));
            path.assign(block->filePath, sizeof block->filePath - 1);
            how += ", 260 letters without a NUL";
        }
        const int posts = OneIn(random, 6) ? 1000 : static_cast<int>(Below(random, 3));
        how += ", handle " + std::to_string(handle) + ", " + std::to_string(posts) + " posts";
        for (int i = 0; i < posts; ++i)
            PostMessageA(window, OneIn(random, 4) ? WM_APP_IDENTIFY : WM_APP_LOADFILE, random(), random());
        bool accepted = false;
        const std::vector<Box> loadBoxes = LoadBoxes(path, path == input, bytes, nt, accepted);
        auto ownLoadBoxes = [&](const std::vector<Box>& boxes) {
            for (const Box& box : boxes)
                if (std::find(loadBoxes.begin(), loadBoxes.end(), box) == loadBoxes.end())
                    return false;
            return true;
        };
        Seen busy = Watch(first, false);
        if (!busy.window || !ownLoadBoxes(busy.boxes))
            Fail(tally, &Tally::wrongBoxes, "the first copy showed:" + Describe(busy.boxes));

        arguments = OneIn(random, 3) ? "" : "\"" + input + "\"";
        const char* why[] = {nullptr, "Internal error: hWndMain not defined.",
                             "Internal Error: hWndMain does not\npoint to an instance of Ambertide",
                             "Internal Error: hWndMain does not\npoint to an instance of Ambertide",
                             "Internal error: hWndMain does not identify an existing window."};
        std::vector<Box> expected;
        if (why[handle])
            expected.push_back({why[handle], "Ambertide"});
        ProgramCopy second(arguments, Program(nt));
        Seen handedOver = Watch(second, true);
        if (!handedOver.ended)
            Fail(tally, &Tally::crashesOrHangs, "the second copy did not end");
        else if (!(handedOver.boxes == expected))
            Fail(tally, &Tally::wrongBoxes,
                 "the second copy showed:" + Describe(handedOver.boxes) + "; expected:" + Describe(expected));
        else if (handedOver.exitCode != 0)
            Fail(tally, &Tally::wrongExit, "the second copy ended with " + std::to_string(handedOver.exitCode));

        std::vector<Box> ownBoxes;
        if (!why[handle] && !arguments.empty())
            LoadBoxes(input, true, bytes, nt, accepted).swap(ownBoxes);
        DWORD_PTR reply = 0;
        if (!SendMessageTimeoutA(window, WM_APP_IDENTIFY, 0, 0, SMTO_ABORTIFHUNG, limit, &reply) ||
            static_cast<DWORD>(reply) != static_cast<DWORD>(INSTANCE_REPLY)) {
            Fail(tally, &Tally::crashesOrHangs, "the first copy stopped answering");
        } else {
            Seen closed = Close(first, window);
            closed.boxes.insert(closed.boxes.begin(), busy.boxes.begin(), busy.boxes.end());
            for (const Box& box : closed.boxes)
                if (std::find(loadBoxes.begin(), loadBoxes.end(), box) == loadBoxes.end() &&
                    std::find(ownBoxes.begin(), ownBoxes.end(), box) == ownBoxes.end()) {
                    Fail(tally, &Tally::wrongBoxes, "the first copy showed:" + Describe(closed.boxes));
                    break;
                }
            if (!closed.ended)
                Fail(tally, &Tally::crashesOrHangs, "the first copy did not end on Cancel");
            else if (closed.exitCode != 0)
                Fail(tally, &Tally::wrongExit, "the first copy ended with " + std::to_string(closed.exitCode));
        }
        UnmapViewOfFile(block);
        CloseHandle(mapping);
    }

    std::string folder, input, output;
    char kept[MAX_PATH] = "";  // the current folder before the run
    HWND other = nullptr;   // a window of another program than Swivelkin
    HANDLE quiet = nullptr;  // where the switches' lines go
    // The case under way, for its report.
    unsigned seed = 0, number = 0;
    bool nt = true;
    std::string door, how, arguments;
    Bytes bytes;
};

TEST_F(ProcessSoak, DamagedInputThroughTheDoorsOfTheProgram)
{
    seed = Setting("SOAK_SEED", 20261211);
    const unsigned cases = Setting("SOAK_CASES", 120);
    const unsigned first = Setting("SOAK_FIRST", 0);
    const char* names[] = {"command line", "switches", "shared block"};
    Tally tallies[3][2];  // door, then Windows 98 or the NT family
    for (unsigned n = first; n < first + cases; ++n) {
        const int d = static_cast<int>(n % 3);
        number = n;
        nt = (n / 3) % 2 == 0;
        door = names[d];
        how.clear();
        arguments.clear();
        bytes.clear();
        std::seed_seq mix{seed, n};
        Random random(mix);
        Tally& tally = tallies[d][nt];
        ++tally.cases;
        const bool reallyNT = IsNT;
        IsNT = nt;  // for the catalogue's platform rules in the expectations
        if (d == 2)
            SharedBlockDoor(random, tally);
        else
            CommandLineDoor(random, tally, d == 1);
        IsNT = reallyNT;
        if (::testing::Test::HasFatalFailure())
            break;
    }
    std::printf("Soak of the program of seed %u, cases %u to %u:\n", seed, first, first + cases - 1);
    for (int d = 0; d < 3; ++d)
        for (int platform = 1; platform >= 0; --platform) {
            const Tally& t = tallies[d][platform];
            std::printf("  %-12s %-10s %5d cases, %d crashes or hangs, %d undocumented or wrong exit codes, "
                        "%d wrong boxes, %d changes on refused input\n",
                        names[d], platform ? "NT family" : "Windows 98", t.cases, t.crashesOrHangs, t.wrongExit,
                        t.wrongBoxes, t.changedOnRefusal);
        }
}

}  // namespace
