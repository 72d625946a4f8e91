#include "MapFile.h"
#include "MemoryBytes.h"
#include "FileBytes.h"

#include <gtest/gtest.h>

namespace {

Bytes encoded(const MappingList& list)
{
    MemorySink sink;
    EXPECT_TRUE(MapFile::encode(list, sink));
    return sink.bytes;
}

TEST(MapFileEncode, EmptyListIsTheEighteenByteFile)
{
    MappingList list;
    const Bytes expected{0x0D, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0', 0, 0, 0, 0};
    EXPECT_EQ(expected, encoded(list));
}

TEST(MapFileEncode, CapsLockToLeftCtrlIsTheTwentyTwoByteFile)
{
    MappingList list;
    list.append(0x003A, 0x001D);
    const Bytes expected{0x0D, 'S', 'w', 'i', 'v', 'e', 'l', 'k', 'i', 'n', ' ', '2', '.', '0',
                         0x01, 0x00, 0x00, 0x00, 0x1D, 0x00, 0x3A, 0x00};
    EXPECT_EQ(expected, encoded(list));
}

TEST(MapFileEncode, RecordsAreTargetFirstInListOrder)
{
    MappingList list;
    list.append(0x003A, 0x001D);  // Caps Lock to Left Ctrl
    list.append(0xE05B, 0x0000);  // Left Windows switched off
    list.append(0x001D, 0xE01D);  // Left Ctrl to Right Ctrl
    EXPECT_EQ(header() + le32(3) + record(0x001D, 0x003A) + record(0x0000, 0xE05B) + record(0xE01D, 0x001D),
              encoded(list));
}

TEST(MapFileEncode, AnyFailedWriteFailsTheSave)
{
    MappingList list;
    list.append(0x003A, 0x001D);
    list.append(0x001D, 0x003A);
    const std::size_t size = 18 + 2 * 4;
    for (std::size_t capacity = 0; capacity < size; ++capacity) {
        SCOPED_TRACE(capacity);
        FullSink sink(capacity);
        EXPECT_FALSE(MapFile::encode(list, sink));
    }
    FullSink roomy(size);
    EXPECT_TRUE(MapFile::encode(list, roomy));
}

TEST(MapFileEncode, WhatIsSavedLoadsBackAsTheSameRecords)
{
    MappingList list;
    list.append(0x003A, 0x001D);
    list.append(0x001D, 0x003A);
    list.append(0x0001, 0x0000);
    list.normalise();
    const Bytes file = encoded(list);
    MemorySource source(file.data(), file.size());
    MapRecords records;
    ASSERT_EQ(MapFile::Ok, MapFile::decode(source, records));
    ASSERT_EQ(list.count(), records.count());
    for (int i = 0; i < list.count(); ++i) {
        EXPECT_EQ(list.at(i).toCode, records.at(i).toCode);
        EXPECT_EQ(list.at(i).fromCode, records.at(i).fromCode);
    }
}

}  // namespace
