// Every valid "ScanCode Map" value the store, window and switch tests hold, written as a
// registry file and read back, gives the rows the value itself gives.
#include "MapFileFormats.h"
#include "MemoryBytes.h"
#include "ScancodeMapValue.h"
#include "StoreResults.h"

#include "Bytes.h"

#include <gtest/gtest.h>

namespace {

TEST(RegistryFileRoundTrip, EveryValueComesBackAsTheSameRows)
{
    const Bytes values[] = {
        words({0, 0, 1, 0}),
        Bytes{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0x1D, 0, 0x3A, 0, 0, 0, 0, 0},
        words({1, 5, 2, 0x003A001D, 0}),
        words({0, 0, 2, 0xE05B0000, 0}),
        words({0, 0, 2, 0x0056001E, 0}),
        words({0, 0, 3, 0x003A001D, 0x003A0001, 0}),
        words({0, 0, 4, 0xE05B0000, 0x0056001E, 0x0001003B, 0}),
        words({0, 0, 4, 0x003A001D, 0xE05B0000, 0x0056001E, 0}),
        words({0, 0, 2, 0x00450000, 0}),
        words({0, 0, 2, 0x000F0000, 0}),
        words({0, 0, 4, 0x003A001D, 0x0001003B, 0x003B0001, 0}),
        words({0, 0, 5, 0x003A001D, 0x0001003B, 0x003B0001, 0xE01D0038, 0}),
        words({0, 0, 5, 0x0001003B, 0xE05B0000, 0x003A001D, 0x003B0001, 0}),
    };
    for (const Bytes& value : values) {
        SCOPED_TRACE(::testing::PrintToString(value));
        MappingList rows;
        ASSERT_EQ(ReadOk, ScancodeMapValue::decode(value.data(), value.size(), rows));

        MemorySink file;
        ASSERT_TRUE(MapFileFormats::encode("layout.reg", rows, file));
        MemorySource source(file.bytes.data(), file.bytes.size());
        MapRecords records;
        ASSERT_EQ(MapFile::Ok, MapFileFormats::decode(source, records));

        ASSERT_EQ(rows.count(), records.count());
        for (int i = 0; i < rows.count(); ++i) {
            EXPECT_EQ(rows.at(i).fromCode, records.at(i).fromCode) << i;
            EXPECT_EQ(rows.at(i).toCode, records.at(i).toCode) << i;
        }
    }
}

}  // namespace
