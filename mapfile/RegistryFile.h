// Registry files (".reg"), the form regedit, "reg import" and deployment tools take the
// "ScanCode Map" value in:
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Keyboard Layout]
//   "ScanCode Map"=hex:00,00,00,00,00,00,00,00,02,00,00,00,1d,00,3a,00,00,00,00,00
//
// Written in that form, read in every form regedit writes or reads: "REGEDIT4" or
// "Windows Registry Editor Version 5.00", ANSI or UTF-16LE behind its byte-order mark.
#pragma once

#include <cstddef>

#include "ByteSink.h"
#include "ByteSource.h"
#include "MapFile.h"
#include "MapRecords.h"
#include "MappingList.h"

namespace RegistryFile {

// Enough of a file's first bytes to tell whether it is a registry file.
const std::size_t signatureBytes = 2 + 2 * 40;

// True when a file that starts with these bytes (its first signatureBytes, or all of it
// when shorter) is a registry file: its first line is one of the two signatures.
bool recognise(const unsigned char* start, std::size_t size);

// Reads the "ScanCode Map" value that the file sets under the Keyboard Layout key (the
// last one, if it sets it more than once) and gives its mappings as records, in stored
// order: Ok, with no records when the value is deleted or empty; NoScancodeMap when the
// file does not set it; BadScancodeMap when its data are not hex bytes that form a valid
// value; NotValid when the file is no registry file; IoError; NoMemory. Storage never
// exceeds what the bytes left in `source` could hold.
MapFile::Result decode(ByteSource& source, MapRecords& records);

// Writes the list as the "ScanCode Map" value, exactly the bytes the registry would hold,
// wrapped as regedit wraps it. false when a write fails or no memory is left.
bool encode(const MappingList& list, ByteSink& sink);

// True when `name` ends in ".reg", in any case: Save writes a registry file for it.
bool hasRegistryFileName(const char* name);

}  // namespace RegistryFile
