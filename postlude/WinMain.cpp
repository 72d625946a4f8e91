// Postlude's entry point: no arguments, no window of its own, no message loop.
#include "Postlude.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RunPostlude();
    return 0;
}
