#include "Help.h"

#include "AppMessageBox.h"
#include "SystemCalls.h"

namespace {

// The character after the executable's folder (and its backslash) in `path`.
char* FileNameIn(char* path)
{
    char* name = path;
    for (char* p = path; *p; ++p)
        if (*p == '\\')
            name = p + 1;
    return name;
}

bool IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Replaces the tail of `path` from `at` with `tail`, when it fits in MAX_PATH characters.
// Otherwise empties `path`: the program's own path left in it would open the program.
bool ReplaceTail(char* path, char* at, const char* tail)
{
    if ((at - path) + lstrlenA(tail) >= MAX_PATH) {
        path[0] = '\0';
        return false;
    }
    lstrcpynA(at, tail, MAX_PATH - static_cast<int>(at - path));
    return true;
}

// The running program's path; an empty one when it does not fit in MAX_PATH characters.
void ProgramPath(char (&path)[MAX_PATH])
{
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        path[0] = '\0';
}

// Copies a program's path into `path`; false, with `path` empty, when there is none.
bool CopyProgramPath(const char* program, char* path)
{
    path[0] = '\0';
    if (!*program || lstrlenA(program) >= MAX_PATH)
        return false;
    lstrcpynA(path, program, MAX_PATH);
    return true;
}

}  // namespace

bool HelpFilePathOf(const char* program, char* path)
{
    if (!CopyProgramPath(program, path))
        return false;
    char* name = FileNameIn(path);
    char* dot = nullptr;
    for (char* p = name; *p; ++p)
        if (*p == '.')
            dot = p;
    return ReplaceTail(path, dot ? dot : name + lstrlenA(name), ".HLP");
}

bool UserGuidePathOf(const char* program, char* path)
{
    return CopyProgramPath(program, path) && ReplaceTail(path, FileNameIn(path), "USER-GUIDE.txt");
}

bool HelpFilePath(char* path)
{
    char program[MAX_PATH];
    ProgramPath(program);
    return HelpFilePathOf(program, path);
}

bool UserGuidePath(char* path)
{
    char program[MAX_PATH];
    ProgramPath(program);
    return UserGuidePathOf(program, path);
}

void OpenHelp(HWND mainWindow)
{
    char help[MAX_PATH], guide[MAX_PATH];
    bool opened = false;
    if (HelpFilePath(help) && IsFile(help)) {
        opened = systemCalls.winHelp(mainWindow, help, HELP_FINDER, 0) != FALSE;
    } else if (UserGuidePath(guide)) {
        HINSTANCE result = systemCalls.shellExecute(mainWindow, "open", guide, nullptr, nullptr, SW_SHOWNORMAL);
        opened = reinterpret_cast<INT_PTR>(result) > 32;
    }
    if (!opened)
        AppMessageBox(mainWindow, "Failed to launch help.");
}
