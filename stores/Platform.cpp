#include "Platform.h"

#include <windows.h>

bool IsNT = false;

void DetectPlatform()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
    IsNT = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
