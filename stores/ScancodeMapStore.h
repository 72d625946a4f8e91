// The NT family's store: the "ScanCode Map" value under HKEY_LOCAL_MACHINE.
#pragma once

#include "MappingList.h"
#include "StoreResults.h"

// Fills the empty list with the mappings of the value. Returns a ReadResult (0 to 6).
int ReadScancodeMap(MappingList& list);
StoreWriteResult WriteScancodeMap(const MappingList& list);
// True when this user's rights do not reach the value: its key does not open for writing,
// for want of access (and not because it is missing).
bool ScancodeMapWriteDenied();
