#include "SharedBlockSecurity.h"

namespace {

// Windows 95/98/ME have no such calls (or only stubs), so they are looked up at run time.
template <class Call>
Call Advapi(const char* name)
{
    HMODULE module = GetModuleHandleA("ADVAPI32.DLL");
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Call>(reinterpret_cast<void*>(found));
}

}  // namespace

SharedBlockSecurity::SharedBlockSecurity() : tokenUser_(), acl_(), descriptor_(), attributes_(), ready_(false)
{
    ready_ = Build();
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
}

bool SharedBlockSecurity::Build()
{
    typedef BOOL(WINAPI * OpenProcessTokenCall)(HANDLE, DWORD, PHANDLE);
    typedef BOOL(WINAPI * GetTokenInformationCall)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    typedef DWORD(WINAPI * GetLengthSidCall)(PSID);
    typedef BOOL(WINAPI * InitializeAclCall)(PACL, DWORD, DWORD);
    typedef BOOL(WINAPI * AddAccessAllowedAceCall)(PACL, DWORD, DWORD, PSID);
    typedef BOOL(WINAPI * InitializeSecurityDescriptorCall)(PSECURITY_DESCRIPTOR, DWORD);
    typedef BOOL(WINAPI * SetSecurityDescriptorDaclCall)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return false;
    OpenProcessTokenCall openToken = Advapi<OpenProcessTokenCall>("OpenProcessToken");
    GetTokenInformationCall query = Advapi<GetTokenInformationCall>("GetTokenInformation");
    GetLengthSidCall sidLength = Advapi<GetLengthSidCall>("GetLengthSid");
    InitializeAclCall initAcl = Advapi<InitializeAclCall>("InitializeAcl");
    AddAccessAllowedAceCall allow = Advapi<AddAccessAllowedAceCall>("AddAccessAllowedAce");
    InitializeSecurityDescriptorCall initDescriptor =
        Advapi<InitializeSecurityDescriptorCall>("InitializeSecurityDescriptor");
    SetSecurityDescriptorDaclCall setDacl = Advapi<SetSecurityDescriptorDaclCall>("SetSecurityDescriptorDacl");
    if (!openToken || !query || !sidLength || !initAcl || !allow || !initDescriptor || !setDacl)
        return false;

    HANDLE token = nullptr;
    if (!openToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    BOOL known = query(token, TokenUser, tokenUser_.bytes, sizeof tokenUser_.bytes, &size);
    CloseHandle(token);
    if (!known)
        return false;
    PSID user = reinterpret_cast<TOKEN_USER*>(tokenUser_.bytes)->User.Sid;
    PACL acl = reinterpret_cast<PACL>(acl_.bytes);
    DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sidLength(user);
    return aclSize <= sizeof acl_.bytes && initAcl(acl, aclSize, ACL_REVISION) &&
           allow(acl, ACL_REVISION, FILE_MAP_ALL_ACCESS, user) &&
           initDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) && setDacl(&descriptor_, TRUE, acl, FALSE);
}
