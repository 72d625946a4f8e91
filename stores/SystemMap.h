// Reading and writing the key map in effect, through the store of the running platform.
#pragma once

#include "MappingList.h"
#include "StoreResults.h"

// Fills the empty list with the mappings in effect. Returns a ReadResult (0 to 6); on
// Windows 95/98/ME always ReadOk.
int ReadCurrentMap(MappingList& list);

// NT family: the "ScanCode Map" value under HKEY_LOCAL_MACHINE.
int ReadScancodeMap(MappingList& list);
StoreWriteResult WriteScancodeMap(const MappingList& list);

// Windows 95/98/ME: the table stored for the keyboard driver. Never fails: anything
// unreadable leaves the list empty.
int ReadTranslationTableMap(MappingList& list);
