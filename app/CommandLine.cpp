#include "CommandLine.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

const char* ArgumentsAfterProgramName(const char* commandLine)
{
    const char* p = commandLine ? commandLine : "";
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && !IsBlank(*p))
            ++p;
    }
    while (IsBlank(*p))
        ++p;
    return p;
}

Text CommandLineFileOf(const Text& arguments)
{
    std::size_t first = 0, end = arguments.size();
    while (first < end && IsWhiteSpace(arguments[first]))
        ++first;
    while (end > first && IsWhiteSpace(arguments[end - 1]))
        --end;
    if (first < end && arguments[first] == '"')
        ++first;
    if (first < end && arguments[end - 1] == '"')
        --end;
    return arguments.substr(first, end - first);
}
