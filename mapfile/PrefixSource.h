// A byte source that first gives back bytes already read from the start of a file, then the
// rest of the file: the loader looks at a file's first bytes to tell its format, and the
// decoder it picks still reads the file from the start.
#pragma once

#include <cstring>

#include "ByteSource.h"

class PrefixSource : public ByteSource {
public:
    // `rest` may be nullptr: then the prefix is all there is.
    PrefixSource(const unsigned char* prefix, std::size_t size, ByteSource* rest)
        : prefix_(prefix), size_(size), used_(0), rest_(rest)
    {
    }

    bool read(unsigned char* out, std::size_t size) override
    {
        if (size > remaining())
            return false;
        const std::size_t fromPrefix = size < size_ - used_ ? size : size_ - used_;
        if (fromPrefix > 0)
            std::memcpy(out, prefix_ + used_, fromPrefix);
        used_ += fromPrefix;
        return fromPrefix == size || rest_->read(out + fromPrefix, size - fromPrefix);
    }

    std::uint64_t remaining() const override { return (size_ - used_) + (rest_ ? rest_->remaining() : 0); }

private:
    const unsigned char* prefix_;
    std::size_t size_;
    std::size_t used_;
    ByteSource* rest_;
};
