// The settings file on real private-profile files.
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace window_driver;

namespace {

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Settings : ::testing::Test {
    void SetUp() override
    {
        settings.OpenSettings();
        DeleteFileA(settings.settingsPath.c_str());
    }
    void TearDown() override { DeleteFileA(settings.settingsPath.c_str()); }
    SettingsFile settings;
};

TEST_F(Settings, LiveBesideTheProgramAsSwivelkinIniWhateverItsName)
{
    std::string directory = ProgramDirectory().c_str();
    EXPECT_EQ(directory + "\\SWIVELKIN.INI", settings.settingsPath);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    EXPECT_EQ(std::string::npos, std::string(exe).find("Swivelkin.exe"));  // this program has another name
    EXPECT_EQ(directory, std::string(exe).substr(0, directory.size()));
}

TEST_F(Settings, SectionIsTheUserNameOrDefault)
{
    char name[257];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    EXPECT_EQ(std::string(name) + ".Settings", settings.settingsSection);
    EXPECT_EQ("Default.Settings", SettingsSectionFor(nullptr));
    EXPECT_EQ("alice.Settings", SettingsSectionFor("alice"));
}

TEST_F(Settings, MissingFileGivesDefaults)
{
    EXPECT_EQ("", settings.ReadSettingString("SavePath", ""));
    EXPECT_EQ(1, settings.ReadSettingInt("WarnRestart", 1));
    EXPECT_EQ(0, settings.ReadSettingInt("NoColor", 0));
    EXPECT_FALSE(FileExists(settings.settingsPath.c_str()));
}

TEST_F(Settings, TwoUsersKeepIndependentSectionsInOneFile)
{
    SettingsFile alice = settings, bob = settings;
    alice.settingsSection = "alice.Settings";
    bob.settingsSection = "bob.Settings";
    EXPECT_TRUE(alice.WriteSettingString("SavePath", "C:\\alice"));
    EXPECT_TRUE(bob.WriteSettingString("SavePath", "C:\\bob"));
    EXPECT_TRUE(bob.WriteSettingInt("WarnRestart", 0));
    EXPECT_EQ("C:\\alice", alice.ReadSettingString("SavePath", ""));
    EXPECT_EQ("C:\\bob", bob.ReadSettingString("SavePath", ""));
    EXPECT_EQ(1, alice.ReadSettingInt("WarnRestart", 1));
    EXPECT_EQ(0, bob.ReadSettingInt("WarnRestart", 1));
    std::string text = FileText(settings.settingsPath.c_str());
    EXPECT_NE(std::string::npos, text.find("[alice.Settings]"));
    EXPECT_NE(std::string::npos, text.find("[bob.Settings]"));
    EXPECT_NE(std::string::npos, text.find("WarnRestart=0"));
}

TEST_F(Settings, APathLeftWithoutMemoryNamesNoFile)
{
    ASSERT_TRUE(settings.WriteSettingString("SavePath", "C:\\maps"));
    ASSERT_TRUE(settings.WriteSettingInt("WarnRestart", 0));
    // The program's folder that memory ran out for, joined as OpenSettings joins it.
    Text directory = ProgramDirectory();
    directory.append("", static_cast<std::size_t>(-1));
    SettingsFile cut = settings;
    cut.settingsPath = directory + "\\SWIVELKIN.INI";
    ASSERT_TRUE(cut.settingsPath.failed());

    EXPECT_EQ("", cut.ReadSettingString("SavePath", ""));
    EXPECT_EQ(1, cut.ReadSettingInt("WarnRestart", 1));
    EXPECT_FALSE(cut.WriteSettingInt("NoColor", 1));
    EXPECT_FALSE(cut.WriteSettingString("SavePath", "C:\\other"));
    EXPECT_FALSE(FileExists("\\SWIVELKIN.INI"));
    EXPECT_EQ(std::string::npos, FileText(settings.settingsPath.c_str()).find("NoColor"));
}

struct SettingsAtOpening : WindowTest {};

TEST_F(SettingsAtOpening, OpeningAndClosingTheWindowWritesNoFile)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND) {
        EXPECT_EQ(1, window.warnRestart);
        EXPECT_EQ(0, window.noColor);
    });
    EXPECT_FALSE(FileExists(application.settings.settingsPath.c_str()));
}

TEST_F(SettingsAtOpening, WindowReadsWarnRestartAndNoColor)
{
    application.settings.WriteSettingInt("WarnRestart", 0);
    application.settings.WriteSettingInt("NoColor", 1);
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND) {
        EXPECT_EQ(0, window.warnRestart);
        EXPECT_EQ(1, window.noColor);
    });
}

// The folder the file dialogs start in, on the same clean settings file.
struct SavePath : Settings {};

TEST_F(SavePath, IsTheProgramDirectoryWithoutASettingAndNothingIsWritten)
{
    EXPECT_EQ(ProgramDirectory(), SavePathSetting(settings));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settings.settingsPath.c_str()));
    settings.WriteSettingString("SavePath", "");
    EXPECT_EQ(ProgramDirectory(), SavePathSetting(settings));
}

TEST_F(SavePath, IsTheSettingWhenThereIsOne)
{
    settings.WriteSettingString("SavePath", "C:\\my maps");
    EXPECT_EQ("C:\\my maps", SavePathSetting(settings));
}

}  // namespace
