#include "StoreResults.h"

const char* ReadFailureMessage(int result)
{
    switch (result) {
    case ReadKeyNotOpened: return "Unable to access the registry.";
    case ReadNotQueried: return "Unable to access scan code map.";
    case ReadWrongType: return "Scan code map value is the wrong data type.";
    case ReadNoMemory: return "Memory allocation error.";
    case ReadNotRetrieved: return "Unable to retrieve scan code map data.";
    case ReadBadFormat: return "Scan code map data format is unknown or invalid.";
    default: return nullptr;
    }
}
