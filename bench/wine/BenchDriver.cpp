// Windows side of the Wine benchmark: makes map files, starts Swivelkin.exe and the minimal
// dialog program, and times them through their windows: start to window, Load, Save, and a
// Load of an empty file that clears the loaded list.
//   BenchDriver.exe SWIVELKIN.EXE MINIMAL.EXE RUNS LIMIT_SECONDS
// It works in the current directory, where it writes the map files and the saved copies.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT WM_APP_LOADFILE = WM_APP + 6;
const int saveButton = 1003;
const int recordCounts[] = {0, 10000, 100000, 1000000};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string FullPath(const std::string& name)
{
    char path[MAX_PATH];
    GetFullPathNameA(name.c_str(), MAX_PATH, path, nullptr);
    return path;
}

std::string MapFileName(int records) { return "bench" + std::to_string(records) + ".swm"; }

// Random rows of keys without the extended prefix, so that every record loads on every
// platform with no message; about one target in sixteen is <Disabled>.
void WriteMapFile(int records)
{
    static const unsigned short codes[] = {
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x1D,
        0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x2A, 0x2C, 0x2D, 0x2E, 0x36, 0x38, 0x39, 0x3A,
        0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x57, 0x58};
    const unsigned count = sizeof codes / sizeof codes[0];
    std::vector<unsigned char> bytes(18 + 4 * static_cast<size_t>(records));
    bytes[0] = 13;
    std::memcpy(&bytes[1], "Swivelkin 2.0", 13);
    std::memcpy(&bytes[14], &records, 4);
    unsigned seed = 12345;
    for (int i = 0; i < records; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned short from = codes[(seed >> 8) % count];
        seed = seed * 1103515245u + 12345u;
        unsigned short to = (seed >> 4) % 16 == 0 ? 0 : codes[(seed >> 8) % count];
        std::memcpy(&bytes[18 + 4 * i], &to, 2);
        std::memcpy(&bytes[20 + 4 * i], &from, 2);
    }
    FILE* file = std::fopen(MapFileName(records).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

struct Search {
    DWORD process;
    const char* title;  // nullptr: the window that holds a list view
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    Search& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search.process || !IsWindowVisible(window))
        return TRUE;
    char text[64] = "";
    if (search.title ? (GetWindowTextA(window, text, sizeof text), std::strcmp(text, search.title) == 0)
                     : FindWindowExA(window, nullptr, "SysListView32", nullptr) != nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window of the process (with that title, or holding a list view);
// nullptr when none shows up before `deadline`.
HWND WaitForWindow(DWORD process, const char* title, double deadline)
{
    for (;;) {
        Search search = {process, title, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (Now() > deadline)
            return nullptr;
        Sleep(1);
    }
}

// One started program and its window.
class Program {
public:
    // Starts `exe` with `argument` (may be empty) and waits for its window; seconds to the
    // window, or a negative number when it did not come within `limit` seconds.
    double Start(const std::string& exe, const std::string& argument, double limit)
    {
        std::string commandLine = "\"" + exe + "\"" + (argument.empty() ? "" : " \"" + argument + "\"");
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        double start = Now();
        if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info_)) {
            std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
            std::exit(1);
        }
        window_ = WaitForWindow(info_.dwProcessId, nullptr, start + limit);
        return window_ ? Now() - start : -1;
    }

    HWND Window() const { return window_; }
    DWORD Id() const { return info_.dwProcessId; }
    // Stops a program that hit the limit rather than waiting for it to finish its work.
    void Kill() { killed_ = true; }

    ~Program()
    {
        if (!killed_ && window_)
            PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
        // Wine's list view frees its rows in time that grows with the square of their
        // number (a million take minutes), so a program that does not end soon is stopped.
        if (killed_ || !window_ || WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, INFINITE);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

private:
    PROCESS_INFORMATION info_ = {};
    HWND window_ = nullptr;
    bool killed_ = false;
};

// Hands `path` to the running copy as a second copy would, and times the load.
double TimeLoad(Program& program, const std::string& path, double limit)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "Swivelkin data");
    char* block = mapping ? static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 264)) : nullptr;
    if (!block) {
        std::fprintf(stderr, "no shared block\n");
        std::exit(1);
    }
    lstrcpynA(block + 4, path.c_str(), 260);
    UnmapViewOfFile(block);
    double start = Now();
    DWORD_PTR answer = 0;
    LRESULT done = SendMessageTimeoutA(program.Window(), WM_APP_LOADFILE, 0, 0, SMTO_NORMAL,
                                       static_cast<UINT>(limit * 1000), &answer);
    double seconds = Now() - start;
    CloseHandle(mapping);
    return done ? seconds : -1;
}

// Presses Save, names `path` in the save dialog and times from its OK until the window
// answers again with the file written.
double TimeSave(Program& program, const std::string& path, double limit)
{
    DeleteFileA(path.c_str());
    PostMessageA(program.Window(), WM_COMMAND, MAKEWPARAM(saveButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(program.Window(), saveButton)));
    HWND dialog = WaitForWindow(program.Id(), "Save keyboard map", Now() + 30);
    if (!dialog) {
        std::fprintf(stderr, "no save dialog\n");
        return -1;
    }
    // The file name box: edt1 or, in the Explorer style, the edit inside cmb13.
    if (!SetDlgItemTextA(dialog, 0x480, path.c_str()))
        SetDlgItemTextA(dialog, 0x47C, path.c_str());
    double start = Now();
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    while (IsWindow(dialog) && Now() - start < limit)
        Sleep(1);
    DWORD_PTR answer = 0;
    LRESULT done = SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL,
                                       static_cast<UINT>(limit * 1000), &answer);
    double seconds = Now() - start;
    return done && !IsWindow(dialog) ? seconds : -1;
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The times of one case; a negative time is a run that hit the limit.
struct Case {
    std::string name;
    std::vector<double> times;
    bool timedOut = false;
    bool skipped = false;  // a smaller file of the same kind took too long

