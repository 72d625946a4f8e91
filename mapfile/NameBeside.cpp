#include "NameBeside.h"

namespace {

// The length of the character at `p`: 2 for a lead byte with a trail byte after it.
int CharLength(const char* p, LeadByteRule isLeadByte)
{
    return isLeadByte(static_cast<unsigned char>(p[0])) && p[1] ? 2 : 1;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

int FileNameStart(const char* path, LeadByteRule isLeadByte)
{
    int start = IsDriveLetter(path[0]) && path[1] == ':' ? 2 : 0;
    for (int i = 0; path[i]; i += CharLength(path + i, isLeadByte))
        if (path[i] == '\\' || path[i] == '/')
            start = i + 1;
    return start;
}

int PrepareNameBeside(char* name, int length, LeadByteRule isLeadByte)
{
    const int start = FileNameStart(name, isLeadByte);
    const int nameLength = length - start;
    if (nameLength <= 0)
        return 0;
    const int digits = nameLength >= 5 ? 4 : nameLength > 1 ? nameLength - 1 : 1;
    const int tail = digits + (nameLength > 1 ? 1 : 0);
    // The last character that starts at or before the tail's first byte.
    int from = start;
    for (int i = start; i <= length - tail; i += CharLength(name + i, isLeadByte))
        from = i;
    for (int i = from; i < length - digits; ++i)
        name[i] = '~';
    return digits;
}

void PutDigits(char* name, int length, int digits, unsigned long value)
{
    static const char hexDigits[] = "0123456789abcdef";
    for (int i = 1; i <= digits; ++i, value >>= 4)
        name[length - i] = hexDigits[value & 15];
}
