#include "Switches.h"

#include <windows.h>

#include "AppMessageBox.h"
#include "CommandLine.h"
#include "CurrentMap.h"
#include "LogOnKeys.h"
#include "MapFileDisk.h"
#include "Platform.h"
#include "SystemCalls.h"
#include "TranslationTableStore.h"

#ifndef ATTACH_PARENT_PROCESS
#define ATTACH_PARENT_PROCESS (static_cast<DWORD>(-1))
#endif

// Short lines: a message box wraps long ones wherever it likes.
const char switchUsage[] =
    "Swivelkin.exe /apply FILE\n"
    "    applies map or registry file FILE, without a window.\n"
    "Swivelkin.exe /apply /force FILE\n"
    "    applies it even if no key would then produce\n"
    "    Ctrl, Alt or Delete (Ctrl+Alt+Del), and with\n"
    "    key codes that Swivelkin does not know.\n"
    "Swivelkin.exe /save FILE\n"
    "    saves the mappings in effect to FILE\n"
    "    (a registry file if its name ends in .reg).\n"
    "Swivelkin.exe /?\n"
    "    shows this text.\n"
    "\n"
    "Put FILE in double quotes if it has spaces.\n"
    "\n"
    "Exit codes:\n"
    "0    done\n"
    "1    wrong switch or arguments\n"
    "2    FILE unreadable or not valid\n"
    "3    the registry cannot be opened or read\n"
    "4    the registry or FILE cannot be written\n"
    "5    FILE leaves no key for Ctrl+Alt+Del; nothing\n"
    "     applied (Windows NT, 2000 and later)\n"
    "\n"
    "In a batch file:\n"
    "    start /wait Swivelkin.exe /apply caps-ctrl.swm\n"
    "    echo %ERRORLEVEL%";

namespace {

const char usageLine[] =
    "Usage: Swivelkin.exe /apply [/force] FILE, Swivelkin.exe /save FILE or Swivelkin.exe /?";

const char nothingApplied[] = " Nothing was applied.";

const char* Plural(int count) { return count == 1 ? "" : "s"; }

// Why a file could not be read, on one line: the path stands where the message names the
// file, or else before it.
void DescribeUnreadFile(char* line, const char* path, MapFile::Result decoded)
{
    const char* message = MapFile::failureMessage(decoded);
    Text text = Text(message).find("%s") == Text::npos ? Text(path) + ": " + message : FormatMessageText(message, path);
    for (std::size_t at = text.find('\n'); at != Text::npos; at = text.find('\n', at))
        text.replace(at, 1, " ");
    wsprintfA(line, "%s%s", text.c_str(), nothingApplied);
}

// NT 4 keeps the value but never applies it, as the window tells after OK.
const char notAppliedOnNT4[] =
    "They are stored, but this version of Windows does not apply key mappings: they take effect on Windows "
    "2000 and later versions.";

// When the keyboard driver of Windows 95/98/ME uses the table.
const char* DriverWhen(DriverHandOver handOver)
{
    switch (handOver) {
    case DriverTookTable:
        return "the keyboard driver uses them now.";
    case DriverRefusedTable:
        return "the keyboard driver refused them, so they take effect when Windows next starts.";
    case DriverNotLoaded:
        break;
    }
    return "the keyboard driver is not loaded yet, so they take effect when Windows next starts.";
}

int RunFileSwitch(const SwitchLine& parsed, char* line)
{
    const bool apply = parsed.command == ApplySwitch;
    char path[MAX_PATH];
    if (parsed.fileLength >= MAX_PATH) {
        wsprintfA(line, "The file name is too long (at most %d characters).", MAX_PATH - 1);
        return apply ? ExitBadFile : ExitNotWritten;
    }
    lstrcpynA(path, parsed.file, parsed.fileLength + 1);
    return apply ? ApplyMapFileQuietly(path, parsed.force, line) : SaveMappingsInEffect(path, line);
}

// True when this program was started from a console that it can write to: attached to it
// now, or already (as a program started straight from a console is under Wine). Windows
// offers that from XP on; the call is looked up at run time so that Windows 95 and NT 4
// still load the program. Windows 95/98/ME never have it, and are not asked: Wine offers
// it whatever version it reports, and a line written there would be one that those
// systems can never show.
bool AttachToStartingConsole()
{
    if (!IsNT)
        return false;
    typedef BOOL(WINAPI * AttachConsoleCall)(DWORD);
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    FARPROC found = kernel ? GetProcAddress(kernel, "AttachConsole") : nullptr;
    AttachConsoleCall attach = reinterpret_cast<AttachConsoleCall>(reinterpret_cast<void*>(found));
    return attach && (attach(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED);
}

bool WriteText(HANDLE out, const char* text)
{
    DWORD written = 0;
    DWORD size = static_cast<DWORD>(lstrlenA(text));
    return out && out != INVALID_HANDLE_VALUE && WriteFile(out, text, size, &written, nullptr) && written == size;
}

// Writes to where the starting program sends this one's output (`given`, when it did
// redirect it), or else to its console.
void WriteToConsole(HANDLE given, const char* text)
{
    if (WriteText(given, text))
        return;
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        WriteText(console, text);
        CloseHandle(console);
    }
}

}  // namespace

