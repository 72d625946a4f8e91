// The work of the /apply and /save switches. Each returns a SwitchExit and says in `line`
// (room for 1025 characters) what happened, in one line. IsNT must be set.
#pragma once

// Applies the map file at `path` as OK applies the window's list after a Load of it, and
// asks nothing: no restart question, no notice. Unless `force` is true, a file that holds
// key codes the catalogue lacks is refused (ExitBadFile), and so, on the NT family, is one
// after which no key produces Ctrl, Alt or Delete (ExitLocksOut).
int ApplyMapFileQuietly(const char* path, bool force, char* line);

// Saves the mappings in effect, as the window shows them when it opens, as Save saves them.
int SaveMappingsInEffect(const char* path, char* line);
