// The shipped programs start here instead of in the C runtime's start-up code, which is
// built for later processors and needs MSVCRT.DLL. Nothing has to be set up before
// WinMain: the programs have no global objects that need constructing.
#include <windows.h>

extern "C" void WinMainCRTStartup()
{
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
    // Neither program reads its arguments from WinMain: Swivelkin parses GetCommandLineA itself.
    ExitProcess(WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, show));
}
