#include "RegistryFile.h"

#include <cstdint>
#include <cstdlib>

#include "PrefixSource.h"
#include "ScancodeMapValue.h"
#include "StoreResults.h"

namespace {

const int endOfFile = -1;
// Every character outside ASCII reads as this one: nothing the syntax looks for is
// outside ASCII, and no names are kept.
const int otherCharacter = 0x80;

// The characters of a registry file, one at a time: the bytes of an ANSI file, or the
// UTF-16LE units behind a byte-order mark. Carriage returns are dropped, so CRLF and LF
// end a line alike.
class Characters {
public:
    explicit Characters(ByteSource& source) : source_(source)
    {
        if (fill() && filled_ >= 2 && chunk_[0] == 0xFF && chunk_[1] == 0xFE) {
            wide_ = true;
            used_ = 2;
        }
    }

    int peek()
    {
        while (next_ == none) {
            const int c = decode();
            if (c != '\r')
                next_ = c;
        }
        return next_;
    }

    int next()
    {
        const int c = peek();
        next_ = none;
        return c;
    }

    bool atLineEnd() { return peek() == '\n' || peek() == endOfFile; }
    bool failed() const { return failed_; }
    // File bytes not read yet: what any further value bytes must come from.
    std::uint64_t bytesLeft() const { return source_.remaining() + (filled_ - used_); }

private:
    static const int none = -2;

    bool fill()
    {
        std::uint64_t left = source_.remaining();
        std::size_t size = left < sizeof chunk_ ? static_cast<std::size_t>(left) : sizeof chunk_;
        used_ = filled_ = 0;
        if (size == 0)
            return false;
        if (!source_.read(chunk_, size)) {
            failed_ = true;
            return false;
        }
        filled_ = size;
        return true;
    }

    int decode()
    {
        const std::size_t unit = wide_ ? 2 : 1;
        if (filled_ - used_ < unit) {
            // An odd last byte of a UTF-16 file is no character: chunks are even.
            if (failed_ || !fill() || filled_ < unit)
                return endOfFile;
        }
        unsigned c = chunk_[used_];
        if (wide_)
            c |= static_cast<unsigned>(chunk_[used_ + 1]) << 8;
        used_ += unit;
        return c < 0x80 ? static_cast<int>(c) : otherCharacter;
    }

