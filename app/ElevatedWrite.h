// Storing the key map through an elevated copy of the program, where the user's own rights
// do not reach it (Windows Vista and later with UAC: the window opens without a prompt, and
// only OK asks for administrator rights).
#pragma once

#include <windows.h>

#include "MappingList.h"

// True when OK's write needs the elevated copy: on the NT family, the key refuses this
// user's write for want of rights, and the token is a filtered one that can be elevated.
bool WriteNeedsElevation();

enum ElevatedWriting {
    ElevatedExited,       // the copy ran; its exit code says how the write went
    ElevationDeclined,    // the user declined the prompt; nothing was written
    ElevationNotStarted,  // the copy could not be started; nothing was written
    ElevatedNoFile,       // the list could not be put in a temporary file; nothing was written
};

// Puts the list in a temporary map file in the user's temp folder, runs this program
// elevated with "/apply /force" of that file and waits for it with `window` disabled (its
// messages still handled, so that it keeps painting), then deletes the file. `detail` is
// the copy's exit code with ElevatedExited, the system's error with ElevationNotStarted.
ElevatedWriting WriteThroughElevatedCopy(HWND window, const MappingList& list, DWORD& detail);
