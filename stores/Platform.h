// Which family and version of Windows the program runs on, asked once.
#pragma once

#include <windows.h>

// True on the NT family; false on Windows 95/98/ME. Set by DetectPlatform.
extern bool IsNT;

// True on Windows NT 4.0 and earlier: they keep "ScanCode Map" but their keyboard driver
// does not apply it (that came with Windows 2000). Set by DetectPlatform.
extern bool IsNT4;

// What GetVersionExA reported, for what depends on more than the family (the size of the
// file dialogs' structure); all zero when it failed. Set by DetectPlatform.
extern OSVERSIONINFOA PlatformVersion;

// Sets IsNT, IsNT4 and PlatformVersion from what GetVersionExA reports.
void DetectPlatform();
