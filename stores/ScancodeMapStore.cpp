#include "ScancodeMapStore.h"

#include <windows.h>

#include <cstdlib>

#include "ScancodeMapValue.h"

namespace {
const char keyPath[] = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout";
const char valueName[] = "ScanCode Map";

// Reads the value from the open key and decodes it into the list.
int readValue(HKEY key, MappingList& list)
{
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return ReadOk;
    if (status != ERROR_SUCCESS)
        return ReadNotQueried;
    if (type != REG_BINARY)
        return ReadWrongType;
    if (size < ScancodeMapValue::minimumSize)
        return ReadBadFormat;
    unsigned char* data = static_cast<unsigned char*>(std::malloc(size));
    if (!data)
        return ReadNoMemory;
    status = RegQueryValueExA(key, valueName, nullptr, nullptr, data, &size);
    int result = status == ERROR_SUCCESS ? ScancodeMapValue::decode(data, size, list) : ReadNotRetrieved;
    std::free(data);
    return result;
}
}  // namespace

int ReadScancodeMap(MappingList& list)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ReadKeyNotOpened;
    int result = readValue(key, list);
    RegCloseKey(key);
    return result;
}

StoreWriteResult WriteScancodeMap(const MappingList& list)
{
    std::size_t size = ScancodeMapValue::encodedSize(list.count());
    unsigned char* data = size ? static_cast<unsigned char*>(std::malloc(size)) : nullptr;
    if (!data)
        return WriteFailed;  // nothing written: the old value stays as it was
    ScancodeMapValue::encode(list, data);
    HKEY key;
    StoreWriteResult result = OpenFailed;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        LONG status = RegSetValueExA(key, valueName, 0, REG_BINARY, data, static_cast<DWORD>(size));
        result = status == ERROR_SUCCESS ? Written : WriteFailed;
        RegCloseKey(key);
    }
    std::free(data);
    return result;
}

bool ScancodeMapWriteDenied()
{
    HKEY key;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_SET_VALUE, &key);
    if (status == ERROR_SUCCESS)
        RegCloseKey(key);
    return status == ERROR_ACCESS_DENIED;
}
