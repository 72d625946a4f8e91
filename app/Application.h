// The application object: settings, the shared block, start-up, and the commands that the
// main window leaves to it.
#pragma once

#include <windows.h>

#include <string>

#include "SettingsFile.h"
#include "SharedInstanceBlock.h"

class Application {
public:
    // Handles a command the main window does not handle itself (Help).
    void OnCommand(int id, HWND mainWindow);

    SettingsFile settings;
    SharedInstanceBlock* sharedBlock = nullptr;
    HANDLE sharedMapping = nullptr;

private:
    void OnHelp(HWND mainWindow);
};

// The help file: the executable's path with its extension replaced by ".HLP".
std::string HelpFilePath();
