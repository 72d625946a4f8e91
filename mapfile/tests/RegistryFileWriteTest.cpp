#include "RegistryFile.h"
#include "MemoryBytes.h"
#include "RegistryText.h"

#include <gtest/gtest.h>

namespace {

std::string written(const MappingList& list)
{
    MemorySink sink;
    EXPECT_TRUE(RegistryFile::encode(list, sink));
    return std::string(sink.bytes.begin(), sink.bytes.end());
}

std::string fileOf(const std::string& valueLines)
{
    return "REGEDIT4\r\n\r\n" + std::string(layoutKeyLine) + "\r\n" + valueLines + "\r\n\r\n";
}

// Each mapping from the key `firstFrom + i` to Left Ctrl, as the registry fixtures hold them.
void appendToLeftCtrl(MappingList& list, int count, ScanCode firstFrom = 0x3A)
{
    for (int i = 0; i < count; ++i)
        list.append(static_cast<ScanCode>(firstFrom + i), 0x1D);
}

TEST(RegistryFileWrite, WritesTheValueAsTheRegistryHoldsItWrappedAsRegeditWraps)
{
    struct Case {
        int mappings;
        std::string valueLines;
    };
    const Case cases[] = {
        {0, "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,01,00,00,00,00,00,00,00"},
        {1, "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,02,00,00,00,1d,00,3a,00,00,00,00,00"},
        {3, "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,04,00,00,00,1d,00,3a,00,1d,00,3b,00,\\\r\n"
            "  1d,00,3c,00,00,00,00,00"},
        {30, "\"ScanCode Map\"=hex:00,00,00,00,00,00,00,00,1f,00,00,00,1d,00,3a,00,1d,00,3b,00,\\\r\n"
             "  1d,00,3c,00,1d,00,3d,00,1d,00,3e,00,1d,00,3f,00,1d,00,40,00,1d,00,41,00,1d,\\\r\n"
             "  00,42,00,1d,00,43,00,1d,00,44,00,1d,00,45,00,1d,00,46,00,1d,00,47,00,1d,00,\\\r\n"
             "  48,00,1d,00,49,00,1d,00,4a,00,1d,00,4b,00,1d,00,4c,00,1d,00,4d,00,1d,00,4e,\\\r\n"
             "  00,1d,00,4f,00,1d,00,50,00,1d,00,51,00,1d,00,52,00,1d,00,53,00,1d,00,54,00,\\\r\n"
             "  1d,00,55,00,1d,00,56,00,1d,00,57,00,00,00,00,00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mappings);
        MappingList list;
        appendToLeftCtrl(list, c.mappings);
        const std::string file = written(list);
        EXPECT_EQ(fileOf(c.valueLines), file);
        for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
            EXPECT_LE(end - start, 80u);
    }
}

// What Wine's regedit exported for the same 30 mappings, in UTF-16LE: the same key and value
// lines, character for character.
TEST(RegistryFileWrite, ThirtyMappingsAreTheLinesRegeditExports)
{
    const Bytes exported = fixture("regedit-30-mappings.reg");
    ASSERT_GT(exported.size(), 2u);
    std::string text;
    for (std::size_t i = 2; i + 1 < exported.size(); i += 2)
        text += static_cast<char>(exported[i]);
    const std::string regeditFirstLine = "Windows Registry Editor Version 5.00\r\n";
    ASSERT_EQ(0u, text.find(regeditFirstLine));

    MappingList list;
    appendToLeftCtrl(list, 30);
    EXPECT_EQ("REGEDIT4\r\n" + text.substr(regeditFirstLine.size()), written(list));
}

TEST(RegistryFileWrite, AFailingWriteIsReported)
{
    MappingList list;
    appendToLeftCtrl(list, 30);
    const std::size_t size = written(list).size();
    for (std::size_t capacity : {std::size_t(0), std::size_t(50), std::size_t(200), size - 1}) {
        FullSink sink(capacity);
        EXPECT_FALSE(RegistryFile::encode(list, sink)) << capacity;
    }
    FullSink roomy(size);
    EXPECT_TRUE(RegistryFile::encode(list, roomy));
}

TEST(RegistryFileWrite, ANameEndingInRegInAnyCaseIsARegistryFile)
{
    const std::pair<const char*, bool> cases[] = {
        {"x.reg", true},      {"C:\\maps\\Caps.REG", true}, {"a b.Reg", true},  {".reg", true},
        {"x.swm", false},     {"x.reg.swm", false},         {"x.regx", false},  {"xreg", false},
        {"reg", false},       {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, RegistryFile::hasRegistryFileName(c.first)) << c.first;
}

}  // namespace
