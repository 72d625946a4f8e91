#include "MapFileBytes.h"

#include <cstdlib>
#include <cstring>

#include "SystemCalls.h"

namespace {
const std::size_t bufferSize = 4096;
}

FileSource::FileSource(HANDLE file) : file_(file), buffer_(static_cast<unsigned char*>(std::malloc(bufferSize)))
{
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    if (low != INVALID_FILE_SIZE || GetLastError() == NO_ERROR)
        size_ = static_cast<std::uint64_t>(high) << 32 | low;
}

FileSource::~FileSource() { std::free(buffer_); }

bool FileSource::read(unsigned char* out, std::size_t size)
{
    while (size > 0) {
        if (used_ == filled_) {
            DWORD got = 0;
            if (!ReadFile(file_, buffer_, bufferSize, &got, nullptr) || got == 0)
                return false;
            used_ = 0;
            filled_ = got;
        }
        std::size_t take = filled_ - used_ < size ? filled_ - used_ : size;
        std::memcpy(out, buffer_ + used_, take);
        used_ += take;
        consumed_ += take;
        out += take;
        size -= take;
    }
    return true;
}

std::uint64_t FileSource::remaining() const { return consumed_ < size_ ? size_ - consumed_ : 0; }

FileSink::FileSink(HANDLE file) : file_(file), buffer_(static_cast<unsigned char*>(std::malloc(bufferSize))) {}

FileSink::~FileSink() { std::free(buffer_); }

bool FileSink::write(const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        if (used_ == bufferSize && !Flush())
            return false;
        std::size_t take = bufferSize - used_ < size ? bufferSize - used_ : size;
        std::memcpy(buffer_ + used_, data, take);
        used_ += take;
        data += take;
        size -= take;
    }
    return true;
}

bool FileSink::Flush()
{
    DWORD written = 0;
    bool ok = used_ == 0 ||
              (systemCalls.writeFile(file_, buffer_, static_cast<DWORD>(used_), &written, nullptr) && written == used_);
    used_ = 0;
    return ok;
}
