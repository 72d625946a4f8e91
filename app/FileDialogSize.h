// The size of OPENFILENAMEA that the system's open and save dialogs accept.
#pragma once

#include <windows.h>

// Windows 95, 98 and NT 4 refuse the structure as Windows 2000 and ME extended it (the
// dialog then fails with CDERR_STRUCTSIZE and shows nothing), so they get the older size;
// from Windows 2000 and ME on the full size, which keeps their newer dialog.
DWORD FileDialogSizeFor(const OSVERSIONINFOA& version);

// The size for the running system, as DetectPlatform found it.
DWORD FileDialogSize();
