// The ".swm" map file. All integers little-endian:
//   header   a length-prefixed string, "Swivelkin 2.0" (written as 0x0D and 13 ASCII bytes)
//   count    signed 32-bit number of records
//   records  per mapping the target code, then the source code, 16 bits each
// So a file of n mappings is 18 + 4 * n bytes long.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "MapRecords.h"
#include "MappingList.h"

namespace MapFile {

enum Result {
    Ok,
    IoError,   // the file ends before the header, the count or a record is complete
    NotValid,  // the header text is not "Swivelkin 2.0"
    NoMemory,  // no storage for the records
    // Registry files (RegistryFile.h)
    NoScancodeMap,   // the file does not set the "ScanCode Map" value
    BadScancodeMap,  // the value it sets is not valid
};

// The text a failed load shows the user; nullptr for Ok. Where it names the file, "%s"
// stands for the path.
const char* failureMessage(Result result);

// Reads a map file from the start of `source` into `records`, in file order. A count of 0
// or less gives no records. On failure `records` is left empty. Nothing after the last
// record is read.
Result decode(ByteSource& source, MapRecords& records);

// Writes the list's rows in list order, header in the one-byte form. false when a write fails.
bool encode(const MappingList& list, ByteSink& sink);

}  // namespace MapFile
