// Any bytes given to the map-file decoder: no crash, no out-of-bounds access, no storage
// beyond what the input could hold, and a file that decodes saves back to the same records.
// The two load filters must keep exactly the records they should, in order. Each input is
// also decoded behind a valid header, so that the count and the records are explored without
// the fuzzer first having to spell "Swivelkin 2.0".
#include "MapFile.h"
#include "MemoryBytes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
std::size_t inputSize;

void* obtainWithinInput(std::size_t bytes)
{
    // Records are 4 bytes in the file and 4 in memory: more than the input is a claim
    // the file cannot back.
    if (bytes > inputSize)
        std::abort();
    return std::malloc(bytes);
}

bool sameRecord(const MapRecord& a, const MapRecord& b) { return a.toCode == b.toCode && a.fromCode == b.fromCode; }

// `kept` must be the records of `all` that `keep` accepts, in the same order.
template <class Keep>
void checkFiltered(const MapRecords& all, const MapRecords& kept, Keep keep)
{
    int k = 0;
    for (int i = 0; i < all.count(); ++i) {
        if (!keep(all.at(i)))
            continue;
        if (k >= kept.count() || !sameRecord(all.at(i), kept.at(k)))
            std::abort();
        ++k;
    }
    if (k != kept.count())
        std::abort();
}

void copy(const MapRecords& from, MapRecords& to)
{
    if (from.count() == 0) {
        to.clear();
        return;
    }
    if (!to.obtain(from.count()))
        std::abort();
    for (int i = 0; i < from.count(); ++i)
        to.at(i) = from.at(i);
}

void check(const std::uint8_t* data, std::size_t size)
{
    inputSize = size;
    MapRecords::obtainStorage = obtainWithinInput;

    MemorySource source(data, size);
    MapRecords records;
    if (MapFile::decode(source, records) != MapFile::Ok)
        return;
    const std::size_t consumed = size - static_cast<std::size_t>(source.remaining());

    MappingList list;
    for (int i = 0; i < records.count(); ++i)
        if (list.append(records.at(i).fromCode, records.at(i).toCode) == -1)
            std::abort();
    MemorySink sink;
    if (!MapFile::encode(list, sink))
        std::abort();
    // The records are the last bytes read, and they are saved back byte for byte.
    const std::size_t recordBytes = 4 * static_cast<std::size_t>(records.count());
    if (sink.bytes.size() != 18 + recordBytes ||
        std::memcmp(sink.bytes.data() + 18, data + consumed - recordBytes, recordBytes) != 0)
        std::abort();

    MapRecords extendedOut, unknownOut;
    copy(records, extendedOut);
    copy(records, unknownOut);
    const bool anyExtended = extendedOut.removeExtended();
    const bool anyUnknown = unknownOut.removeUnknown();
    checkFiltered(records, extendedOut, [](const MapRecord& r) {
        return !KeyCatalogue::isExtended(r.fromCode) && !KeyCatalogue::isExtended(r.toCode);
    });
    checkFiltered(records, unknownOut, [](const MapRecord& r) {
        return KeyCatalogue::indexOfCode(r.fromCode) != -1 && KeyCatalogue::indexOfCode(r.toCode) != -1;
    });
    if (anyExtended != (extendedOut.count() < records.count()) || anyUnknown != (unknownOut.count() < records.count()))
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    check(data, size);
    static const char header[] = "\x0DSwivelkin 2.0";
    std::vector<std::uint8_t> behindHeader(header, header + 14);
    behindHeader.insert(behindHeader.end(), data, data + size);
    check(behindHeader.data(), behindHeader.size());
    return 0;
}
