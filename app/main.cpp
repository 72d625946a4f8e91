#include <windows.h>
#include <commctrl.h>

#include "Application.h"
#include "MainWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    Application application;
    application.settings.OpenSettings();
    MainWindow window(application);
    window.Run();
    return 0;
}
