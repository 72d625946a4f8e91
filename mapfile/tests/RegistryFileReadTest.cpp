#include "MapFileFormats.h"
#include "RegistryFile.h"
#include "MemoryBytes.h"
#include "RegistryText.h"

#include <gtest/gtest.h>

namespace {

struct Decoded {
    MapFile::Result result;
    Records records;
};

Decoded decode(const Bytes& file)
{
    MemorySource source(file.data(), file.size());
    MapRecords records;
    MapFile::Result result = RegistryFile::decode(source, records);
    return {result, recordsOf(records)};
}

const std::string key = layoutKeyLine;
const std::string capsToCtrl = "00,00,00,00,00,00,00,00,02,00,00,00,1d,00,3a,00,00,00,00,00";
// Caps Lock to Left Ctrl, Left Windows off, Escape and F1 swapped: (to, from) in stored order.
const Records capsWindowsEscapeF1 = {{0x001D, 0x003A}, {0x0000, 0xE05B}, {0x003B, 0x0001}, {0x0001, 0x003B}};

TEST(RegistryFileRead, TakesTheValueInEveryFormRegeditReadsOrWrites)
{
    struct Case {
        const char* title;
        Bytes file;
        Records records;
    };
    const std::string v5 = "Windows Registry Editor Version 5.00";
    const Case cases[] = {
        {"REGEDIT4, CRLF", narrow("REGEDIT4\r\n\r\n" + key + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n\r\n"),
         {{0x1D, 0x3A}}},
        {"version 5, LF, no final line end", narrow(v5 + "\n\n" + key + "\n\"ScanCode Map\"=hex:" + capsToCtrl),
         {{0x1D, 0x3A}}},
        {"version 5 in UTF-16 with its mark",
         utf16WithMark(v5 + "\r\n\r\n" + key + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n\r\n"), {{0x1D, 0x3A}}},
        {"blank lines, comments, blanks after the signature",
         narrow("REGEDIT4  \r\n; Caps Lock as Ctrl\r\n\r\n   \r\n" + key + "\r\n  ; the value\r\n\r\n\"ScanCode Map\"=hex:" +
                capsToCtrl + "\r\n"),
         {{0x1D, 0x3A}}},
        {"continued lines, also with blanks around the backslash and before the first pair",
         narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=hex:\\\n  00,00,00,00,00,00,00,00,\\\n"
                "02,00,00,00,1d,00,3a,00, \\  \n\t\t00,00,00,00\n"),
         {{0x1D, 0x3A}}},
        {"blanks around = and between pairs",
         narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\" \t=  hex: 00, 00 ,00,00,00,00,00,00,02,00,00,00,1d,00,3a,00,"
                "00,00,00 ,00  \n"),
         {{0x1D, 0x3A}}},
        {"any case in the key path, the name, the type and the digits",
         narrow("REGEDIT4\n[hkey_local_machine\\system\\currentcontrolset\\control\\KEYBOARD LAYOUT]\n"
                "\"scancode map\"=HEX:00,00,00,00,00,00,00,00,02,00,00,00,1D,00,3A,00,00,00,00,00\n"),
         {{0x1D, 0x3A}}},
        {"hex(3), the binary type named", narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=hex(3):" + capsToCtrl + "\n"),
         {{0x1D, 0x3A}}},
        {"the value deleted", narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=-\n"), {}},
        {"an empty value", narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=hex:\n"), {}},
        {"the empty map", narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,00,00,00,00,00,00,00\n"),
         {}},
        {"among other keys and values",
         narrow("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\"ScanCode Map\"=hex:01,02\n\n" + key +
                "\n@=\"default\"\n\"Attributes\"=dword:00000000\n\"Path\"=\"C:\\\\a \\\"b\\\"\\\\\"\n"
                "\"Other\"=hex:01,02,\\\n  \"ScanCode Map\"=hex:99\n\"ScanCode Map\"=hex:" + capsToCtrl +
                "\n\"Later\"=hex(7):41,00,00,00\n\n" + key.substr(0, key.size() - 1) + "\\Preload]\n\"1\"=\"00000409\"\n"),
         {{0x1D, 0x3A}}},
        {"the last time it is set counts",
         narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,00,00,00,00,00,00,00\n"
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\n" + key + "\n\"ScanCode Map\"=hex:" + capsToCtrl + "\n"),
         {{0x1D, 0x3A}}},
        {"set, then deleted", narrow("REGEDIT4\n" + key + "\n\"ScanCode Map\"=hex:" + capsToCtrl + "\n\"ScanCode Map\"=-\n"),
         {}},
        {"as Wine's regedit exports the key with its subkeys", fixture("regedit-keyboard-layout.reg"),
         capsWindowsEscapeF1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Decoded decoded = decode(c.file);
        EXPECT_EQ(MapFile::Ok, decoded.result);
        EXPECT_EQ(c.records, decoded.records);
    }
}

TEST(RegistryFileRead, RefusesFilesThatDoNotSetAValidValue)
{
    struct Case {
        const char* title;
        Bytes file;
        MapFile::Result result;
    };
    const std::string start = "REGEDIT4\r\n\r\n" + key + "\r\n\"ScanCode Map\"=";
    const Case cases[] = {
        {"no value", narrow("REGEDIT4\r\n\r\n" + key + "\r\n\"Attributes\"=dword:00000000\r\n"), MapFile::NoScancodeMap},
        {"only the signature", narrow("REGEDIT4"), MapFile::NoScancodeMap},
        {"under another key", narrow("REGEDIT4\r\n[HKEY_CURRENT_USER\\Keyboard Layout]\r\n\"ScanCode Map\"=hex:" +
                                     capsToCtrl + "\r\n"),
         MapFile::NoScancodeMap},
        {"under a subkey", narrow("REGEDIT4\r\n" + key.substr(0, key.size() - 1) + "\\Preload]\r\n\"ScanCode Map\"=hex:" +
                                  capsToCtrl + "\r\n"),
         MapFile::NoScancodeMap},
        {"before any key", narrow("REGEDIT4\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n"), MapFile::NoScancodeMap},
        {"under the key as it is deleted",
         narrow("REGEDIT4\r\n[-" + key.substr(1) + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n"),
         MapFile::NoScancodeMap},
        {"key line not closed", narrow("REGEDIT4\r\n" + key.substr(0, key.size() - 1) + "\r\n\"ScanCode Map\"=hex:" +
                                       capsToCtrl + "\r\n"),
         MapFile::NoScancodeMap},
        {"a digit that is no hex", narrow(start + "hex:00,00,00,00,00,00,00,00,02,00,00,00,1d,00,3g,00,00,00,00,00\r\n"),
         MapFile::BadScancodeMap},
        {"one digit", narrow(start + "hex:0,00,00,00,00,00,00,00,01,00,00,00,00,00,00,00\r\n"), MapFile::BadScancodeMap},
        {"three digits", narrow(start + "hex:000,00,00,00,00,00,00,00,01,00,00,00,00,00,00,00\r\n"), MapFile::BadScancodeMap},
        {"a comma at the end", narrow(start + "hex:" + capsToCtrl + ",\r\n"), MapFile::BadScancodeMap},
        {"two commas", narrow(start + "hex:00,,00\r\n"), MapFile::BadScancodeMap},
        {"pairs without commas", narrow(start + "hex:00 00\r\n"), MapFile::BadScancodeMap},
        {"something after the data", narrow(start + "hex:" + capsToCtrl + " ; caps\r\n"), MapFile::BadScancodeMap},
        {"count 3 for two entries", narrow(start + "hex:00,00,00,00,00,00,00,00,03,00,00,00,1d,00,3a,00,00,00,00,00\r\n"),
         MapFile::BadScancodeMap},
        {"count 0", narrow(start + "hex:00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00\r\n"), MapFile::BadScancodeMap},
        {"terminator not 0", narrow(start + "hex:00,00,00,00,00,00,00,00,02,00,00,00,1d,00,3a,00,01,00,00,00\r\n"),
         MapFile::BadScancodeMap},
        {"12 bytes", narrow(start + "hex:00,00,00,00,00,00,00,00,01,00,00,00\r\n"), MapFile::BadScancodeMap},
        {"truncated continued line", narrow(start + "hex:00,00,00,00,00,00,00,00,02,00,00,00,\\\r\n"),
         MapFile::BadScancodeMap},
        {"file ends at the backslash", narrow(start + "hex:00,00,00,00,00,00,00,00,02,00,00,00,\\"),
         MapFile::BadScancodeMap},
        {"something after the backslash", narrow(start + "hex:00,00,00,00,\\ x\r\n  00\r\n"), MapFile::BadScancodeMap},
        {"a continued line that is blank", narrow(start + "hex:00,00,00,00,\\\r\n\r\n  00,00\r\n"),
         MapFile::BadScancodeMap},
        {"a double word", narrow(start + "dword:00000000\r\n"), MapFile::BadScancodeMap},
        {"a string", narrow(start + "\"00\"\r\n"), MapFile::BadScancodeMap},
        {"another hex type", narrow(start + "hex(2):" + capsToCtrl + "\r\n"), MapFile::BadScancodeMap},
        {"hex( without its type", narrow(start + "hex():" + capsToCtrl + "\r\n"), MapFile::BadScancodeMap},
        {"something after the deletion", narrow(start + "- x\r\n"), MapFile::BadScancodeMap},
        {"a bad value before a good one",
         narrow(start + "hex:0x\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n"), MapFile::BadScancodeMap},
        {"UTF-16 without its mark",
         utf16WithoutMark("REGEDIT4\r\n" + key + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl),
         MapFile::NotValid},
        {"a signature in other case", narrow("regedit4\r\n" + key + "\r\n\"ScanCode Map\"=-\r\n"), MapFile::NotValid},
        {"another signature", narrow("REGEDIT5\r\n" + key + "\r\n\"ScanCode Map\"=-\r\n"), MapFile::NotValid},
        {"a signature not alone on its line", narrow("REGEDIT4 x\r\n" + key + "\r\n\"ScanCode Map\"=-\r\n"), MapFile::NotValid},
        {"an empty file", Bytes{}, MapFile::NotValid},
        {"a map file", Bytes{0x0D} + narrow("Swivelkin 2.0") + le32(0), MapFile::NotValid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Decoded decoded = decode(c.file);
        EXPECT_EQ(c.result, decoded.result);
        EXPECT_EQ(Records{}, decoded.records);
    }
}

TEST(RegistryFileRead, MessagesNameTheFile)
{
    EXPECT_STREQ("%s\ndoes not set the \"ScanCode Map\" value.", MapFile::failureMessage(MapFile::NoScancodeMap));
    EXPECT_STREQ("%s\nholds a \"ScanCode Map\" value that is not valid.", MapFile::failureMessage(MapFile::BadScancodeMap));
}

TEST(RegistryFileRead, RecognisesARegistryFileByItsFirstLine)
{
    const std::pair<Bytes, bool> cases[] = {
        {narrow("REGEDIT4\r\n"), true},
        {narrow("REGEDIT4"), true},
        {narrow("REGEDIT4 \t\n[x]"), true},
        {narrow("Windows Registry Editor Version 5.00\r\n\r\n"), true},
        {utf16WithMark("Windows Registry Editor Version 5.00\r\n\r\n"), true},
        {utf16WithMark("REGEDIT4\r\n"), true},
        {utf16WithoutMark("REGEDIT4\r\n"), false},
        {narrow("REGEDIT 4\r\n"), false},
        {narrow(std::string("REGEDIT4\0\r\n", 11)), false},
        {narrow(std::string("Windows Registry Editor Version 5.00\0\r\n", 39)), false},
        {narrow("Windows Registry Editor Version 5.0\r\n"), false},
        {narrow("\r\nREGEDIT4\r\n"), false},
        {Bytes{0x0D} + narrow("Swivelkin 2.0") + le32(0), false},
        {Bytes{0xFF, 0xFE, 0xFF, 0x0D, 0x00}, false},
        {Bytes{}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first.begin(), c.first.end()));
        EXPECT_EQ(c.second, RegistryFile::recognise(c.first.data(), c.first.size()));
    }
}

// Both forms come through the one decoder that Load uses, whatever their length.
TEST(MapFileFormats, TellsTheFormsApartByTheirContent)
{
    Records many;
    Bytes longMap = header() + le32(40);
    for (int i = 0; i < 40; ++i) {
        many.push_back({0x1D, static_cast<ScanCode>(0x3A + i % 3)});
        longMap = longMap + record(0x1D, static_cast<ScanCode>(0x3A + i % 3));
    }
    struct Case {
        const char* title;
        Bytes file;
        MapFile::Result result;
        Records records;
    };
    const Case cases[] = {
        {"a short map file", header() + le32(1) + record(0x1D, 0x3A), MapFile::Ok, {{0x1D, 0x3A}}},
        {"a map file longer than the signature", longMap, MapFile::Ok, many},
        {"a map file cut short", header() + le32(2) + record(0x1D, 0x3A), MapFile::IoError, {}},
        {"a registry file", narrow("REGEDIT4\r\n" + key + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n"),
         MapFile::Ok, {{0x1D, 0x3A}}},
        {"regedit's export", fixture("regedit-keyboard-layout.reg"), MapFile::Ok, capsWindowsEscapeF1},
        {"a registry file without the value", narrow("REGEDIT4\r\n"), MapFile::NoScancodeMap, {}},
        // Neither: read as a map file, as before there were registry files.
        {"neither", narrow("REGEDIT 4\r\n" + key + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl), MapFile::NotValid, {}},
        {"neither, shorter than the header it seems to declare", narrow("REGEDIT 4\r\n"), MapFile::IoError, {}},
        {"UTF-16 without its mark", utf16WithoutMark("REGEDIT4\r\n" + key + "\r\n\"ScanCode Map\"=-\r\n"),
         MapFile::NotValid, {}},
        {"empty", Bytes{}, MapFile::IoError, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        MemorySource source(c.file.data(), c.file.size());
        MapRecords records;
        EXPECT_EQ(c.result, MapFileFormats::decode(source, records));
        EXPECT_EQ(c.records, recordsOf(records));
    }
}

// Save picks the form by the name it is given.
TEST(MapFileFormats, WritesARegistryFileForANameEndingInReg)
{
    MappingList list;
    list.append(0x3A, 0x1D);
    MemorySink swm, reg;
    ASSERT_TRUE(MapFileFormats::encode("C:\\maps\\caps.swm", list, swm));
    ASSERT_TRUE(MapFileFormats::encode("C:\\maps\\caps.Reg", list, reg));
    EXPECT_EQ(header() + le32(1) + record(0x1D, 0x3A), swm.bytes);
    EXPECT_EQ(narrow("REGEDIT4\r\n\r\n" + key + "\r\n\"ScanCode Map\"=hex:" + capsToCtrl + "\r\n\r\n"), reg.bytes);
}

}  // namespace
