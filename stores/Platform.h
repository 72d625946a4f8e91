// Which family of Windows the program runs on.
#pragma once

// True on the NT family; false on Windows 95/98/ME. Set by DetectPlatform.
extern bool IsNT;

// True on Windows NT 4.0 and earlier: they keep "ScanCode Map" but their keyboard driver
// does not apply it (that came with Windows 2000). Set by DetectPlatform.
extern bool IsNT4;

// Sets IsNT and IsNT4 from the platform and version that GetVersionExA reports.
void DetectPlatform();
