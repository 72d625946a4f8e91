// The per-user settings in "SWIVELKIN.INI" beside the executable.
#pragma once

#include <windows.h>

#include "Text.h"

class SettingsFile {
public:
    // Finds this user's section and the file's path; reads and creates nothing.
    void OpenSettings();

    Text ReadSettingString(const char* key, const char* defaultValue) const;
    int ReadSettingInt(const char* key, int defaultValue) const;
    BOOL WriteSettingString(const char* key, const char* value) const;
    BOOL WriteSettingInt(const char* key, int value) const;

    Text settingsPath;
    Text settingsSection;

private:
    bool Named() const;
};

// The section for a user: "NAME.Settings", or "Default.Settings" when the name is unknown.
Text SettingsSectionFor(const char* userName);

// The directory of the running executable, without a trailing backslash.
Text ProgramDirectory();
