#include "KeyMessage.h"

ScanCode KeyCodeOfMessage(WPARAM virtualKey, LPARAM keyData)
{
    const ScanCode scanCode = static_cast<ScanCode>((keyData >> 16) & 0xFF);
    const bool extended = (keyData & (1L << 24)) != 0;
    // Num Lock and Pause share the make code 0x45. Windows marks Num Lock extended although
    // the keyboard sends it without the prefix, and Pause not, although it has a prefix of its own.
    // Ctrl+Num Lock comes as VK_PAUSE too, but keeps Num Lock's extended bit.
    if (scanCode == 0x45) {
        if (virtualKey == VK_PAUSE && !extended)
            return PAUSE_CODE;
        return 0x0045;
    }
    if (scanCode == 0)
        return 0;
    return static_cast<ScanCode>((extended ? 0xE000 : 0) | scanCode);
}
