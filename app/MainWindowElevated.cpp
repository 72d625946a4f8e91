// OK's write through an elevated copy, and what the user hears when that copy wrote nothing.
#include "AppMessageBox.h"
#include "ElevatedWrite.h"
#include "MainWindow.h"
#include "Switches.h"

namespace {

const char elevationDeclinedMessage[] =
    "The new key mappings were not stored: storing them needs administrator rights, and the request "
    "for them was declined.\n\nPress OK to be asked again, or Cancel to leave without storing them.";
const char elevationNotStartedMessage[] =
    "Swivelkin could not ask for the administrator rights that storing the key mappings needs "
    "(error %lu). Nothing was stored.\n\nTo store them, start Swivelkin with \"Run as administrator\".";
const char elevationNoFileMessage[] =
    "The new key mappings could not be put in a temporary file for the copy of Swivelkin that stores "
    "them with administrator rights. Nothing was stored.\n\nTo store them, start Swivelkin with "
    "\"Run as administrator\".";
const char elevatedCopyFailedMessage[] =
    "The copy of Swivelkin with administrator rights did not store the new key mappings (exit code "
    "%lu).\n\nPress OK to try again, or start Swivelkin with \"Run as administrator\".";

}  // namespace

bool MainWindow::WriteElevated(StoreWriteResult& written)
{
    DWORD detail = 0;
    ElevatedWriting how = WriteThroughElevatedCopy(Handle(), mappings, detail);
    char text[sizeof elevationNoFileMessage + 16];
    switch (how) {
    case ElevationDeclined:
        AppMessageBox(Handle(), elevationDeclinedMessage);
        return false;
    case ElevationNotStarted:
        wsprintfA(text, elevationNotStartedMessage, detail);
        AppMessageBox(Handle(), text);
        return false;
    case ElevatedNoFile:
        AppMessageBox(Handle(), elevationNoFileMessage);
        return false;
    case ElevatedExited:
        break;
    }
    // The copy's exit code stands for the result its own write gave.
    switch (detail) {
    case ExitDone:
        written = Written;
        return true;
    case ExitStoreNotOpened:
        written = OpenFailed;
        return true;
    case ExitNotWritten:
        written = WriteFailed;
        return true;
    }
    // Anything else: the list is kept, and the user may try again.
    wsprintfA(text, elevatedCopyFailedMessage, detail);
    AppMessageBox(Handle(), text);
    return false;
}
