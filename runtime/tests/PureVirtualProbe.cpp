// Makes the call that the compiler puts into the table of an unfinished object, as a
// fault of the program would; the program's exit code is the one that call gives.
#include <windows.h>

extern "C" void __cxa_pure_virtual();

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    __cxa_pure_virtual();
    return 0;
}
