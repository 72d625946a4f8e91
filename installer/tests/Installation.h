// The installer beside this test program, run as a user or an administrator would run it,
// and what an installation leaves on the system: files, shortcut, registry entries.
#pragma once

#include <windows.h>

#include <string>

namespace installation {

const char uninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Swivelkin";
const char layoutKey[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const char quorvexKey[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";

std::string ProgramDirectory();        // this test program's folder
std::string InstallDirectory();        // where the installer puts the programs by default
std::string StartMenuShortcut();       // the shortcut it makes for all users
std::string TempFolder();              // a fresh folder with spaces in its name

// Runs a command line and waits for it to end; its exit code, or -1 when it did not start
// or end within `timeout` ms.
long RunAndWait(const std::string& commandLine, DWORD timeout = 30000);

// The silent install (/S) into the default folder; true on exit code 0.
bool InstallSilently();
// The silent uninstall as Add/Remove Programs starts it. The uninstaller hands over to a
// copy of itself in the temp folder and ends at once, so this waits for the Add/Remove
// entry, which the copy removes last. True when the entry has gone.
bool UninstallSilently();

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string FileBytes(const std::string& path);  // "" when it cannot be read
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A registry value as text (REG_SZ as is, other types as their raw bytes), or "<missing>".
std::string RegistryValue(HKEY root, const std::string& key, const char* name);
bool RegistryKeyExists(HKEY root, const std::string& key);
void SetRegistryValue(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes);
void DeleteRegistryKey(HKEY root, const std::string& key);
void DeleteRegistryValue(HKEY root, const std::string& key, const char* name);

// The file a shortcut points at, or "" when it cannot be read.
std::string ShortcutTarget(const std::string& shortcut);

// Waits, checking every 20 ms, until `done` holds; false after `timeout` ms.
template <typename Done>
bool WaitFor(Done done, DWORD timeout = 10000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace installation
