#include "Switches.h"

#include <windows.h>

#include "CommandLine.h"
#include "Platform.h"
#include "SwitchCommands.h"
#include "SystemCalls.h"

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

const char* SkipWhiteSpace(const char* p)
{
    while (IsWhiteSpace(*p))
        ++p;
    return p;
}

const char* EndOfWord(const char* p)
{
    while (*p && !IsWhiteSpace(*p))
        ++p;
    return p;
}

bool WordIs(const char* word, const char* end, const char* name)
{
    int length = static_cast<int>(end - word);
    if (length != lstrlenA(name))
        return false;
    char copy[8];
    lstrcpynA(copy, word, length + 1);
    return lstrcmpiA(copy, name) == 0;
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

SwitchLine ParseSwitch(const char* arguments)
{
    SwitchLine parsed = {NoSwitch, nullptr, 0, false};
    const char* word = SkipWhiteSpace(arguments ? arguments : "");
    if (*word != '/' && *word != '-')
        return parsed;
    const char* end = EndOfWord(word);
    parsed.command = WordIs(word + 1, end, "apply")  ? ApplySwitch
                     : WordIs(word + 1, end, "save") ? SaveSwitch
                     : WordIs(word + 1, end, "?")    ? HelpSwitch
                                                     : WrongSwitch;
    const char* p = SkipWhiteSpace(end);
    if (parsed.command == ApplySwitch && (*p == '/' || *p == '-') && WordIs(p + 1, EndOfWord(p), "force")) {
        parsed.force = true;
        p = SkipWhiteSpace(EndOfWord(p));
    }
    if (parsed.command == ApplySwitch || parsed.command == SaveSwitch) {
        const char* file = p;
        if (*p == '"') {
            file = ++p;
            while (*p && *p != '"')
                ++p;
            if (*p != '"' || (p[1] && !IsWhiteSpace(p[1]))) {
                parsed.command = WrongSwitch;
                return parsed;
            }
            parsed.file = file;
            parsed.fileLength = static_cast<int>(p - file);
            ++p;
        } else {
            p = EndOfWord(p);
            parsed.file = file;
            parsed.fileLength = static_cast<int>(p - file);
        }
        if (parsed.fileLength == 0)
            parsed.command = WrongSwitch;
        p = SkipWhiteSpace(p);
    }
    if (*p)
        parsed.command = WrongSwitch;
    return parsed;
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
