#include "MapFile.h"
#include "MemoryBytes.h"
#include "FileBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sees every request for record storage, and can refuse it.
class MapFileDecode : public ::testing::Test {
protected:
    void SetUp() override
    {
        requests.clear();
        refuse = false;
        saved_ = MapRecords::obtainStorage;
        MapRecords::obtainStorage = [](std::size_t bytes) -> void* {
            requests.push_back(bytes);
            return refuse ? nullptr : std::malloc(bytes);
        };
    }
    void TearDown() override { MapRecords::obtainStorage = saved_; }

    static std::vector<std::size_t> requests;
    static bool refuse;

private:
    MapRecords::ObtainFunction saved_;
};
std::vector<std::size_t> MapFileDecode::requests;
bool MapFileDecode::refuse;

// A file that claims `extra` more bytes than it holds: it reports them as remaining, and
// reading them fails, as a read error on a real file would.
class ClaimingSource : public ByteSource {
public:
    ClaimingSource(const Bytes& bytes, std::uint64_t extra)
        : bytes_(bytes), inner_(bytes_.data(), bytes_.size()), extra_(extra)
    {
    }
    bool read(unsigned char* out, std::size_t size) override { return inner_.read(out, size); }
    std::uint64_t remaining() const override { return inner_.remaining() + extra_; }

private:
    Bytes bytes_;
    MemorySource inner_;
    std::uint64_t extra_;
};

struct Decoded {
    MapFile::Result result;
    Records records;
    std::uint64_t unread;
};

Decoded decode(const Bytes& file)
{
    MemorySource source(file.data(), file.size());
    MapRecords records;
    MapFile::Result result = MapFile::decode(source, records);
    return {result, recordsOf(records), source.remaining()};
}

const Bytes capsToCtrl = le32(1) + record(0x001D, 0x003A);

