// The map file named on the command line.
#include "CommandLine.h"
#include "TextInTests.h"

#include <gtest/gtest.h>

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

}  // namespace
