// What the command line says: the program's name, then a switch with its file, or one
// map-file path to load. Plain parsing, with no calls to the system.
#pragma once

#include "Text.h"

// Space, tab, line feed, vertical tab, form feed or carriage return.
bool IsWhiteSpace(char c);

// What follows the program's own name on a full command line, skipped the way the C run-time
// skips it for WinMain: a quoted name up to its closing quote, or an unquoted one up to the
// first blank. Points into `commandLine`; "" when it is null.
const char* ArgumentsAfterProgramName(const char* commandLine);

// The file named by the arguments: white space trimmed at both ends, then one leading and one
// trailing double quote removed. The rest is one path, never split, so a file name with
// spaces needs no quotes. Empty when no file was named.
Text CommandLineFileOf(const Text& arguments);

enum SwitchCommand {
    NoSwitch,  // the command line keeps its old meaning: a map file to load
    ApplySwitch,
    SaveSwitch,
    HelpSwitch,
    WrongSwitch,  // unknown, or without its one argument
};

struct SwitchLine {
    SwitchCommand command;
    const char* file;  // the argument, inside the command line; not NUL-terminated
    int fileLength;
    bool force;  // "/apply /force FILE"
};

// Reads the arguments that follow the program's name. A switch is the first word, starting
// with "/" or "-", in any case; a FILE with spaces is given in double quotes. "/force" is
// taken only between "/apply" and its FILE.
SwitchLine ParseSwitch(const char* arguments);
