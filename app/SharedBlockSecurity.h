// The security of the block shared by the copies of the program. By default a block made by
// a copy started with "Run as administrator" is open to administrators only, and the same
// user's unelevated copies (a ".swm" double-clicked beside it) could not reach it; this one
// is open to every copy of this user.
#pragma once

#include <windows.h>

class SharedBlockSecurity {
public:
    // Builds the descriptor: full access for the user of this process, nobody else.
    SharedBlockSecurity();
    SharedBlockSecurity(const SharedBlockSecurity&) = delete;
    SharedBlockSecurity& operator=(const SharedBlockSecurity&) = delete;

    // For CreateFileMappingA: null, the default security, where Windows has none (95/98/ME)
    // or the descriptor could not be made.
    SECURITY_ATTRIBUTES* Attributes() { return ready_ ? &attributes_ : nullptr; }

private:
    bool Build();

    // Room for the token's user and for an ACL of one entry, with the largest SID there is.
    union {
        unsigned char bytes[128];
        DWORD align;
    } tokenUser_, acl_;
    SECURITY_DESCRIPTOR descriptor_;
    SECURITY_ATTRIBUTES attributes_;
    bool ready_;
};
