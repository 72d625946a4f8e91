// Registry files as text, for readable tables: the lines of the Keyboard Layout key and its
// value, and the same text as regedit's UTF-16LE files hold it.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "FileBytes.h"

const char layoutKeyLine[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout]";

// UTF-16LE behind the byte-order mark, as regedit writes; only ASCII text is given.
inline Bytes utf16WithMark(const std::string& text)
{
    Bytes out{0xFF, 0xFE};
    for (char c : text)
        out = out + le16(static_cast<unsigned char>(c));
    return out;
}

// The same without the mark, which regedit does not read.
inline Bytes utf16WithoutMark(const std::string& text)
{
    Bytes marked = utf16WithMark(text);
    return Bytes(marked.begin() + 2, marked.end());
}

// A file beside the tests (tests/fixtures), whole.
inline Bytes fixture(const std::string& name)
{
    std::ifstream in(std::string(SWK_FIXTURES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
