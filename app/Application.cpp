#include "Application.h"

#include "AppMessageBox.h"
#include "SystemCalls.h"
#include "resource.h"

std::string HelpFilePath()
{
    char path[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string help = path;
    std::string::size_type dot = help.rfind('.');
    std::string::size_type slash = help.rfind('\\');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        help.erase(dot);
    return help + ".HLP";
}

void Application::OnCommand(int id, HWND mainWindow)
{
    if (id == ID_HELP)
        OnHelp(mainWindow);
}

void Application::OnHelp(HWND mainWindow)
{
    if (!systemCalls.winHelp(mainWindow, HelpFilePath().c_str(), HELP_FINDER, 0))
        AppMessageBox(mainWindow, "Failed to launch help.");
}
