// Any stored table given to the decoder: one row for every entry that differs from its
// index, in ascending order, and the rows encode back to the very same table.
#include "TranslationTable.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The input overwrites the front of the identity; the rest stays unmapped.
    unsigned char table[TranslationTable::size];
    TranslationTable::fillIdentity(table);
    if (size)
        std::memcpy(table, data, size < sizeof table ? size : sizeof table);

    MappingList list;
    TranslationTable::decode(table, list);
    int expected = 0;
    for (std::size_t i = 0; i < sizeof table; ++i)
        expected += table[i] != i;
    if (list.count() != expected)
        std::abort();
    for (int i = 0; i < list.count(); ++i) {
        const KeyMapping& row = list.at(i);
        if (row.fromCode >= TranslationTable::size || row.toCode != table[row.fromCode] ||
            (i > 0 && list.at(i - 1).fromCode >= row.fromCode))
            std::abort();
    }

    // Normalising reorders the rows; with one row per source the table stays the same.
    list.normalise();
    unsigned char again[TranslationTable::size];
    TranslationTable::encode(list, again);
    if (std::memcmp(again, table, sizeof table) != 0)
        std::abort();
    return 0;
}
