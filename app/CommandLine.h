// The one map-file path a user can name on the command line.
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
