// The shipped programs start here instead of in the C runtime's start-up code, which is
// built for later processors and needs MSVCRT.DLL. Nothing has to be set up before
// WinMain: the programs have no global objects that need constructing.
#include <windows.h>

namespace {

// What follows the program's name on the command line, as WinMain receives it.
char* ArgumentsOf(char* commandLine)
{
    char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

}  // namespace

extern "C" void WinMainCRTStartup()
{
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess(WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), show));
}
