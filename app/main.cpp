#include <windows.h>
#include <commctrl.h>

#include "Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    Application application;
    application.StartUp();
    return 0;
}
