#include "RegistryFile.h"

#include <cstdlib>
#include <cstring>

#include "ScancodeMapValue.h"

namespace {

const char head[] =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout]\r\n"
    "\"ScanCode Map\"=hex:";
// Where the value's first pair starts on its line.
const std::size_t valueColumn = sizeof "\"ScanCode Map\"=hex:" - 1;
const char tail[] = "\r\n\r\n";
// As regedit wraps: once a line has reached this length after a pair and its comma, a
// backslash ends it (no line is over 80 characters) and the next starts with two blanks.
const std::size_t wrapAt = 77;

bool writeText(ByteSink& sink, const char* text, std::size_t length)
{
    return sink.write(reinterpret_cast<const unsigned char*>(text), length);
}

// Writes the bytes as lower-case hex pairs separated by commas, one line at a time, the
// first line continuing what is already written of it (`column` characters).
bool writeHexLines(ByteSink& sink, const unsigned char* data, std::size_t size, std::size_t column)
{
    static const char digits[] = "0123456789abcdef";
    char line[wrapAt + 8];
    std::size_t used = 0;
    for (std::size_t i = 0; i < size; ++i) {
        line[used++] = digits[data[i] >> 4];
        line[used++] = digits[data[i] & 15];
        if (i + 1 == size)
            break;
        line[used++] = ',';
        if (column + used >= wrapAt) {
            std::memcpy(line + used, "\\\r\n", 3);
            if (!writeText(sink, line, used + 3))
                return false;
            std::memcpy(line, "  ", 2);
            used = 2;
            column = 0;
        }
    }
    return writeText(sink, line, used);
}

}  // namespace

namespace RegistryFile {

bool encode(const MappingList& list, ByteSink& sink)
{
    const std::size_t size = ScancodeMapValue::encodedSize(list.count());
    unsigned char* value = size ? static_cast<unsigned char*>(std::malloc(size)) : nullptr;
    if (value == nullptr)
        return false;
    ScancodeMapValue::encode(list, value);
    const bool written = writeText(sink, head, sizeof head - 1) &&
                         writeHexLines(sink, value, size, valueColumn) &&
                         writeText(sink, tail, sizeof tail - 1);
    std::free(value);
    return written;
}

bool hasRegistryFileName(const char* name)
{
    static const char extension[] = ".reg";
    const std::size_t length = std::strlen(name), extensionLength = sizeof extension - 1;
    if (length < extensionLength)
        return false;
    for (std::size_t i = 0; i < extensionLength; ++i) {
        char c = name[length - extensionLength + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != extension[i])
            return false;
    }
    return true;
}

}  // namespace RegistryFile
