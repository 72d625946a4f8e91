// Message boxes as the program shows them; every box goes through systemCalls.
#pragma once

#include <windows.h>

#include "Text.h"

// The application title, "Swivelkin", from the string table.
Text ApplicationTitle();

// The application message box: captioned with the application title; an OK, OK/Cancel,
// Yes/No or Yes/No/Cancel box without an icon of its own gets the exclamation mark.
int AppMessageBox(HWND owner, const char* text, UINT type = MB_OK);

// A message with one %s replaced by `value`.
Text FormatMessageText(const char* format, const Text& value);
