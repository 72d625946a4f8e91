#include "SettingsFile.h"

#include <cstdio>

std::string SettingsSectionFor(const char* userName)
{
    return std::string(userName ? userName : "Default") + ".Settings";
}

std::string ProgramDirectory()
{
    char path[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    std::string::size_type slash = directory.rfind('\\');
    return slash == std::string::npos ? directory : directory.substr(0, slash);
}

void SettingsFile::OpenSettings()
{
    char name[257];
    DWORD size = sizeof name;
    settingsSection = SettingsSectionFor(GetUserNameA(name, &size) ? name : nullptr);
    settingsPath = ProgramDirectory() + "\\SWIVELKIN.INI";
}

std::string SettingsFile::ReadSettingString(const char* key, const char* defaultValue) const
{
    char value[4096];
    GetPrivateProfileStringA(settingsSection.c_str(), key, defaultValue, value, sizeof value, settingsPath.c_str());
    return value;
}

int SettingsFile::ReadSettingInt(const char* key, int defaultValue) const
{
    return static_cast<int>(GetPrivateProfileIntA(settingsSection.c_str(), key, defaultValue, settingsPath.c_str()));
}

BOOL SettingsFile::WriteSettingString(const char* key, const char* value) const
{
    return WritePrivateProfileStringA(settingsSection.c_str(), key, value, settingsPath.c_str());
}

BOOL SettingsFile::WriteSettingInt(const char* key, int value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteSettingString(key, text);
}
