// The Help command: WinHelp when a help file lies beside the program; otherwise the user
// guide that ships beside it, in the system's viewer (Windows Vista and later have no
// WinHelp, and no help file ships).
#pragma once

#include <windows.h>

// The help file: the executable's path with its extension replaced by ".HLP". `path` holds
// MAX_PATH characters. False when the name does not fit; `path` then holds no file's name.
bool HelpFilePath(char* path);

// The user guide shipped beside the program. `path` holds MAX_PATH characters. False when
// the name does not fit; `path` then holds no file's name.
bool UserGuidePath(char* path);

// The same for a program at `program`.
bool HelpFilePathOf(const char* program, char* path);
bool UserGuidePathOf(const char* program, char* path);

void OpenHelp(HWND mainWindow);
