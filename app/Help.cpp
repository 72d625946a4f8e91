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
void ReplaceTail(char* path, char* at, const char* tail)
{
    if ((at - path) + lstrlenA(tail) < MAX_PATH)
        lstrcpynA(at, tail, MAX_PATH - static_cast<int>(at - path));
}

}  // namespace

void HelpFilePath(char* path)
{
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    char* name = FileNameIn(path);
    char* dot = nullptr;
    for (char* p = name; *p; ++p)
        if (*p == '.')
            dot = p;
    ReplaceTail(path, dot ? dot : name + lstrlenA(name), ".HLP");
}

void UserGuidePath(char* path)
{
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    ReplaceTail(path, FileNameIn(path), "USER-GUIDE.txt");
}

void OpenHelp(HWND mainWindow)
{
    char help[MAX_PATH];
    HelpFilePath(help);
    bool opened;
    if (IsFile(help)) {
        opened = systemCalls.winHelp(mainWindow, help, HELP_FINDER, 0) != FALSE;
    } else {
        char guide[MAX_PATH];
        UserGuidePath(guide);
        HINSTANCE result = systemCalls.shellExecute(mainWindow, "open", guide, nullptr, nullptr, SW_SHOWNORMAL);
        opened = reinterpret_cast<INT_PTR>(result) > 32;
    }
    if (!opened)
        AppMessageBox(mainWindow, "Failed to launch help.");
}
