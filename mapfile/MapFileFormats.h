// The two forms a set of mappings is saved in and loaded from: the ".swm" map file and the
// registry file that administrators deploy.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "MapFile.h"
#include "MapRecords.h"
#include "MappingList.h"

namespace MapFileFormats {

// Reads either form, told apart by the file's first bytes, not by its name.
MapFile::Result decode(ByteSource& source, MapRecords& records);

// Writes a registry file when `name` ends in ".reg" (any case), otherwise a ".swm" map file.
bool encode(const char* name, const MappingList& list, ByteSink& sink);

}  // namespace MapFileFormats