int ApplyMapFileQuietly(const char* path, bool force, char* line)
{
    MapRecords records;
    MapFile::Result decoded;
    switch (ReadMapFileFrom(path, records, decoded)) {
    case MapFileNotOpened:
        wsprintfA(line, "Unable to access %s.%s", path, nothingApplied);
        return ExitBadFile;
    case MapFileNoReader:
        wsprintfA(line, "%s: %s.%s", path, MapFile::failureMessage(MapFile::NoMemory), nothingApplied);
        return ExitBadFile;
    case MapFileNotDecoded:
        DescribeUnreadFile(line, path, decoded);
        return ExitBadFile;
    case MapFileRead:
        break;
    }
    // Windows 95/98/ME cannot map extended keys: left out, as Load leaves them out.
    const int inFile = records.count();
    if (!IsNT)
        records.removeExtended();
    const int leftOut = inFile - records.count();
    // Forced, they are kept as OK keeps the ones it read from the registry: the window's own
    // elevated copy applies its list so.
    if (!force && records.removeUnknown()) {
        wsprintfA(line, "%s is damaged: it holds key codes that Swivelkin does not know.%s", path, nothingApplied);
        return ExitBadFile;
    }
    MappingList list;
    if (!AppendRecords(records, list)) {
        wsprintfA(line, "%s: %s.%s", path, MapFile::failureMessage(MapFile::NoMemory), nothingApplied);
        return ExitBadFile;
    }
    list.normalise();
    // Windows 95/98/ME ask for no Ctrl+Alt+Del at log-on.
    if (IsNT && !force) {
        if (int missing = missingLogOnKeys(list)) {
            wsprintfA(line,
                      "With the mappings of %s no key would produce %s, so Ctrl+Alt+Del could not be pressed and "
                      "Windows may not let you log on.%s /apply /force applies it anyway.",
                      path, logOnKeyNames(missing), nothingApplied);
            return ExitLocksOut;
        }
    }

    switch (WriteCurrentMap(list)) {
    case OpenFailed:
        wsprintfA(line, "Unable to open the key mappings in the registry (administrator rights are needed).%s",
                  nothingApplied);
        return ExitStoreNotOpened;
    case WriteFailed:
        wsprintfA(line, "Error writing the key mappings to the registry.");
        return ExitNotWritten;
    case Written:
        break;
    }
    const int count = list.count();
    if (IsNT4) {
        wsprintfA(line, "Applied %d mapping%s from %s. %s", count, Plural(count), path, notAppliedOnNT4);
    } else if (IsNT) {
        wsprintfA(line, "Applied %d mapping%s from %s; they take effect after the next log-on or restart.", count,
                  Plural(count), path);
    } else {
        // A driver not loaded yet takes the stored table when Windows next starts.
        const char* when = DriverWhen(HandTableToDriver());
        if (leftOut == 0)
            wsprintfA(line, "Applied %d mapping%s from %s; %s", count, Plural(count), path, when);
        else
            wsprintfA(line, "Applied %d mapping%s from %s, leaving out %d for extended keys, which this version "
                      "of Windows cannot map; %s", count, Plural(count), path, leftOut, when);
    }
    return ExitDone;
}

int SaveMappingsInEffect(const char* path, char* line)
{
    MappingList list;
    int read = ReadCurrentMap(list);
    if (read != ReadOk) {
        wsprintfA(line, "%s Nothing was saved.", ReadFailureMessage(read));
        return ExitStoreNotOpened;
    }
    list.normalise();
    switch (WriteMapFileTo(path, list)) {
    case MapFileNotAccessible:
        wsprintfA(line, "Unable to access %s. Nothing was saved.", path);
        return ExitNotWritten;
    case MapFileNotWritten:
        wsprintfA(line, "Error writing %s. Nothing was saved.", path);
        return ExitNotWritten;
    case MapFileWritten:
        break;
    }
    wsprintfA(line, "Saved %d mapping%s to %s.", list.count(), Plural(list.count()), path);
    return ExitDone;
}

bool RunSwitch(const char* commandLine, int& exitCode)
{
    SwitchLine parsed = ParseSwitch(ArgumentsAfterProgramName(commandLine));
    if (parsed.command == NoSwitch)
        return false;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (parsed.command == HelpSwitch) {
        // A box, wherever it was started from: the one place that every system shows.
        systemCalls.messageBox(nullptr, switchUsage, "Swivelkin", MB_OK | MB_ICONINFORMATION);
        exitCode = ExitDone;
        return true;
    }
    DetectPlatform();
    // Read before attaching: attaching may fill it in with the console itself.
    HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    char line[1100];
    if (parsed.command == WrongSwitch) {
        lstrcpynA(line, usageLine, sizeof line);
        exitCode = ExitUsage;
    } else {
        exitCode = RunFileSwitch(parsed, line);
    }
    if (AttachToStartingConsole()) {
        lstrcatA(line, "\r\n");
        WriteToConsole(given, line);
    }
    return true;
}
