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

// When the command line's first word is a switch: runs it and returns true, with the
// process's exit code in `exitCode`. Otherwise false, and the program starts as usual. A
// switch runs with the system's critical-error boxes ("no disk" and the like) turned off, so
// that no box stops a script.
bool RunSwitch(const char* commandLine, int& exitCode);

// What "/?" shows.
extern const char switchUsage[];

// The work of /apply and /save. Each returns a SwitchExit and says in `line` (room for 1025
// characters) what happened, in one line. IsNT must be set.

// Applies the map file at `path` as OK applies the window's list after a Load of it, and
// asks nothing: no restart question, no notice. Unless `force` is true, a file that holds
// key codes the catalogue lacks is refused (ExitBadFile), and so, on the NT family, is one
// after which no key produces Ctrl, Alt or Delete (ExitLocksOut).
int ApplyMapFileQuietly(const char* path, bool force, char* line);

// Saves the mappings in effect, as the window shows them when it opens, as Save saves them.
int SaveMappingsInEffect(const char* path, char* line);
