#include "KeyCatalogue.h"

#include <cstring>

namespace {
const KeyEntry entries[KeyCatalogue::size] = {
    {0x0000, "<Disabled>"},
    {0x002A, "Left Shift"},
    {0x0036, "Right Shift"},
    {0x001D, "Left Ctrl"},
    {0xE01D, "Right Ctrl"},
    {0x0038, "Left Alt"},
    {0xE038, "Right Alt"},
    {0xE05B, "Left Windows"},
    {0xE05C, "Right Windows"},
    {0xE05D, "Menu"},
    {0xE052, "Insert"},
    {0xE053, "Delete"},
    {0xE047, "Home"},
    {0xE04F, "End"},
    {0xE049, "Page Up"},
    {0xE051, "Page Down"},
    {0xE04B, "Left arrow"},
    {0xE04D, "Right arrow"},
    {0xE048, "Up arrow"},
    {0xE050, "Down arrow"},
    {0x003A, "Caps Lock"},
    {0x0045, "Num Lock"},
    {0x0046, "Scroll Lock"},
    {0x003B, "F1"},
    {0x003C, "F2"},
    {0x003D, "F3"},
    {0x003E, "F4"},
    {0x003F, "F5"},
    {0x0040, "F6"},
    {0x0041, "F7"},
    {0x0042, "F8"},
    {0x0043, "F9"},
    {0x0044, "F10"},
    {0x0057, "F11"},
    {0x0058, "F12"},
    {0x0002, "1"},
    {0x0003, "2"},
    {0x0004, "3"},
    {0x0005, "4"},
    {0x0006, "5"},
    {0x0007, "6"},
    {0x0008, "7"},
    {0x0009, "8"},
    {0x000A, "9"},
    {0x000B, "0"},
    {0x000C, "Hyphen -_"},
    {0x000D, "Equal =+"},
    {0x000E, "Backspace"},
    {0x000F, "Tab"},
    {0x001C, "Enter"},
    {0x0029, "Backquote `~"},
    {0x0027, "Semicolon ;:"},
    {0x0028, "Quote '\""},
    {0x0033, "Comma ,<"},
    {0x0034, "Period .>"},
    {0x0035, "Slash /?"},
    {0x002B, "Backslash \\|"},
    {0x001A, "Left brace [{"},
    {0x001B, "Right brace ]}"},
    {0x0053, "Keypad ."},
    {0xE035, "Keypad /"},
    {0x0037, "Keypad *"},
    {0x004A, "Keypad -"},
    {0x004E, "Keypad +"},
    {0xE01C, "Keypad Enter"},
    {0x0052, "Keypad 0"},
    {0x004F, "Keypad 1"},
    {0x0050, "Keypad 2"},
    {0x0051, "Keypad 3"},
    {0x004B, "Keypad 4"},
    {0x004C, "Keypad 5"},
    {0x004D, "Keypad 6"},
    {0x0047, "Keypad 7"},
    {0x0048, "Keypad 8"},
    {0x0049, "Keypad 9"},
    {0x0039, "Spacebar"},
    {0x001E, "A"},
    {0x0030, "B"},
    {0x002E, "C"},
    {0x0020, "D"},
    {0x0012, "E"},
    {0x0021, "F"},
    {0x0022, "G"},
    {0x0023, "H"},
    {0x0017, "I"},
    {0x0024, "J"},
    {0x0025, "K"},
    {0x0026, "L"},
    {0x0032, "M"},
    {0x0031, "N"},
    {0x0018, "O"},
    {0x0019, "P"},
    {0x0010, "Q"},
    {0x0013, "R"},
    {0x001F, "S"},
    {0x0014, "T"},
    {0x0016, "U"},
    {0x002F, "V"},
    {0x0011, "W"},
    {0x002D, "X"},
    {0x0015, "Y"},
    {0x002C, "Z"},
    {0x0001, "Escape"},
};
}  // namespace

namespace KeyCatalogue {
const KeyEntry& entryAt(int index) { return entries[index]; }

namespace {
// Codes are unique, so a direct table gives what a scan from index 0 would find,
// without 103 comparisons per lookup when large lists are normalised.
struct CodeIndex {
    signed char index[0x10000];
    CodeIndex()
    {
        std::memset(index, -1, sizeof index);
        for (int i = 0; i < size; ++i)
            index[entries[i].code] = static_cast<signed char>(i);
    }
};
}  // namespace

int indexOfCode(ScanCode code)
{
    static const CodeIndex table;
    return table.index[code];
}

const char* nameOfCode(ScanCode code)
{
    int index = indexOfCode(code);
    return index < 0 ? nullptr : entries[index].name;
}
}  // namespace KeyCatalogue
