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

inline HWND MainWindowOf(const SharedInstanceBlock& block)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(block.hWndMain));
}