TEST_F(MapFileDecode, AcceptsEveryFormOfTheHeader)
{
    struct Case {
        const char* title;
        Bytes header;
    };
    const Bytes text = narrow("Swivelkin 2.0");
    const Bytes text16 = wide(u"Swivelkin 2.0");
    const Case cases[] = {
        {"one-byte length", Bytes{0x0D} + text},
        {"0xFF, 16-bit length", Bytes{0xFF} + le16(13) + text},
        {"0xFF 0xFFFF, 32-bit length", Bytes{0xFF} + le16(0xFFFF) + le32(13) + text},
        {"UTF-16, one-byte length", Bytes{0xFF} + le16(0xFFFE) + Bytes{0x0D} + text16},
        {"UTF-16, 16-bit length", Bytes{0xFF} + le16(0xFFFE) + Bytes{0xFF} + le16(13) + text16},
        {"UTF-16, 32-bit length", Bytes{0xFF} + le16(0xFFFE) + Bytes{0xFF} + le16(0xFFFF) + le32(13) + text16},
        {"NUL ends the text", Bytes{0x12} + narrow(std::string("Swivelkin 2.0\0v3.1", 18))},
        {"NUL ends UTF-16 text, non-ASCII after it",
         Bytes{0xFF} + le16(0xFFFE) + Bytes{0x10} + wide(std::u16string(u"Swivelkin 2.0\0\u00E9\uFF33", 16))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Decoded d = decode(c.header + capsToCtrl);
        EXPECT_EQ(MapFile::Ok, d.result);
        EXPECT_EQ((Records{{0x001D, 0x003A}}), d.records);
    }
}

TEST_F(MapFileDecode, RejectsOtherHeaderText)
{
    struct Case {
        const char* title;
        Bytes header;
    };
    const Case cases[] = {
        {"lower case", Bytes{0x0D} + narrow("swivelkin 2.0")},
        {"other version", Bytes{0x0D} + narrow("Swivelkin 2.1")},
        {"one character short", Bytes{0x0C} + narrow("Swivelkin 2.")},
        {"one character more", Bytes{0x0E} + narrow("Swivelkin 2.0x")},
        {"empty", Bytes{0x00}},
        {"NUL first", Bytes{0x0E} + narrow(std::string("\0Swivelkin 2.0", 14))},
        {"UTF-16 lower case", Bytes{0xFF} + le16(0xFFFE) + Bytes{0x0D} + wide(u"swivelkin 2.0")},
        // U+0153 has the low byte of "S", U+FF33 is a full-width "S": neither is "S".
        {"UTF-16 unit with an ASCII low byte", Bytes{0xFF} + le16(0xFFFE) + Bytes{0x0D} + wide(u"\u0153wivelkin 2.0")},
        {"UTF-16 full-width letter", Bytes{0xFF} + le16(0xFFFE) + Bytes{0x0D} + wide(u"\uFF33wivelkin 2.0")},
        {"UTF-16 marker twice", Bytes{0xFF} + le16(0xFFFE) + Bytes{0xFF} + le16(0xFFFE) + Bytes{0x0D} + wide(u"Swivelkin 2.0")},
        {"UTF-16 marker twice, nothing after", Bytes{0xFF} + le16(0xFFFE) + Bytes{0xFF} + le16(0xFFFE)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Decoded d = decode(c.header + capsToCtrl);
        EXPECT_EQ(MapFile::NotValid, d.result);
        EXPECT_EQ(Records{}, d.records);
    }
    EXPECT_TRUE(requests.empty());
}

TEST_F(MapFileDecode, FileEndingEarlyIsAnIoError)
{
    struct Case {
        const char* title;
        Bytes file;
    };
    const Bytes text16 = wide(u"Swivelkin 2.0");
    const Case cases[] = {
        {"empty file", Bytes{}},
        {"header text cut", Bytes{0x0D} + narrow("Swivelkin 2.")},
        {"16-bit length cut", Bytes{0xFF, 0x0D}},
        {"32-bit length cut", Bytes{0xFF} + le16(0xFFFF) + Bytes{0x0D, 0, 0}},
        {"UTF-16 length missing", Bytes{0xFF} + le16(0xFFFE)},
        {"UTF-16 text cut in a character", Bytes{0xFF} + le16(0xFFFE) + Bytes{0x0D} + Bytes(text16.begin(), text16.end() - 1)},
        {"length of 4 G characters", Bytes{0xFF} + le16(0xFFFF) + le32(0xFFFFFFFF) + narrow("Swivelkin 2.0")},
        // Twice 0x80000000 characters is 4 GB of text, not 0 bytes.
        {"UTF-16 length whose bytes pass 32 bits", Bytes{0xFF} + le16(0xFFFE) + Bytes{0xFF} + le16(0xFFFF) + le32(0x80000000)},
        {"count cut", header() + Bytes{1, 0, 0}},
        {"record cut", header() + le32(1) + Bytes{0x1D, 0, 0x3A}},
        {"count 3, two records", header() + le32(3) + record(0x001D, 0x003A) + record(0x0001, 0x003B)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Decoded d = decode(c.file);
        EXPECT_EQ(MapFile::IoError, d.result);
        EXPECT_EQ(Records{}, d.records);
    }
    EXPECT_TRUE(requests.empty()) << "storage obtained for a count the file cannot hold";
}

TEST_F(MapFileDecode, HugeCountInAShortFileObtainsNoStorage)
{
    const Bytes file = header() + le32(0x7FFFFFFF) + record(0x001D, 0x003A);
    ASSERT_EQ(22u, file.size());
    EXPECT_EQ(MapFile::IoError, decode(file).result);
    EXPECT_TRUE(requests.empty());
}

TEST_F(MapFileDecode, CountOfZeroOrLessGivesNoRecords)
{
    for (std::uint32_t count : {0u, 0xFFFFFFFFu, 0x80000000u}) {
        SCOPED_TRACE(count);
        Decoded d = decode(header() + le32(count) + record(0x001D, 0x003A));
        EXPECT_EQ(MapFile::Ok, d.result);
        EXPECT_EQ(Records{}, d.records);
        EXPECT_EQ(4u, d.unread);
    }
    EXPECT_TRUE(requests.empty());
}

TEST_F(MapFileDecode, RecordsComeTargetFirstInFileOrderAndNothingAfterIsRead)
{
    Decoded d = decode(header() + le32(3) + record(0x001D, 0x003A) + record(0x0000, 0xE05B) +
                       record(0x0001, 0x0056) + Bytes{0xFF, 0xFF, 0xFF});
    EXPECT_EQ(MapFile::Ok, d.result);
    EXPECT_EQ((Records{{0x001D, 0x003A}, {0x0000, 0xE05B}, {0x0001, 0x0056}}), d.records);
    EXPECT_EQ(3u, d.unread);
    EXPECT_EQ(std::vector<std::size_t>{3 * sizeof(MapRecord)}, requests);
}

TEST_F(MapFileDecode, RefusedStorageIsNoMemory)
{
    refuse = true;
    EXPECT_EQ(MapFile::NoMemory, decode(header() + capsToCtrl).result);
    EXPECT_EQ(1u, requests.size());
}

TEST_F(MapFileDecode, StorageTooLargeToRepresentIsNoMemoryNeverASmallerBlock)
{
    // A file that really holds 0x7FFFFFFF records: 8 GB of storage, beyond a 32-bit program.
    refuse = true;
    ClaimingSource source(header() + le32(0x7FFFFFFF), 0x7FFFFFFFull * 4);
    MapRecords records;
    EXPECT_EQ(MapFile::NoMemory, MapFile::decode(source, records));
    for (std::size_t bytes : requests)
        EXPECT_GE(static_cast<std::uint64_t>(bytes), 0x7FFFFFFFull * sizeof(MapRecord));
}

TEST_F(MapFileDecode, ReadErrorAmidTheRecordsIsAnIoErrorAndReleasesTheStorage)
{
    ClaimingSource source(header() + le32(3) + record(0x001D, 0x003A), 8);
    MapRecords records;
    EXPECT_EQ(MapFile::IoError, MapFile::decode(source, records));
    EXPECT_EQ(0, records.count());
    EXPECT_EQ(1u, requests.size());
}

TEST_F(MapFileDecode, FailedDecodeDropsRecordsHeldBefore)
{
    const Bytes good = header() + capsToCtrl;
    const Bytes bad = Bytes{0x0D} + narrow("swivelkin 2.0") + capsToCtrl;
    MemorySource first(good.data(), good.size()), second(bad.data(), bad.size());
    MapRecords records;
    ASSERT_EQ(MapFile::Ok, MapFile::decode(first, records));
    EXPECT_EQ(MapFile::NotValid, MapFile::decode(second, records));
    EXPECT_EQ(0, records.count());
}

TEST(MapFileMessages, EachFailureHasItsText)
{
    EXPECT_STREQ("File I/O error.", MapFile::failureMessage(MapFile::IoError));
    EXPECT_STREQ("File is not a valid Swivelkin map.", MapFile::failureMessage(MapFile::NotValid));
    EXPECT_STREQ("Memory allocation error", MapFile::failureMessage(MapFile::NoMemory));
    EXPECT_EQ(nullptr, MapFile::failureMessage(MapFile::Ok));
}

}  // namespace
