// Which family of Windows the program runs on.
#pragma once

// True on the NT family; false on Windows 95/98/ME. Set by DetectPlatform.
extern bool IsNT;

// Sets IsNT from the platform that GetVersionExA reports.
void DetectPlatform();
