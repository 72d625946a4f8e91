#include "TranslationTable.h"

namespace TranslationTable {

void fillIdentity(unsigned char* table)
{
    for (std::size_t i = 0; i < size; ++i)
        table[i] = static_cast<unsigned char>(i);
}

void encode(const MappingList& list, unsigned char* table)
{
    fillIdentity(table);
    for (int i = 0; i < list.count(); ++i) {
        const KeyMapping& row = list.at(i);
        // Extended keys never reach this platform's list. Should one slip through, it has
        // no entry in the table: leave it out rather than write past the end.
        if (row.fromCode >= size)
            continue;
        table[row.fromCode] = static_cast<unsigned char>(row.toCode & 0xFF);
    }
}

void decode(const unsigned char* table, MappingList& list)
{
    for (std::size_t i = 0; i < size; ++i)
        if (table[i] != i)
            list.append(static_cast<ScanCode>(i), table[i]);  // a row that does not fit is dropped
}

}  // namespace TranslationTable
