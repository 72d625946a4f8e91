// Outcomes of reading and writing the system's key maps.
#pragma once

// Result of ReadCurrentMap. 1 to 6 end the program with ReadFailureMessage.
enum ReadResult {
    ReadOk = 0,  // also when no map is stored
    ReadKeyNotOpened = 1,
    ReadNotQueried = 2,
    ReadWrongType = 3,
    ReadNoMemory = 4,
    ReadNotRetrieved = 5,
    ReadBadFormat = 6,
};

// Text shown for a read result from 1 to 6; nullptr for any other value.
const char* ReadFailureMessage(int result);

enum StoreWriteResult {
    Written,
    OpenFailed,   // the key could not be opened; nothing was written
    WriteFailed,  // the key was opened (or the data could not be prepared); not written
};
