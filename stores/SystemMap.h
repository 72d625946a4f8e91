// Reading and writing the key map in effect, through the store of the running platform.
#pragma once

#include <windows.h>

#include "MappingList.h"
#include "StoreResults.h"
#include "TranslationTable.h"

// Fills the empty list with the mappings in effect. Returns a ReadResult (0 to 6); on
// Windows 95/98/ME always ReadOk.
int ReadCurrentMap(MappingList& list);

// NT family: the "ScanCode Map" value under HKEY_LOCAL_MACHINE.
int ReadScancodeMap(MappingList& list);
StoreWriteResult WriteScancodeMap(const MappingList& list);
// True when this user's rights do not reach the value: its key does not open for writing,
// for want of access (and not because it is missing).
bool ScancodeMapWriteDenied();

// Windows 95/98/ME: the table stored for the keyboard driver and handed to it. One table
// for the whole process: read into, built, written and sent, one use at a time.
extern unsigned char translationTable[TranslationTable::size];

// Never fails: anything unreadable leaves the list empty and the table the identity.
int ReadTranslationTableMap(MappingList& list);
// Fills the table from the list.
void BuildTranslationTable(const MappingList& list);
// Stores the table and the driver's start-up entry.
StoreWriteResult WriteTranslationTable();
// Hands the table to the running driver; when the driver is not loaded, offers to
// restart Windows and returns FALSE. Otherwise the result of the device call.
BOOL SendTableToDriver();

enum DriverHandOver {
    DriverNotLoaded,
    DriverTookTable,
    DriverRefusedTable,  // the device call failed
};
// Hands the table to the running driver and asks nobody anything.
DriverHandOver HandTableToDriver();
