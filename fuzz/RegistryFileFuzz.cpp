// Any bytes given to the registry-file reader, also behind the lines that open the Keyboard
// Layout key and its value (so that the value's data are explored without the fuzzer first
// having to spell them): no crash, no out-of-bounds access, an end in time, no storage beyond
// what the input could hold, and a file that reads saves back to one that reads the same.
#include "MapFileFormats.h"
#include "MemoryBytes.h"
#include "RegistryFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
std::size_t inputSize;

// A record comes from at least twelve characters: four hex pairs and their commas.
void* obtainWithinInput(std::size_t bytes)
{
    if (bytes > inputSize)
        std::abort();
    return std::malloc(bytes);
}

// The rows of a value, doubling as they grow: at most twice the records the input holds.
void* resizeWithinInput(void* block, std::size_t bytes)
{
    if (bytes > 2 * (inputSize / 12 + 1) * sizeof(KeyMapping) + 4096)
        std::abort();
    return std::realloc(block, bytes);
}

void check(const std::uint8_t* data, std::size_t size)
{
    inputSize = size;
    MapRecords::obtainStorage = obtainWithinInput;
    MappingList::resizeStorage = resizeWithinInput;

    MemorySource source(data, size);
    MapRecords records;
    const MapFile::Result result = RegistryFile::decode(source, records);
    MemorySource again(data, size);
    MapRecords viaFormats;
    const MapFile::Result formatsResult = MapFileFormats::decode(again, viaFormats);
    if (result != MapFile::Ok) {
        if (records.count() != 0)
            std::abort();
        return;
    }
    // A registry file that reads is read as one by Load too.
    if (formatsResult != MapFile::Ok || viaFormats.count() != records.count())
        std::abort();

    MappingList list;
    for (int i = 0; i < records.count(); ++i)
        if (list.append(records.at(i).fromCode, records.at(i).toCode) == -1)
            std::abort();
    MemorySink sink;
    if (!RegistryFile::encode(list, sink))
        std::abort();
    inputSize = sink.bytes.size();
    MemorySource written(sink.bytes.data(), sink.bytes.size());
    MapRecords back;
    if (RegistryFile::decode(written, back) != MapFile::Ok || back.count() != records.count())
        std::abort();
    for (int i = 0; i < back.count(); ++i)
        if (back.at(i).fromCode != records.at(i).fromCode || back.at(i).toCode != records.at(i).toCode)
            std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    check(data, size);
    static const char start[] =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout]\r\n"
        "\"ScanCode Map\"=hex:";
    std::vector<std::uint8_t> behindValue(start, start + sizeof start - 1);
    behindValue.insert(behindValue.end(), data, data + size);
    check(behindValue.data(), behindValue.size());
    return 0;
}
