// The per-user settings in "SWIVELKIN.INI" beside the executable.
#pragma once

#include <windows.h>

#include <string>

class SettingsFile {
public:
    // Finds this user's section and the file's path; reads and creates nothing.
    void OpenSettings();

    std::string ReadSettingString(const char* key, const char* defaultValue) const;
    int ReadSettingInt(const char* key, int defaultValue) const;
    BOOL WriteSettingString(const char* key, const char* value) const;
    BOOL WriteSettingInt(const char* key, int value) const;

    std::string settingsPath;
    std::string settingsSection;
};

// The section for a user: "NAME.Settings", or "Default.Settings" when the name is unknown.
std::string SettingsSectionFor(const char* userName);

// The directory of the running executable, without a trailing backslash.
std::string ProgramDirectory();
