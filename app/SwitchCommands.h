// The work of the /apply and /save switches. Each returns a SwitchExit and says in `line`
// (room for 1025 characters) what happened, in one line. IsNT must be set.
#pragma once

// Applies the map file at `path` as OK applies the window's list after a Load of it, and
// asks nothing: no restart question, no notice. On the NT family a file after which no key
// produces Ctrl, Alt or Delete is refused (ExitLocksOut) unless `force` is true.
int ApplyMapFileQuietly(const char* path, bool force, char* line);

// Saves the mappings in effect, as the window shows them when it opens, as Save saves them.
int SaveMappingsInEffect(const char* path, char* line);
