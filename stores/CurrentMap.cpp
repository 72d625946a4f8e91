#include "CurrentMap.h"

#include "Platform.h"
#include "ScancodeMapStore.h"
#include "TranslationTableStore.h"

int ReadCurrentMap(MappingList& list)
{
    return IsNT ? ReadScancodeMap(list) : ReadTranslationTableMap(list);
}

StoreWriteResult WriteCurrentMap(const MappingList& list)
{
    if (IsNT)
        return WriteScancodeMap(list);
    BuildTranslationTable(list);
    return WriteTranslationTable();
}
