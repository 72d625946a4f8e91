// Whether Ctrl+Alt+Del can still be pressed once a set of mappings is in effect: where the
// log-on asks for it, a set without Ctrl, Alt or Delete locks the user out.
#pragma once

#include "MappingList.h"

// The keys of Ctrl+Alt+Del, as bits.
enum LogOnKey {
    LogOnCtrl = 1,    // Left or Right Ctrl
    LogOnAlt = 2,     // Left or Right Alt
    LogOnDelete = 4,  // Delete, or Keypad . (Ctrl+Alt+Keypad Del works with Num Lock off)
};

// The LogOnKey bits of the keys that no physical key produces with `list` in effect; 0 when
// Ctrl+Alt+Del can be pressed. A key with a row produces the target of its first row (an
// unknown code too); a catalogue key without a row produces itself.
int missingLogOnKeys(const MappingList& list);

// The names of the missing keys for a sentence: "Ctrl", "Ctrl or Alt", "Ctrl, Alt or
// Delete" and so on; "" for none. Static text.
const char* logOnKeyNames(int missing);
