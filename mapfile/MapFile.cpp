#include "MapFile.h"

#include <algorithm>
#include <cstdint>

namespace {

const char headerText[] = "Swivelkin 2.0";
const std::uint32_t headerLength = sizeof headerText - 1;
const std::size_t recordSize = 4;

std::uint16_t u16At(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

bool readByte(ByteSource& source, unsigned char& value) { return source.read(&value, 1); }

bool readU16(ByteSource& source, std::uint16_t& value)
{
    unsigned char bytes[2];
    if (!source.read(bytes, sizeof bytes))
        return false;
    value = u16At(bytes);
    return true;
}

bool readU32(ByteSource& source, std::uint32_t& value)
{
    unsigned char bytes[4];
    if (!source.read(bytes, sizeof bytes))
        return false;
    value = static_cast<std::uint32_t>(u16At(bytes)) | static_cast<std::uint32_t>(u16At(bytes + 2)) << 16;
    return true;
}

// The header's length prefix: one byte below 0xFF; or 0xFF and a 16-bit length; or 0xFF,
// 0xFFFF and a 32-bit length; any of these behind 0xFF, 0xFFFE for UTF-16 text.
MapFile::Result readTextLength(ByteSource& source, std::uint32_t& length, bool& wide)
{
    wide = false;
    for (;;) {
        unsigned char first;
        if (!readByte(source, first))
            return MapFile::IoError;
        if (first != 0xFF) {
            length = first;
            return MapFile::Ok;
        }
        std::uint16_t second;
        if (!readU16(source, second))
            return MapFile::IoError;
        if (second == 0xFFFF)
            return readU32(source, length) ? MapFile::Ok : MapFile::IoError;
        if (second != 0xFFFE) {
            length = second;
            return MapFile::Ok;
        }
        // The UTF-16 marker comes once; a second one is no length of any form.
        if (wide)
            return MapFile::NotValid;
        wide = true;
    }
}

// Compares characters, fed one at a time, up to the first NUL with the header text.
// Characters are compared as read (bytes, or whole UTF-16 units), so anything outside
// ASCII differs from every header character: converting UTF-16 to the ANSI code page would
// give non-ASCII bytes (or, by best fit, look-alikes we choose not to accept).
class HeaderMatcher {
public:
    HeaderMatcher() : position_(0), ended_(false), differs_(false) {}

    void feed(std::uint32_t character)
    {
        if (ended_ || differs_)
            return;
        if (character == 0)
            ended_ = true;
        else if (position_ < headerLength && character == static_cast<unsigned char>(headerText[position_]))
            ++position_;
        else
            differs_ = true;
    }

    bool equal() const { return !differs_ && position_ == headerLength; }

private:
    std::uint32_t position_;
    bool ended_;
    bool differs_;
};

// Reads all `length` characters (none is kept) and compares them with the header text.
MapFile::Result readHeaderText(ByteSource& source, std::uint32_t length, bool wide)
{
    const std::size_t unit = wide ? 2 : 1;
    std::uint64_t left = static_cast<std::uint64_t>(length) * unit;
    if (left > source.remaining())
        return MapFile::IoError;
    HeaderMatcher matcher;
    unsigned char chunk[64];  // even, so no UTF-16 unit is split between chunks
    while (left > 0) {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof chunk));
        if (!source.read(chunk, size))
            return MapFile::IoError;
        for (std::size_t i = 0; i + unit <= size; i += unit)
            matcher.feed(wide ? u16At(chunk + i) : chunk[i]);
        left -= size;
    }
    return matcher.equal() ? MapFile::Ok : MapFile::NotValid;
}

MapFile::Result readHeader(ByteSource& source)
{
    std::uint32_t length;
    bool wide;
    MapFile::Result result = readTextLength(source, length, wide);
    return result == MapFile::Ok ? readHeaderText(source, length, wide) : result;
}

MapFile::Result readRecords(ByteSource& source, MapRecords& records)
{
    std::uint32_t word;
    if (!readU32(source, word))
        return MapFile::IoError;
    const std::int32_t count = static_cast<std::int32_t>(word);
    if (count <= 0)
        return MapFile::Ok;
    // A count the rest of the file cannot hold is a file that ends early. Finding that
    // before obtaining storage keeps a short file from claiming gigabytes.
    if (static_cast<std::uint64_t>(count) * recordSize > source.remaining())
        return MapFile::IoError;
    if (!records.obtain(count))
        return MapFile::NoMemory;
    for (int i = 0; i < count; ++i) {
        unsigned char bytes[recordSize];
        if (!source.read(bytes, sizeof bytes)) {
            records.clear();
            return MapFile::IoError;
        }
        records.at(i).toCode = u16At(bytes);
        records.at(i).fromCode = u16At(bytes + 2);
    }
    return MapFile::Ok;
}

void putU16(unsigned char* out, std::uint16_t value)
{
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
}

}  // namespace

namespace MapFile {

const char* failureMessage(Result result)
{
    switch (result) {
    case IoError: return "File I/O error.";
    case NotValid: return "File is not a valid Swivelkin map.";
    case NoMemory: return "Memory allocation error";
    case NoScancodeMap: return "%s\ndoes not set the \"ScanCode Map\" value.";
    case BadScancodeMap: return "%s\nholds a \"ScanCode Map\" value that is not valid.";
    default: return nullptr;
    }
}

Result decode(ByteSource& source, MapRecords& records)
{
    records.clear();
    Result result = readHeader(source);
    return result == Ok ? readRecords(source, records) : result;
}

bool encode(const MappingList& list, ByteSink& sink)
{
    unsigned char start[1 + headerLength + 4];
    start[0] = static_cast<unsigned char>(headerLength);
    std::copy(headerText, headerText + headerLength, start + 1);
    const std::uint32_t count = static_cast<std::uint32_t>(list.count());
    putU16(start + 1 + headerLength, static_cast<std::uint16_t>(count));
    putU16(start + 3 + headerLength, static_cast<std::uint16_t>(count >> 16));
    if (!sink.write(start, sizeof start))
        return false;
    for (int i = 0; i < list.count(); ++i) {
        unsigned char record[recordSize];
        putU16(record, list.at(i).toCode);
        putU16(record + 2, list.at(i).fromCode);
        if (!sink.write(record, sizeof record))
            return false;
    }
    return true;
}

}  // namespace MapFile
