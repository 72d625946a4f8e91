// Map files on disk: read as Load reads them and written as Save writes them, for the window
// and for the command-line switches alike.
#pragma once

#include "MapFile.h"
#include "MapRecords.h"
#include "MappingList.h"

enum MapFileReading {
    MapFileRead,
    MapFileNotOpened,   // missing, locked, or no access
    MapFileNoReader,    // no memory for the reader's buffer
    MapFileNotDecoded,  // not a valid map file: `decoded` says why
};

// Opens `path` (an existing file, no sharing) and decodes its records into `records`, in
// file order and unfiltered: a map file, or a registry file's "ScanCode Map" value.
// `decoded` is the decoder's result.
MapFileReading ReadMapFileFrom(const char* path, MapRecords& records, MapFile::Result& decoded);

// Appends the mappings of `records` to `list`, in order; false when the list's storage runs
// out before the last one.
bool AppendRecords(const MapRecords& records, MappingList& list);

enum MapFileWriting {
    MapFileWritten,
    MapFileNotAccessible,  // no file could be made beside it, or the new file not put in its place
    MapFileNotWritten,     // a write failed
};

// Writes the list into a temporary file beside `path` and puts that in the place of `path`
// only once every byte is written, so a failed save never destroys the file it was to
// replace. A `path` ending in ".reg" gets a registry file, any other a map file.
MapFileWriting WriteMapFileTo(const char* path, const MappingList& list);
