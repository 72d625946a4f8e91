#include "MapFileFormats.h"

#include "PrefixSource.h"
#include "RegistryFile.h"

namespace MapFileFormats {

MapFile::Result decode(ByteSource& source, MapRecords& records)
{
    unsigned char start[RegistryFile::signatureBytes];
    const std::uint64_t left = source.remaining();
    const std::size_t size = left < sizeof start ? static_cast<std::size_t>(left) : sizeof start;
    if (!source.read(start, size)) {
        records.clear();
        return MapFile::IoError;
    }
    PrefixSource whole(start, size, &source);
    return RegistryFile::recognise(start, size) ? RegistryFile::decode(whole, records)
                                                 : MapFile::decode(whole, records);
}

bool encode(const char* name, const MappingList& list, ByteSink& sink)
{
    return RegistryFile::hasRegistryFileName(name) ? RegistryFile::encode(list, sink) : MapFile::encode(list, sink);
}

}  // namespace MapFileFormats
