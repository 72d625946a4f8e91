// A string of chars on the heap for the program's paths and messages: the few operations
// of std::string that the program uses, without the C++ library, which the shipped
// program does not carry. When memory runs out a Text becomes empty and failed, and stays
// so: nothing appended later makes it look whole, and texts made from it are failed too.
// It never points at freed or missing memory.
#pragma once

#include <cstddef>

class Text {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    Text() = default;
    Text(const char* text);  // implicit, as for std::string
    Text(const char* text, std::size_t length);
    Text(const Text& other);
    Text(Text&& other) noexcept;
    ~Text();
    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept;

    const char* c_str() const { return data_ ? data_ : ""; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // True once memory ran out while this text, or a text it was made from, was built.
    bool failed() const { return failed_; }
    char operator[](std::size_t index) const { return c_str()[index]; }  // index == size() gives the NUL

    // Positions of a character or of a piece of text, or npos.
    std::size_t find(char c, std::size_t from = 0) const;
    std::size_t find(const char* part, std::size_t from = 0) const;
    std::size_t rfind(char c) const;

    // The `count` characters from `position` (as many as there are).
    Text substr(std::size_t position, std::size_t count = npos) const;
    // Cuts the text at `position`.
    Text& erase(std::size_t position);
    // Puts `with` in the place of the `count` characters from `position`.
    Text& replace(std::size_t position, std::size_t count, const char* with);
    Text& append(const char* text, std::size_t length);
    Text& operator+=(const char* text);
    Text& operator+=(const Text& text);  // a failed `text` fails this one

private:
    void fail();

    char* data_ = nullptr;  // owned; nullptr while empty
    std::size_t size_ = 0;
    bool failed_ = false;
};

Text operator+(const Text& left, const char* right);
Text operator+(const Text& left, const Text& right);
Text operator+(const char* left, const Text& right);
bool operator==(const Text& left, const char* right);
bool operator==(const char* left, const Text& right);
bool operator==(const Text& left, const Text& right);
inline bool operator!=(const Text& left, const char* right) { return !(left == right); }
inline bool operator!=(const char* left, const Text& right) { return !(left == right); }
inline bool operator!=(const Text& left, const Text& right) { return !(left == right); }
