#include "TranslationTableStore.h"

#include "KeyboardDriver.h"
#include "SystemCalls.h"

unsigned char translationTable[TranslationTable::size];

namespace {
const char keyPath[] = "System\\CurrentControlSet\\Services\\VxD\\Quorvex";
const char tableValue[] = "KeyMappings";
const char startupValue[] = "StaticVxD";
const char driverFile[] = "Quorvex.VxD";  // written with its terminating NUL: 12 bytes

// Reads the stored table straight into translationTable; false unless all of it came.
bool readStoredTable()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    bool read = RegQueryValueExA(key, tableValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                type == REG_BINARY && size == TranslationTable::size;
    if (read) {
        // Checked again: the value may have changed since the first look.
        read = RegQueryValueExA(key, tableValue, nullptr, &type, translationTable, &size) == ERROR_SUCCESS &&
               type == REG_BINARY && size == TranslationTable::size;
    }
    RegCloseKey(key);
    return read;
}
}  // namespace

int ReadTranslationTableMap(MappingList& list)
{
    if (readStoredTable())
        TranslationTable::decode(translationTable, list);
    else
        TranslationTable::fillIdentity(translationTable);
    return ReadOk;
}

void BuildTranslationTable(const MappingList& list)
{
    TranslationTable::encode(list, translationTable);
}

StoreWriteResult WriteTranslationTable()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return OpenFailed;
    // The start-up entry only follows a stored table: no driver is to load without one.
    bool written = RegSetValueExA(key, tableValue, 0, REG_BINARY, translationTable, TranslationTable::size) ==
                       ERROR_SUCCESS &&
                   RegSetValueExA(key, startupValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(driverFile),
                                  sizeof driverFile) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written ? Written : WriteFailed;
}

BOOL SendTableToDriver()
{
    DriverHandOver handOver = HandTableToDriver();
    if (handOver == DriverNotLoaded) {
        int answer = systemCalls.messageBox(
            GetDesktopWindow(), "Keyboard driver is not yet loaded. Do you want to reboot your system to load it?",
            "Swivelkin", MB_SYSTEMMODAL | MB_YESNO);
        if (answer == IDYES)
            systemCalls.exitWindowsEx(EWX_REBOOT, 0);
        return FALSE;
    }
    return handOver == DriverTookTable;
}

DriverHandOver HandTableToDriver()
{
    if (OpenKeyboardDriver() != 0)
        return DriverNotLoaded;
    DWORD returned = 0;
    BOOL sent = systemCalls.deviceIoControl(driverHandle, setTranslationTableCode, translationTable,
                                            TranslationTable::size, nullptr, 0, &returned, nullptr);
    CloseKeyboardDriver();
    return sent ? DriverTookTable : DriverRefusedTable;
}
