// A map file held in memory, for the tests and the fuzzer, and a sink that fills up.
#pragma once

#include <cstring>
#include <vector>

#include "ByteSink.h"
#include "ByteSource.h"

class MemorySource : public ByteSource {
public:
    MemorySource(const unsigned char* data, std::size_t size) : data_(data), size_(size), position_(0) {}

    bool read(unsigned char* out, std::size_t size) override
    {
        if (size > size_ - position_)
            return false;
        if (size > 0)
            std::memcpy(out, data_ + position_, size);
        position_ += size;
        return true;
    }

    std::uint64_t remaining() const override { return size_ - position_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_;
};

class MemorySink : public ByteSink {
public:
    bool write(const unsigned char* data, std::size_t size) override
    {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    }

    std::vector<unsigned char> bytes;
};

// Accepts `capacity` bytes, then fails every write, as a full disk would.
class FullSink : public ByteSink {
public:
    explicit FullSink(std::size_t capacity) : capacity_(capacity) {}
    bool write(const unsigned char*, std::size_t size) override
    {
        if (size > capacity_)
            return false;
        capacity_ -= size;
        return true;
    }

private:
    std::size_t capacity_;
};
