// The temporary name beside a file, walked by whole characters: with the lead bytes of
// code page 932 (Japanese) and with none, as on code page 1252.
#include "NameBeside.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool NoLeadBytes(unsigned char) { return false; }

// Shift-JIS: 0x81-0x9F and 0xE0-0xFC start a double-byte character.
bool Japanese(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The pattern for `path`, with the digits shown as "#".
std::string Pattern(const std::string& path, LeadByteRule rule)
{
    std::string name = path;
    const int length = static_cast<int>(name.size());
    const int digits = PrepareNameBeside(&name[0], length, rule);
    for (int i = 0; i < digits; ++i)
        name[length - 1 - i] = '#';
    return digits == 0 ? "(none)" : name;
}

TEST(NameBeside, TheFileNameStartsAfterEitherSlashOrTheDriveColon)
{
    struct {
        const char* path;
        int start;
    } cases[] = {
        {"C:\\maps\\x.swm", 8}, {"C:/d/x.swm", 5},   {"C:x.swm", 2},      {"x.swm", 0},
        {"\\\\server\\share\\x", 15}, {"d\\e/f", 4}, {"C:", 2},           {"1:x", 0},
        {"maps\\", 5},            {"", 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.start, FileNameStart(c.path, NoLeadBytes)) << c.path;

    // "ソ" is 83 5C: its trail byte is no backslash.
    EXPECT_EQ(3, FileNameStart("C:\\\x83\x5C.swm", Japanese));
    EXPECT_EQ(8, FileNameStart("C:\\\x83\x5C\\d\\x.swm", Japanese));
    EXPECT_EQ(5, FileNameStart("C:\\\x83\x5C.swm", NoLeadBytes));
}

TEST(NameBeside, ThePatternIsAsLongAsThePathAndKeepsWholeCharacters)
{
    struct {
        const char* path;
        LeadByteRule rule;
        const char* pattern;
    } cases[] = {
        {"C:\\maps\\caps.swm", NoLeadBytes, "C:\\maps\\cap~####"},
        {"C:\\maps\\abcd", NoLeadBytes, "C:\\maps\\~###"},
        {"C:\\maps\\abc", NoLeadBytes, "C:\\maps\\~##"},
        {"C:\\maps\\a", NoLeadBytes, "C:\\maps\\#"},
        {"C:\\d\\abc/x", NoLeadBytes, "C:\\d\\abc/#"},
        {"C:x", NoLeadBytes, "C:#"},
        {"C:xy.swm", NoLeadBytes, "C:x~####"},
        {"C:\\maps\\", NoLeadBytes, "(none)"},
        {"C:", NoLeadBytes, "(none)"},
        // あいう: the "~" would fall on the trail byte of あ, so the whole character goes.
        {"C:\\d\\\x82\xA0\x82\xA2\x82\xA4", Japanese, "C:\\d\\~~####"},
        // ソ.swm: its 5C is part of the name, and the "~" may not follow its lead byte.
        {"C:\\d\\\x83\x5C.swm", Japanese, "C:\\d\\~~####"},
        {"C:\\d\\a\x83\x5C.swm", Japanese, "C:\\d\\a~~####"},
        {"C:\\d\\\x82\xA0", Japanese, "C:\\d\\~#"},
        {"C:\\d\\\x82\xA0\x82\xA2", Japanese, "C:\\d\\~###"},
        {"C:\\d\\x\x82\xA0\x82\xA2", Japanese, "C:\\d\\~####"},
        // The same bytes on a code page without double-byte characters.
        {"C:\\d\\\x82\xA0\x82\xA2\x82\xA4", NoLeadBytes, "C:\\d\\\x82~####"},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.pattern, Pattern(c.path, c.rule)) << c.path;
}

TEST(NameBeside, DigitsAreTheLowHexDigitsOfTheValue)
{
    char name[] = "C:\\d\\~####";
    PutDigits(name, 10, 4, 0x12ABCDEFul);
    EXPECT_STREQ("C:\\d\\~cdef", name);
    PutDigits(name, 10, 1, 0x10ul);
    EXPECT_STREQ("C:\\d\\~cde0", name);
}

}  // namespace
