// What the command line names: the map file, or a switch and its file.
#include "CommandLine.h"
#include "TextInTests.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* line;
    const char* expected;
};

TEST(CommandLine, ArgumentsFollowTheProgramNameQuotedOrNot)
{
    const Case cases[] = {
        {"\"C:\\Program Files\\Swivelkin\\Swivelkin.exe\" C:\\maps\\a.swm", "C:\\maps\\a.swm"},
        {"C:\\Swivelkin\\Swivelkin.exe C:\\maps\\a.swm", "C:\\maps\\a.swm"},
        {"Swivelkin.exe\t\"C:\\my maps\\a.swm\" ", "\"C:\\my maps\\a.swm\" "},
        {"\"C:\\Program Files\\Swivelkin\\Swivelkin.exe\"", ""},
        {"Swivelkin.exe", ""},
        {"\"C:\\no closing quote.exe a.swm", ""},
        {"\"C:\\Swivelkin.exe\"a.swm", "a.swm"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, ArgumentsAfterProgramName(c.line)) << c.line;
    EXPECT_STREQ("", ArgumentsAfterProgramName(nullptr));
}

TEST(CommandLine, NamesOneFileTrimmedOfWhiteSpaceAndOneQuoteAtEachEnd)
{
    const Case cases[] = {
        {"C:\\maps\\a.swm", "C:\\maps\\a.swm"},
        {"\"C:\\my maps\\caps to ctrl.swm\"", "C:\\my maps\\caps to ctrl.swm"},
        {"C:\\my maps\\no quotes.swm", "C:\\my maps\\no quotes.swm"},
        // Not split into arguments: only the outermost quotes go.
        {"\"C:\\a.swm\" \"C:\\b.swm\"", "C:\\a.swm\" \"C:\\b.swm"},
        {"\"\"C:\\a.swm\"\"", "\"C:\\a.swm\""},
        {" \t\r\n\v\fC:\\a.swm\f\v\n\r\t ", "C:\\a.swm"},
        {"\t\"C:\\my maps\\a.swm\"\r\n", "C:\\my maps\\a.swm"},
        {"\"C:\\half quoted.swm", "C:\\half quoted.swm"},
        {"C:\\half quoted.swm\"", "C:\\half quoted.swm"},
        {"\" C:\\a.swm \"", " C:\\a.swm "},
        // No file named.
        {"", ""},
        {" \t\r\n\v\f ", ""},
        {"\"", ""},
        {"  \"  ", ""},
        {"\"\"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CommandLineFileOf(c.line)) << c.line;
}

TEST(SwitchParsing, TheFirstWordIsASwitchWhenItStartsWithSlashOrDash)
{
    struct Case {
        const char* arguments;
        SwitchCommand command;
        const char* file;
        bool force = false;
    };
    const Case cases[] = {
        {"/apply /force a.swm", ApplySwitch, "a.swm", true},
        {" -APPLY  -Force \"C:\\my maps\\b.swm\" ", ApplySwitch, "C:\\my maps\\b.swm", true},
        {"/apply \"/force\"", ApplySwitch, "/force"},  // quoted: a file's name
        {"/apply /force", WrongSwitch, ""},
        {"/apply /force a.swm b.swm", WrongSwitch, ""},
        {"/apply a.swm /force", WrongSwitch, ""},
        {"/force /apply a.swm", WrongSwitch, ""},
        {"/save /force a.swm", WrongSwitch, ""},
        {"/apply /forced a.swm", WrongSwitch, ""},
        {"/apply a.swm", ApplySwitch, "a.swm"},
        {"-APPLY C:\\maps\\a.swm", ApplySwitch, "C:\\maps\\a.swm"},
        {" \t/Save \"C:\\my maps\\b.swm\"  ", SaveSwitch, "C:\\my maps\\b.swm"},
        {"-save x", SaveSwitch, "x"},
        {"/?", HelpSwitch, ""},
        {"-? ", HelpSwitch, ""},
        {"/apply", WrongSwitch, ""},
        {"/apply \"\"", WrongSwitch, ""},
        {"/save a.swm b.swm", WrongSwitch, ""},
        {"/save \"a b.swm", WrongSwitch, ""},
        {"/save \"a\"b.swm", WrongSwitch, ""},
        {"/? a.swm", WrongSwitch, ""},
        {"/applyx a.swm", WrongSwitch, ""},
        {"/help", WrongSwitch, ""},
        {"-", WrongSwitch, ""},
        // Not a switch: a file to load, as before.
        {"a.swm", NoSwitch, ""},
        {"\"/apply\" a.swm", NoSwitch, ""},
        {"C:\\maps\\-a.swm", NoSwitch, ""},
        {"", NoSwitch, ""},
        {nullptr, NoSwitch, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments ? c.arguments : "(null)");
        SwitchLine parsed = ParseSwitch(c.arguments);
        EXPECT_EQ(c.command, parsed.command);
        if (c.command == ApplySwitch || c.command == SaveSwitch) {
            EXPECT_EQ(c.file, std::string(parsed.file, parsed.fileLength));
            EXPECT_EQ(c.force, parsed.force);
        }
    }
}

}  // namespace
