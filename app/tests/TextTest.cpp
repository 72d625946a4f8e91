// Text, the program's own string: what the paths and messages rely on.
#include "Text.h"
#include "TextInTests.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(Text, HoldsACopyOfItsCharacters)
{
    char source[] = "C:\\maps";
    Text text = source;
    source[0] = 'D';
    EXPECT_STREQ("C:\\maps", text.c_str());
    EXPECT_EQ(7u, text.size());
    EXPECT_FALSE(text.empty());

    EXPECT_STREQ("", Text().c_str());
    EXPECT_TRUE(Text(nullptr).empty());
    EXPECT_TRUE(Text("").empty());
    EXPECT_EQ(Text("abc", 2), "ab");
}

TEST(Text, CopiesAndMovesLeaveEachTextItsOwn)
{
    Text original = "first";
    Text copy = original;
    copy += "!";
    EXPECT_EQ(original, "first");
    EXPECT_EQ(copy, "first!");

    Text moved = std::move(copy);
    EXPECT_EQ(moved, "first!");
    EXPECT_TRUE(copy.empty());
    EXPECT_STREQ("", copy.c_str());

    Text& alias = moved;
    moved = alias;
    EXPECT_EQ(moved, "first!");
    moved = std::move(alias);
    EXPECT_EQ(moved, "first!");
    original = moved;
    EXPECT_EQ(original, "first!");
}

TEST(Text, FindsCharactersAndPieces)
{
    const Text path = "C:\\a.b\\c.swm";
    EXPECT_EQ(2u, path.find('\\'));
    EXPECT_EQ(6u, path.find('\\', 3));
    EXPECT_EQ(Text::npos, path.find('x'));
    EXPECT_EQ(Text::npos, path.find('C', 1));
    EXPECT_EQ(8u, path.rfind('.'));
    EXPECT_EQ(0u, path.rfind('C'));
    EXPECT_EQ(Text::npos, Text().rfind('.'));
    EXPECT_EQ(Text::npos, Text().find('.'));

    EXPECT_EQ(9u, path.find("swm"));
    EXPECT_EQ(Text::npos, path.find("swmx"));
    EXPECT_EQ(Text::npos, Text("%").find("%s"));
    EXPECT_EQ(1u, Text("a%s%s").find("%s"));
    EXPECT_EQ(3u, Text("a%s%s").find("%s", 2));
}

TEST(Text, CutsAndReplaces)
{
    const Text path = "C:\\maps\\caps.swm";
    struct {
        std::size_t position, count;
        const char* expected;
    } pieces[] = {
        {0, 7, "C:\\maps"}, {8, Text::npos, "caps.swm"}, {12, 100, ".swm"}, {16, 1, ""}, {17, 1, ""},
    };
    for (auto& piece : pieces)
        EXPECT_EQ(path.substr(piece.position, piece.count), piece.expected) << piece.position;

    Text help = path;
    help.erase(12);
    EXPECT_EQ(help, "C:\\maps\\caps");
    help.erase(50);
    EXPECT_EQ(help, "C:\\maps\\caps");
    EXPECT_EQ(help.size(), 12u);

    EXPECT_EQ(Text("Unable to access\n%s.").replace(17, 2, "C:\\x.swm"), "Unable to access\nC:\\x.swm.");
    EXPECT_EQ(Text("%s").replace(0, 2, ""), "");
    EXPECT_EQ(Text("ab%s").replace(2, 10, "cd"), "abcd");
    EXPECT_EQ(Text("ab").replace(5, 1, "cd"), "ab");
}

TEST(Text, JoinsAndCompares)
{
    Text directory = "C:\\maps";
    EXPECT_EQ(directory + "\\SWIVELKIN.INI", "C:\\maps\\SWIVELKIN.INI");
    EXPECT_EQ("Default" + Text(".Settings"), "Default.Settings");
    EXPECT_EQ(directory + directory, "C:\\mapsC:\\maps");

    // Its own characters, also while the block they lie in grows.
    Text twice = "abc";
    twice += twice;
    EXPECT_EQ(twice, "abcabc");
    twice.append(twice.c_str() + 1, 2);
    EXPECT_EQ(twice, "abcabcbc");
    twice += nullptr;
    EXPECT_EQ(twice, "abcabcbc");

    EXPECT_TRUE(Text("a") == "a");
    EXPECT_TRUE("a" == Text("a"));
    EXPECT_TRUE(Text("a") != "ab");
    EXPECT_TRUE(Text("ab") != "a");
    EXPECT_TRUE(Text("a") != Text("A"));
    EXPECT_TRUE(Text() == "");
    EXPECT_TRUE(Text() == Text(""));
    EXPECT_TRUE(Text() == static_cast<const char*>(nullptr));
}

// Memory that runs out is met here as a growth the size cannot hold: the same path, taken
// before anything is read.
Text FailedText()
{
    Text text = "C:\\Program Files\\Swivelkin";
    text.append("", static_cast<std::size_t>(-1));
    return text;
}

TEST(Text, AFailedTextStaysFailedAndEmpty)
{
    Text failed = FailedText();
    EXPECT_TRUE(failed.failed());
    EXPECT_TRUE(failed.empty());
    EXPECT_STREQ("", failed.c_str());
    EXPECT_FALSE(Text().failed());
    EXPECT_FALSE(Text("a").failed());

    // Nothing appended later makes it look whole: not "\SWIVELKIN.INI" on its own.
    failed += "\\SWIVELKIN.INI";
    failed.append("x", 1);
    failed.replace(0, 0, "C:");
    EXPECT_TRUE(failed.failed());
    EXPECT_EQ(failed, "");
}

TEST(Text, TextsMadeFromAFailedTextAreFailed)
{
    const Text failed = FailedText();
    struct {
        const char* what;
        Text made;
    } cases[] = {
        {"left of +", failed + "\\SWIVELKIN.INI"},
        {"right of +", "C:" + failed},
        {"both sides of +", failed + Text("x")},
        {"copy", Text(failed)},
        {"substr", failed.substr(0, 3)},
        {"erase", Text(failed).erase(0)},
    };
    for (auto& c : cases) {
        EXPECT_TRUE(c.made.failed()) << c.what;
        EXPECT_TRUE(c.made.empty()) << c.what;
    }
    Text assigned = "C:\\maps";
    assigned = failed;
    EXPECT_TRUE(assigned.failed());
    Text moved = FailedText();
    Text into = static_cast<Text&&>(moved);
    EXPECT_TRUE(into.failed());
    EXPECT_FALSE(moved.failed());

    // A growth that fails part-way through a join fails the whole join.
    Text join = Text("C:\\maps");
    join.append("", static_cast<std::size_t>(-1) - 4);
    join += "\\SWIVELKIN.INI";
    EXPECT_TRUE(join.failed());
    EXPECT_EQ(join, "");
}

TEST(Text, ReadsLongPaths)
{
    std::string expected;
    Text text;
    for (int i = 0; i < 2000; ++i) {
        const char piece[] = {static_cast<char>('a' + i % 26), '\0'};
        text += piece;
        expected += piece;
    }
    EXPECT_EQ(expected.size(), text.size());
    EXPECT_EQ(expected, text.c_str());
    EXPECT_EQ('z', text[25]);
}

}  // namespace
