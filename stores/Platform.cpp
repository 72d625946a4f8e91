#include "Platform.h"

bool IsNT = false;
bool IsNT4 = false;
OSVERSIONINFOA PlatformVersion;

void DetectPlatform()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes, which every system accepts
    if (!GetVersionExA(&version))
        version = OSVERSIONINFOA{};
    PlatformVersion = version;
    IsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    IsNT4 = IsNT && version.dwMajorVersion < 5;
}
