#include <windows.h>
#include <commctrl.h>

#include "Application.h"
#include "Switches.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int switchExit;
    if (RunSwitch(GetCommandLineA(), switchExit))
        return switchExit;
    InitCommonControls();
    Application application;
    application.StartUp();
    return 0;
}
