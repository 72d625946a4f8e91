// The block of shared memory through which a second copy of the program reaches the first.
#pragma once

#include <windows.h>

#include <cstdint>

// Shared by every running copy, 32- or 64-bit, so the layout is fixed: 264 bytes.
struct SharedInstanceBlock {
    std::uint32_t hWndMain;  // the first copy's main window, 0 until it is ready
    char filePath[260];      // map file handed over by the latest second copy
};
static_assert(sizeof(SharedInstanceBlock) == 264, "the block's layout is shared between copies");

// Window handles carry 32 significant bits on 64-bit Windows and are widened with their
// sign, so a handle stored by a 32-bit copy names the same window in a 64-bit one.
inline HWND MainWindowOf(const SharedInstanceBlock& block)
{
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<std::int32_t>(block.hWndMain)));
}
