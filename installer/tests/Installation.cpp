#include "Installation.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace installation {

namespace {

std::string FolderOf(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

}  // namespace

std::string ProgramDirectory()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory = path;
    return directory.substr(0, directory.rfind('\\'));
}

std::string InstallDirectory() { return FolderOf(CSIDL_PROGRAM_FILES) + "\\Swivelkin"; }

std::string StartMenuShortcut() { return FolderOf(CSIDL_COMMON_PROGRAMS) + "\\Swivelkin.lnk"; }

std::string TempFolder()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "Swivelkin installer " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

long RunAndWait(const std::string& commandLine, DWORD timeout)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeout) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

bool InstallSilently()
{
    return RunAndWait("\"" + ProgramDirectory() + "\\Swivelkin-2.0-setup.exe\" /S") == 0;
}

bool UninstallSilently()
{
    if (RunAndWait("\"" + InstallDirectory() + "\\Uninstall.exe\" /S") != 0)
        return false;
    return WaitFor([] { return !RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey); }, 30000);
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string RegistryValue(HKEY root, const std::string& key, const char* name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "<missing>";
    DWORD type = 0, size = 0;
    std::string value = "<missing>";
    if (RegQueryValueExA(handle, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        if (RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size) ==
            ERROR_SUCCESS) {
            bytes.resize(size);
            if (type == REG_SZ && !bytes.empty() && bytes.back() == '\0')
                bytes.pop_back();
            value = bytes;
        }
    }
    RegCloseKey(handle);
    return value;
}

bool RegistryKeyExists(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void SetRegistryValue(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(handle);
}

void DeleteRegistryKey(HKEY root, const std::string& key) { RegDeleteKeyA(root, key.c_str()); }

void DeleteRegistryValue(HKEY root, const std::string& key, const char* name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(handle, name);
    RegCloseKey(handle);
}

std::string ShortcutTarget(const std::string& shortcut)
{
    std::string target;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring wide(shortcut.begin(), shortcut.end());
            char path[MAX_PATH] = "";
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
                target = path;
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return target;
}

}  // namespace installation
