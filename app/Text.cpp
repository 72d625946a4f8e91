#include "Text.h"

#include <cstdlib>
#include <cstring>

namespace {

std::size_t LengthOf(const char* text) { return text ? std::strlen(text) : 0; }

bool SameChars(const char* a, std::size_t aLength, const char* b, std::size_t bLength)
{
    return aLength == bLength && (aLength == 0 || std::memcmp(a, b, aLength) == 0);
}

}  // namespace

Text::Text(const char* text) { append(text, LengthOf(text)); }

Text::Text(const char* text, std::size_t length) { append(text, length); }

Text::Text(const Text& other) : failed_(other.failed_) { append(other.c_str(), other.size_); }

Text::Text(Text&& other) noexcept : data_(other.data_), size_(other.size_), failed_(other.failed_)
{
    other.data_ = nullptr;
    other.size_ = 0;
    other.failed_ = false;
}

Text::~Text() { std::free(data_); }

Text& Text::operator=(const Text& other)
{
    if (this != &other) {
        Text copy(other);
        *this = static_cast<Text&&>(copy);
    }
    return *this;
}

Text& Text::operator=(Text&& other) noexcept
{
    if (this != &other) {
        std::free(data_);
        data_ = other.data_;
        size_ = other.size_;
        failed_ = other.failed_;
        other.data_ = nullptr;
        other.size_ = 0;
        other.failed_ = false;
    }
    return *this;
}

void Text::fail()
{
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    failed_ = true;
}

std::size_t Text::find(char c, std::size_t from) const
{
    for (std::size_t i = from; i < size_; ++i)
        if (data_[i] == c)
            return i;
    return npos;
}

std::size_t Text::find(const char* part, std::size_t from) const
{
    const std::size_t length = LengthOf(part);
    for (std::size_t i = from; i <= size_ && length <= size_ - i; ++i)
        if (SameChars(c_str() + i, length, part, length))
            return i;
    return npos;
}

std::size_t Text::rfind(char c) const
{
    for (std::size_t i = size_; i > 0; --i)
        if (data_[i - 1] == c)
            return i - 1;
    return npos;
}

Text Text::substr(std::size_t position, std::size_t count) const
{
    if (position >= size_)
        return failed_ ? Text(*this) : Text();
    const std::size_t left = size_ - position;
    return Text(data_ + position, count < left ? count : left);
}

Text& Text::erase(std::size_t position)
{
    if (position < size_) {
        size_ = position;
        data_[size_] = '\0';
    }
    return *this;
}

Text& Text::replace(std::size_t position, std::size_t count, const char* with)
{
    if (failed_ || position > size_)
        return *this;
    const std::size_t left = size_ - position;
    Text result(c_str(), position);
    result += with;
    result.append(c_str() + position + (count < left ? count : left), count < left ? left - count : 0);
    return *this = static_cast<Text&&>(result);
}

Text& Text::append(const char* text, std::size_t length)
{
    if (failed_ || length == 0)
        return *this;
    // The growth could make the size wrap around: refuse it like any other failed allocation.
    if (length >= static_cast<std::size_t>(-1) - size_) {
        fail();
        return *this;
    }
    // `text` may lie inside this text, so it is copied before the old block can go.
    char* grown = static_cast<char*>(std::malloc(size_ + length + 1));
    if (!grown) {
        fail();
        return *this;
    }
    if (size_)
        std::memcpy(grown, data_, size_);
    std::memcpy(grown + size_, text, length);
    grown[size_ + length] = '\0';
    std::free(data_);
    data_ = grown;
    size_ += length;
    return *this;
}

Text& Text::operator+=(const char* text) { return append(text, LengthOf(text)); }

Text& Text::operator+=(const Text& text)
{
    if (text.failed_ && !failed_)
        fail();
    return append(text.c_str(), text.size_);
}

Text operator+(const Text& left, const char* right)
{
    Text sum(left);
    sum += right;
    return sum;
}

Text operator+(const Text& left, const Text& right)
{
    Text sum(left);
    sum += right;
    return sum;
}

Text operator+(const char* left, const Text& right)
{
    Text sum(left);
    sum += right;
    return sum;
}

bool operator==(const Text& left, const char* right)
{
    return SameChars(left.c_str(), left.size(), right ? right : "", LengthOf(right));
}

bool operator==(const char* left, const Text& right) { return right == left; }

bool operator==(const Text& left, const Text& right)
{
    return SameChars(left.c_str(), left.size(), right.c_str(), right.size());
}
