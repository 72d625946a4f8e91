// The store of Windows 95/98/ME: the table stored for the keyboard driver and handed to it.
#pragma once

#include <windows.h>

#include "MappingList.h"
#include "StoreResults.h"
#include "TranslationTable.h"

// One table for the whole process: read into, built, written and sent, one use at a time.
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
