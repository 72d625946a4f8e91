// The key map in effect, through the store of the running platform: the one place that
// chooses between the NT family's value and the table of Windows 95/98/ME. IsNT must be set.
#pragma once

#include "MappingList.h"
#include "StoreResults.h"

// Fills the empty list with the mappings in effect. Returns a ReadResult (0 to 6); on
// Windows 95/98/ME always ReadOk.
int ReadCurrentMap(MappingList& list);

// Writes the list to the store. On Windows 95/98/ME this builds the process's one
// translation table first, which the driver may then be handed.
StoreWriteResult WriteCurrentMap(const MappingList& list);
