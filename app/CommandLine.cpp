#include "CommandLine.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipWhiteSpace(const char* p)
{
    while (IsWhiteSpace(*p))
        ++p;
    return p;
}

const char* EndOfWord(const char* p)
{
    while (*p && !IsWhiteSpace(*p))
        ++p;
    return p;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The switches' names are plain ASCII, so case is folded for those letters alone.
bool WordIs(const char* word, const char* end, const char* name)
{
    for (; word < end && *name; ++word, ++name)
        if (Lower(*word) != *name)
            return false;
    return word == end && !*name;
}

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

SwitchLine ParseSwitch(const char* arguments)
{
    SwitchLine parsed = {NoSwitch, nullptr, 0, false};
    const char* word = SkipWhiteSpace(arguments ? arguments : "");
    if (*word != '/' && *word != '-')
        return parsed;
    const char* end = EndOfWord(word);
    parsed.command = WordIs(word + 1, end, "apply")  ? ApplySwitch
                     : WordIs(word + 1, end, "save") ? SaveSwitch
                     : WordIs(word + 1, end, "?")    ? HelpSwitch
                                                     : WrongSwitch;
    const char* p = SkipWhiteSpace(end);
    if (parsed.command == ApplySwitch && (*p == '/' || *p == '-') && WordIs(p + 1, EndOfWord(p), "force")) {
        parsed.force = true;
        p = SkipWhiteSpace(EndOfWord(p));
    }
    if (parsed.command == ApplySwitch || parsed.command == SaveSwitch) {
        const char* file = p;
        if (*p == '"') {
            file = ++p;
            while (*p && *p != '"')
                ++p;
            if (*p != '"' || (p[1] && !IsWhiteSpace(p[1]))) {
                parsed.command = WrongSwitch;
                return parsed;
            }
            parsed.file = file;
            parsed.fileLength = static_cast<int>(p - file);
            ++p;
        } else {
            p = EndOfWord(p);
            parsed.file = file;
            parsed.fileLength = static_cast<int>(p - file);
        }
        if (parsed.fileLength == 0)
            parsed.command = WrongSwitch;
        p = SkipWhiteSpace(p);
    }
    if (*p)
        parsed.command = WrongSwitch;
    return parsed;
}