    ByteSource& source_;
    bool wide_ = false;
    bool failed_ = false;
    unsigned char chunk_[256];  // even, so that no UTF-16 unit is split
    std::size_t used_ = 0, filled_ = 0;
    int next_ = none;
};

int lowerCase(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// Compares characters, fed one at a time, with a text, without regard to case.
class TextMatcher {
public:
    explicit TextMatcher(const char* text) : text_(text) {}
    void feed(int c)
    {
        if (!differs_ && text_[position_] != 0 && lowerCase(c) == lowerCase(text_[position_]))
            ++position_;
        else
            differs_ = true;
    }
    bool equal() const { return !differs_ && text_[position_] == 0; }

private:
    const char* text_;
    std::size_t position_ = 0;
    bool differs_ = false;
};

bool isBlank(int c) { return c == ' ' || c == '\t'; }

int hexDigit(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerCase(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The value's bytes as read so far. Storage grows by doubling, but never beyond what the
// bytes read and the file's bytes left could hold: each further byte takes at least two
// characters.
class ValueBytes {
public:
    ValueBytes() = default;
    ~ValueBytes() { std::free(data_); }
    ValueBytes(const ValueBytes&) = delete;
    ValueBytes& operator=(const ValueBytes&) = delete;

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }

    bool add(unsigned char byte, std::uint64_t bytesLeft)
    {
        if (size_ == capacity_) {
            std::uint64_t wanted = capacity_ < 32 ? 64 : 2 * static_cast<std::uint64_t>(capacity_);
            const std::uint64_t most = size_ + 1 + bytesLeft / 2;
            if (wanted > most)
                wanted = most;
            if (wanted > SIZE_MAX)
                return false;
            void* grown = std::realloc(data_, static_cast<std::size_t>(wanted));
            if (grown == nullptr)
                return false;
            data_ = static_cast<unsigned char*>(grown);
            capacity_ = static_cast<std::size_t>(wanted);
        }
        data_[size_++] = byte;
        return true;
    }

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0, capacity_ = 0;
};

const char* const signatures[] = {"REGEDIT4", "Windows Registry Editor Version 5.00"};

// Reads the first line; true when it is one of the signatures (blanks after it allowed).
bool readSignature(Characters& in)
{
    char line[40];
    std::size_t length = 0;
    while (!in.atLineEnd()) {
        const int c = in.next();
        if (length == sizeof line)
            return false;
        line[length++] = static_cast<char>(c);
    }
    in.next();
    while (length > 0 && isBlank(line[length - 1]))
        --length;
    for (const char* signature : signatures) {
        std::size_t i = 0;
        while (i < length && signature[i] != 0 && signature[i] == line[i])
            ++i;
        if (i == length && signature[i] == 0)
            return true;
    }
    return false;
}

// What the file does with the "ScanCode Map" value, read line by line as regedit imports.
class Reader {
public:
    explicit Reader(Characters& in) : in_(in) {}

    enum Outcome {
        NotSet,
        Set,      // bytes() holds the value's data
        Deleted,  // "ScanCode Map"=-
        Broken,   // the value is set, but not as hex bytes of the binary type
        OutOfMemory,
    };

    Outcome read()
    {
        Outcome outcome = NotSet;
        while (in_.peek() != endOfFile) {
            skipBlanks();
            const int c = in_.peek();
            if (c == '[') {
                inLayoutKey_ = readKeyLine();
            } else if (c == '"' || c == '@') {
                const ValueName name = readValueName();
                if (name == OurValue && inLayoutKey_) {
                    outcome = readOurData();
                    if (outcome == Broken || outcome == OutOfMemory)
                        return outcome;
                } else if (name == NoValueLine) {
                    skipLine();
                } else {
                    skipData();
                }
            } else {
                skipLine();  // blank, comment, or anything else regedit passes over
            }
        }
        return outcome;
    }

    const ValueBytes& bytes() const { return bytes_; }

private:
    void skipBlanks()
    {
        while (isBlank(in_.peek()))
            in_.next();
    }

    // Up to and including the line's end; true when its last non-blank was a backslash.
    bool skipLine()
    {
        bool backslash = false;
        while (!in_.atLineEnd()) {
            const int c = in_.next();
            if (!isBlank(c))
                backslash = c == '\\';
        }
        in_.next();
        return backslash;
    }

    // "[path]": true when the path is the Keyboard Layout key. "[-path]" deletes a key and
    // takes what follows out of any key.
    bool readKeyLine()
    {
        in_.next();
        TextMatcher path("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout");
        bool closed = false;
        while (!in_.atLineEnd()) {
            const int c = in_.next();
            if (c == ']') {
                closed = true;
                break;
            }
            path.feed(c);
        }
        skipLine();
        return closed && path.equal();
    }

    enum ValueName { NoValueLine, OtherValue, OurValue };

    // A quoted name (with \" and \\ inside) or @, then "=". For a value, the characters
    // then stand at its data; a line that turns out not to set one is left to be passed over.
    ValueName readValueName()
    {
        TextMatcher name("ScanCode Map");
        if (in_.next() == '@') {
            name.feed('@');
        } else {
            for (;;) {
                if (in_.atLineEnd())
                    return NoValueLine;
                int c = in_.next();
                if (c == '"')
                    break;
                if (c == '\\') {
                    if (in_.atLineEnd())
                        return NoValueLine;
                    c = in_.next();
                }
                name.feed(c);
            }
        }
        skipBlanks();
        if (in_.peek() != '=')
            return NoValueLine;
        in_.next();
        skipBlanks();
        return name.equal() ? OurValue : OtherValue;
    }

    // Another value's data: hex data may go on over lines that end in a backslash.
    void skipData()
    {
        const bool hex = lowerCase(in_.peek()) == 'h';
        while (skipLine() && hex && in_.peek() != endOfFile) {
        }
    }

    bool readWord(const char* word)
    {
        for (; *word; ++word)
            if (lowerCase(in_.next()) != *word)
                return false;
        return true;
    }

    // hex: or hex(3):, the type regedit writes binary values with.
    bool readBinaryType()
    {
        if (!readWord("hex"))
            return false;
        if (in_.peek() == '(') {
            in_.next();
            std::uint32_t type = 0;
            int digits = 0;
            for (; hexDigit(in_.peek()) >= 0; ++digits) {
                type = type << 4 | static_cast<std::uint32_t>(hexDigit(in_.next()));
                if (digits == 8)
                    return false;
            }
            if (digits == 0 || type != 3 || in_.next() != ')')
                return false;
        }
        return in_.next() == ':';
    }

    bool lineEndsHere()
    {
        skipBlanks();
        if (!in_.atLineEnd())
            return false;
        in_.next();
        return true;
    }

    Outcome readOurData()
    {
        bytes_.clear();
        if (in_.peek() == '-') {
            in_.next();
            return lineEndsHere() ? Deleted : Broken;
        }
        if (!readBinaryType())
            return Broken;
        if (lineEndsHere())
            return Set;
        for (;;) {
            if (!readContinuations())
                return Broken;
            const int high = hexDigit(in_.next());
            const int low = high >= 0 ? hexDigit(in_.next()) : -1;
            if (low < 0)
                return Broken;
            if (!bytes_.add(static_cast<unsigned char>(high << 4 | low), in_.bytesLeft()))
                return OutOfMemory;
            if (lineEndsHere())
                return Set;
            if (in_.next() != ',')
                return Broken;
        }
    }

    // Before a pair: blanks, and any number of backslashes that continue the data on the
    // next line. false when a backslash is not the last thing on its line, or ends the file.
    bool readContinuations()
    {
        for (;;) {
            skipBlanks();
            if (in_.peek() != '\\')
                return true;
            in_.next();
            skipBlanks();
            if (in_.next() != '\n')
                return false;
        }
    }

    Characters& in_;
    bool inLayoutKey_ = false;
    ValueBytes bytes_;
};

// The value's mappings as records; the value decoded as the registry's value is.
MapFile::Result recordsOfValue(const ValueBytes& value, MapRecords& records)
{
    if (value.size() == 0)
        return MapFile::Ok;
    MappingList list;
    switch (ScancodeMapValue::decode(value.data(), value.size(), list)) {
    case ReadOk: break;
    case ReadNoMemory: return MapFile::NoMemory;
    default: return MapFile::BadScancodeMap;
    }
    if (list.count() == 0)
        return MapFile::Ok;
    if (!records.obtain(list.count()))
        return MapFile::NoMemory;
    for (int i = 0; i < list.count(); ++i) {
        records.at(i).fromCode = list.at(i).fromCode;
        records.at(i).toCode = list.at(i).toCode;
    }
    return MapFile::Ok;
}

}  // namespace

namespace RegistryFile {

bool recognise(const unsigned char* start, std::size_t size)
{
    PrefixSource source(start, size, nullptr);
    Characters in(source);
    return readSignature(in);
}

MapFile::Result decode(ByteSource& source, MapRecords& records)
{
    records.clear();
    Characters in(source);
    if (!readSignature(in))
        return in.failed() ? MapFile::IoError : MapFile::NotValid;
    Reader reader(in);
    const Reader::Outcome outcome = reader.read();
    if (in.failed())
        return MapFile::IoError;
    switch (outcome) {
    case Reader::NotSet: return MapFile::NoScancodeMap;
    case Reader::Broken: return MapFile::BadScancodeMap;
    case Reader::OutOfMemory: return MapFile::NoMemory;
    case Reader::Deleted: return MapFile::Ok;
    case Reader::Set: break;
    }
    return recordsOfValue(reader.bytes(), records);
}

}  // namespace RegistryFile
