// A map file opened with CreateFileA as the codec's byte source or sink, through a
// 4096-byte buffer.
#pragma once

#include <windows.h>

#include "ByteSink.h"
#include "ByteSource.h"

class FileSource : public ByteSource {
public:
    explicit FileSource(HANDLE file);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // false when the buffer could not be obtained.
    bool Ready() const { return buffer_ != nullptr; }
    bool read(unsigned char* out, std::size_t size) override;
    std::uint64_t remaining() const override;

private:
    HANDLE file_;
    unsigned char* buffer_;
    std::size_t used_ = 0, filled_ = 0;
    std::uint64_t size_ = 0, consumed_ = 0;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(HANDLE file);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool Ready() const { return buffer_ != nullptr; }
    bool write(const unsigned char* data, std::size_t size) override;
    // Writes out what the buffer holds; false when the file did not take all of it.
    bool Flush();

private:
    HANDLE file_;
    unsigned char* buffer_;
    std::size_t used_ = 0;
};
