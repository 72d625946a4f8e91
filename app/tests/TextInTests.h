// The program's Text beside the standard library in tests: compared with std::string, and
// shown by GoogleTest as the characters it holds.
#pragma once

#include <ostream>
#include <string>

#include "Text.h"

inline bool operator==(const std::string& left, const Text& right)
{
    return left.size() == right.size() && right == left.c_str();
}
inline bool operator==(const Text& left, const std::string& right) { return right == left; }

inline void PrintTo(const Text& text, std::ostream* out) { *out << '"' << text.c_str() << '"'; }
