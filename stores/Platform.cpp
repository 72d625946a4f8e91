#include "Platform.h"

#include <windows.h>

bool IsNT = false;
bool IsNT4 = false;

void DetectPlatform()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
    IsNT = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    IsNT4 = IsNT && version.dwMajorVersion < 5;
}
