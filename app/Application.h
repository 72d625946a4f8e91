// The application object: settings, the shared block and start-up.
#pragma once

#include <windows.h>

#include "SettingsFile.h"
#include "SharedInstanceBlock.h"
#include "Text.h"

class Application {
public:
    // The program's entry: a first copy runs the main window until it closes; a later copy
    // hands its command-line file to the first one and ends. Always FALSE: nothing runs
    // after it.
    BOOL StartUp();

    // Maps the block shared by all running copies: 1 when this copy created it, 2 when it
    // already existed, 0 on failure (the user has been told).
    int CreateOrOpenSharedBlock();

    SettingsFile settings;
    SharedInstanceBlock* sharedBlock = nullptr;
    HANDLE sharedMapping = nullptr;

private:
    void HandOver(const Text& file);
    void RunFirstCopy(const Text& file);
};

// The directory the file dialogs start in: "SavePath" from the settings, or the program's
// directory when it has none.
Text SavePathSetting(const SettingsFile& settings);

// What a second copy tells the user when it cannot reach the running copy, which runs with
// other rights.
extern const char otherRightsMessage[];

// What a second copy tells the user when its file name does not fit the shared block.
extern const char fileNameTooLongMessage[];
