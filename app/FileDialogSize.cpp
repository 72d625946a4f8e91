#include "FileDialogSize.h"

#include <commdlg.h>

DWORD FileDialogSizeFor(const OSVERSIONINFOA& version)
{
    const bool windows2000On = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
    const bool windowsMeOn = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
                             (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion >= 90));
    return windows2000On || windowsMeOn ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
}

DWORD FileDialogSize()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes, which every system accepts
    if (!GetVersionExA(&version))
        return OPENFILENAME_SIZE_VERSION_400A;
    return FileDialogSizeFor(version);
}
