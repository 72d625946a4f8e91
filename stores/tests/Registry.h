// Real registry values for store tests, under HKEY_LOCAL_MACHINE of the test prefix.
#pragma once

#include <windows.h>

#include <string>

#include "Bytes.h"

namespace testing_registry {

inline void setValue(const char* keyPath, const char* name, DWORD type, const Bytes& data)
{
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

inline void deleteValue(const char* keyPath, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

inline void createKey(const char* keyPath)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

inline bool keyExists(const char* keyPath)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Gives the key a DACL that grants nobody anything, as an administrator can; false when
// the key could not be changed.
inline bool denyAllAccess(const char* keyPath)
{
    createKey(keyPath);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR descriptor;
    ACL emptyAcl;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE);
    bool denied = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
    return denied;
}

// Gives the key a DACL that lets everybody read it and nobody write it, as HKEY_LOCAL_MACHINE
// is for a user without administrator rights; false when the key could not be changed.
inline bool allowOnlyReading(const char* keyPath)
{
    createKey(keyPath);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    union {
        unsigned char bytes[64];
        DWORD align;
    } acl;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    bool made = everyone && InitializeAcl(reinterpret_cast<PACL>(acl.bytes), sizeof acl.bytes, ACL_REVISION) &&
                AddAccessAllowedAce(reinterpret_cast<PACL>(acl.bytes), ACL_REVISION, KEY_READ, everyone) &&
                SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(acl.bytes), FALSE) &&
                RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    if (everyone)
        FreeSid(everyone);
    RegCloseKey(key);
    return made;
}

// Opens the key to everybody again, whatever its DACL: the owner may always rewrite it.
inline void allowAllAccess(const char* keyPath)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);  // no DACL: open to all
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key);
}

struct Value {
    bool exists = false;
    DWORD type = 0;
    Bytes data;
};

inline Value readValue(const char* keyPath, const char* name)
{
    Value value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.exists = RegQueryValueExA(key, name, nullptr, nullptr, value.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

}  // namespace testing_registry