    // Runs `measure` unless an earlier run or a smaller case hit the limit.
    template <class Measure>
    void Run(const Case* smaller, Measure measure)
    {
        if (smaller && (smaller->timedOut || smaller->skipped))
            skipped = true;
        if (!timedOut && !skipped)
            Add(measure());
    }

    void Add(double seconds)
    {
        if (seconds < 0)
            timedOut = true;
        else
            times.push_back(seconds);
    }
    double Median() const
    {
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        size_t n = sorted.size();
        return n == 0 ? -1 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
};

// Starts `exe` with `argument` and closes it again. The machine first gets a moment to
// finish what the previous program left (freeing a million rows takes a while).
double TimeStart(const std::string& exe, const std::string& argument, double limit)
{
    Sleep(500);
    Program p;
    double seconds = p.Start(exe, argument, limit);
    if (seconds < 0)
        p.Kill();
    return seconds;
}

void Print(const Case& c, double floor, double limit)
{
    if (c.timedOut)
        std::printf("  %-28s  over %.0f s (stopped)\n", c.name.c_str(), limit);
    else if (c.skipped)
        std::printf("  %-28s  not run (a smaller file took too long)\n", c.name.c_str());
    else if (floor > 0)
        std::printf("  %-28s  %8.3f s  %6.1fx\n", c.name.c_str(), c.Median(), c.Median() / floor);
    else
        std::printf("  %-28s  %8.3f s\n", c.name.c_str(), c.Median());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: BenchDriver SWIVELKIN.EXE MINIMAL.EXE RUNS LIMIT_SECONDS\n");
        return 2;
    }
    const std::string swivelkin = FullPath(argv[1]);
    const std::string minimal = FullPath(argv[2]);
    const int runs = std::atoi(argv[3]);
    const double limit = std::atof(argv[4]);
    for (int records : recordCounts)
        WriteMapFile(records);

    const int sizes = sizeof recordCounts / sizeof recordCounts[0];
    Case floorCase, emptyStart;
    floorCase.name = "minimal dialog program";
    emptyStart.name = "Swivelkin, no file";
    std::vector<Case> starts(sizes), loads(sizes), saves(sizes), clears(sizes);
    for (int s = 0; s < sizes; ++s) {
        std::string label = std::to_string(recordCounts[s]) + " records";
        starts[s].name = "Swivelkin, " + label;
        loads[s].name = saves[s].name = clears[s].name = label;
    }
    // Wine's first start in a new prefix sets up its desktop; it is not timed.
    { Program p; p.Start(minimal, "", limit); }
    { Program p; p.Start(swivelkin, "", limit); }
    // Side by side: every round times the floor and each case once.
    for (int run = 0; run < runs; ++run) {
        floorCase.Run(nullptr, [&] { return TimeStart(minimal, "", limit); });
        emptyStart.Run(nullptr, [&] { return TimeStart(swivelkin, "", limit); });
        for (int s = 0; s < sizes; ++s) {
            const std::string path = FullPath(MapFileName(recordCounts[s]));
            const std::string saved = FullPath("saved" + std::to_string(recordCounts[s]) + ".swm");
            starts[s].Run(s ? &starts[s - 1] : nullptr, [&] { return TimeStart(swivelkin, path, limit); });
            double load = -1;
            loads[s].Run(s ? &loads[s - 1] : nullptr, [&] {
                Sleep(500);
                Program p;
                if (p.Start(swivelkin, "", limit) >= 0)
                    load = TimeLoad(p, path, limit);
                if (load < 0)
                    p.Kill();
                else
                    saves[s].Run(s ? &saves[s - 1] : nullptr, [&] {
                        double save = TimeSave(p, saved, limit);
                        if (save < 0)
                            p.Kill();
                        else if (FileSize(saved) != 18 + 4LL * recordCounts[s]) {
                            std::fprintf(stderr, "%s has %lld bytes, not %lld\n", saved.c_str(), FileSize(saved),
                                         18 + 4LL * recordCounts[s]);
                            std::exit(1);
                        }
                        return save;
                    });
                clears[s].Run(s ? &clears[s - 1] : nullptr, [&] {
                    double clear = TimeLoad(p, FullPath(MapFileName(0)), limit);
                    if (clear < 0)
                        p.Kill();
                    return clear;
                });
                return load;
            });
            if (load < 0 && !saves[s].timedOut)
                saves[s].skipped = true;
            if (load < 0 && !clears[s].timedOut)
                clears[s].skipped = true;
        }
        std::fprintf(stderr, "round %d of %d done\n", run + 1, runs);
    }

    const double floor = floorCase.Median();
    std::printf("Start to visible window, median of %d runs, and the ratio to the minimal program:\n", runs);
    Print(floorCase, floor, limit);
    Print(emptyStart, floor, limit);
    for (const Case& c : starts)
        Print(c, floor, limit);
    std::printf("Load into a just-started window (hand-over message), median:\n");
    for (const Case& c : loads)
        Print(c, 0, limit);
    std::printf("Save through the Save button, from the file dialog's OK until the window answers, median:\n");
    for (const Case& c : saves)
        Print(c, 0, limit);
    std::printf("Load of the 0-record file over the loaded list (hand-over message), median:\n");
    for (const Case& c : clears)
        Print(c, 0, limit);
    // Without the two starts there is no figure to compare with: a benchmark that measured
    // nothing fails.
    if (floor < 0 || emptyStart.Median() < 0) {
        std::fprintf(stderr, "measured nothing: the programs did not start or show their windows\n");
        return 1;
    }
    return 0;
}
