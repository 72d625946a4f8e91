// The 256-byte table that the Windows 95/98/ME keyboard driver applies: the index is a
// set-1 make code, the entry the make code that key produces instead (0: switched off).
// An entry equal to its index leaves that key alone, so the identity means no mappings.
#pragma once

#include <cstddef>

#include "MappingList.h"

namespace TranslationTable {

const std::size_t size = 256;

// Sets every entry of `table` (size bytes) to its own index.
void fillIdentity(unsigned char* table);

// Fills `table` (size bytes) from the rows in list order: the identity, then each row's
// target low byte at its source. Of two rows with one source the later wins.
void encode(const MappingList& list, unsigned char* table);

// Appends a row for every entry of `table` (size bytes) that differs from its index, in
// ascending order of index. A row the list cannot take is left out; the rest still come.
void decode(const unsigned char* table, MappingList& list);

}  // namespace TranslationTable
