// The device of the Quorvex keyboard driver on Windows 95/98/ME. Opening it succeeds only
// while the driver is loaded, so a failed open means the driver is not loaded yet.
#pragma once

#include <windows.h>

// Takes a new 256-byte translation table as its only input.
const DWORD setTranslationTableCode = 0x000B0400;

// The opened device; valid only between OpenKeyboardDriver and CloseKeyboardDriver.
extern HANDLE driverHandle;

// 0 once the device is open in driverHandle; otherwise the error of the failed open
// (never 0).
DWORD OpenKeyboardDriver();

// Closes driverHandle. Returns 0.
int CloseKeyboardDriver();
