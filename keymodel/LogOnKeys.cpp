#include "LogOnKeys.h"

#include <cstring>

namespace {

int logOnKeyOf(ScanCode produced)
{
    switch (produced) {
    case 0x001D:  // Left Ctrl
    case 0xE01D:  // Right Ctrl
        return LogOnCtrl;
    case 0x0038:  // Left Alt
    case 0xE038:  // Right Alt
        return LogOnAlt;
    case 0xE053:  // Delete
    case 0x0053:  // Keypad .
        return LogOnDelete;
    }
    return 0;
}

// One bit for every 16-bit code: which sources have had their first row.
class CodeSet {
public:
    CodeSet() { std::memset(bits_, 0, sizeof bits_); }
    bool has(ScanCode code) const { return (bits_[code >> 3] >> (code & 7)) & 1; }
    void add(ScanCode code) { bits_[code >> 3] = static_cast<unsigned char>(bits_[code >> 3] | 1 << (code & 7)); }

private:
    unsigned char bits_[65536 / 8];
};

}  // namespace

int missingLogOnKeys(const MappingList& list)
{
    const int all = LogOnCtrl | LogOnAlt | LogOnDelete;
    int produced = 0;
    // One pass, so that a list of a million rows costs no more than reading it once.
    CodeSet mapped;
    for (int i = 0; i < list.count(); ++i) {
        const KeyMapping& row = list.at(i);
        if (row.fromCode == 0 || mapped.has(row.fromCode))
            continue;  // no key, or not the first row of its source
        mapped.add(row.fromCode);
        produced |= logOnKeyOf(row.toCode);
    }
    // Index 0 is "<Disabled>", no key of the keyboard.
    for (int index = 1; index < KeyCatalogue::size; ++index) {
        ScanCode code = KeyCatalogue::entryAt(index).code;
        if (!mapped.has(code))
            produced |= logOnKeyOf(code);
    }
    return all & ~produced;
}

const char* logOnKeyNames(int missing)
{
    static const char* const names[] = {
        "", "Ctrl", "Alt", "Ctrl or Alt", "Delete", "Ctrl or Delete", "Alt or Delete", "Ctrl, Alt or Delete",
    };
    return names[missing & (LogOnCtrl | LogOnAlt | LogOnDelete)];
}
