#include "FileDialogSize.h"

#include <commdlg.h>

#include "Platform.h"

DWORD FileDialogSizeFor(const OSVERSIONINFOA& version)
{
    const bool windows2000On = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
    const bool windowsMeOn = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
                             (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion >= 90));
    return windows2000On || windowsMeOn ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
}

DWORD FileDialogSize() { return FileDialogSizeFor(PlatformVersion); }
