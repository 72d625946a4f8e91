// The key a keyboard message reports, as a catalogue code.
#pragma once

#include <windows.h>

#include "KeyCatalogue.h"

// Pause is sent as E1 1D 45: a code that no key list holds.
const ScanCode PAUSE_CODE = 0xE11D;

// Code of the key that a WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP or WM_SYSKEYUP message reports,
// from the scan code and extended bit of its lParam; 0 when the message carries no scan code.
ScanCode KeyCodeOfMessage(WPARAM virtualKey, LPARAM keyData);

// True for a key whose key-down Windows keeps to itself, so only its key-up tells of it.
inline bool CapturedOnKeyUp(WPARAM virtualKey) { return virtualKey == VK_SNAPSHOT; }
