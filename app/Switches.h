// The switches for scripts and administrators: "/apply FILE" applies a map file ("/apply
// /force FILE" even one that leaves no key for Ctrl+Alt+Del), "/save FILE" saves the
// mappings in effect, "/?" shows how. They run without a window and leave alone
// everything a running copy shares (the block, the running mark) and the settings file.
#pragma once

// Exit codes of a switch, the same on every system.
enum SwitchExit {
    ExitDone = 0,
    ExitUsage = 1,           // unknown switch, missing or extra argument
    ExitBadFile = 2,         // the map file cannot be read, is not valid, or holds unknown codes
    ExitStoreNotOpened = 3,  // the store cannot be opened, or the mappings in effect not read
    ExitNotWritten = 4,      // the store or the file cannot be written
    ExitLocksOut = 5,        // NT family: no key would produce Ctrl, Alt or Delete; /force applies it
};

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

// When the command line's first word is a switch: runs it and returns true, with the
// process's exit code in `exitCode`. Otherwise false, and the program starts as usual. A
// switch runs with the system's critical-error boxes ("no disk" and the like) turned off, so
// that no box stops a script.
bool RunSwitch(const char* commandLine, int& exitCode);

// What "/?" shows.
extern const char switchUsage[];
