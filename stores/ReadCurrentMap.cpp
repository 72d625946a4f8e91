#include "Platform.h"
#include "SystemMap.h"

int ReadCurrentMap(MappingList& list)
{
    return IsNT ? ReadScancodeMap(list) : ReadTranslationTableMap(list);
}
