// Postlude finishes an installation on Windows 95/98/ME: it finds out whether the
// keyboard driver is running, offers to start Swivelkin or to restart Windows, and
// presses the installer's Finish button. It shows message boxes only.
#pragma once

#include <windows.h>

// The whole run: the NT family only hears that Postlude is not needed there; otherwise
// the question, then Finish, then what the user chose.
void RunPostlude();

// TRUE when the keyboard driver's device can be opened, that is, the driver is running.
BOOL IsDriverLoaded();

// Presses Finish on the installer's wizard, if the wizard and its button are there.
void PressInstallerFinish();
