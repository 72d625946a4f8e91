#include "SettingsFile.h"

Text SettingsSectionFor(const char* userName)
{
    return Text(userName ? userName : "Default") + ".Settings";
}

Text ProgramDirectory()
{
    char path[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    Text directory = path;
    std::size_t slash = directory.rfind('\\');
    return slash == Text::npos ? directory : directory.substr(0, slash);
}

void SettingsFile::OpenSettings()
{
    char name[257];
    DWORD size = sizeof name;
    settingsSection = SettingsSectionFor(GetUserNameA(name, &size) ? name : nullptr);
    settingsPath = ProgramDirectory() + "\\SWIVELKIN.INI";
}

// Without memory for its path or section the file cannot be named: a path cut short would
// be another file (one at the root of the drive), so the defaults stand and nothing is written.
bool SettingsFile::Named() const { return !settingsPath.failed() && !settingsSection.failed(); }

Text SettingsFile::ReadSettingString(const char* key, const char* defaultValue) const
{
    if (!Named())
        return defaultValue;
    char value[4096];
    GetPrivateProfileStringA(settingsSection.c_str(), key, defaultValue, value, sizeof value, settingsPath.c_str());
    return value;
}

int SettingsFile::ReadSettingInt(const char* key, int defaultValue) const
{
    if (!Named())
        return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(settingsSection.c_str(), key, defaultValue, settingsPath.c_str()));
}

BOOL SettingsFile::WriteSettingString(const char* key, const char* value) const
{
    if (!Named())
        return FALSE;
    return WritePrivateProfileStringA(settingsSection.c_str(), key, value, settingsPath.c_str());
}

BOOL SettingsFile::WriteSettingInt(const char* key, int value) const
{
    char text[16];
    wsprintfA(text, "%d", value);
    return WriteSettingString(key, text);
}
