// Memory for the shipped programs from the process heap, and the few memory and string
// functions that the program and the compiler call (the compiler for copies and clears
// of structures), in place of the C and C++ runtimes.
#include <windows.h>

#include <cstddef>

extern "C" {

void* malloc(std::size_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }

void free(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

void* realloc(void* block, std::size_t bytes)
{
    if (!block)
        return malloc(bytes);
    if (bytes == 0) {
        free(block);
        return nullptr;
    }
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes);
}

// The string instructions are on every x86 processor, and they keep GCC from turning a
// loop written here back into a call of the function itself.
void* memset(void* destination, int value, std::size_t bytes)
{
    void* d = destination;
    asm volatile("rep stosb" : "+D"(d), "+c"(bytes) : "a"(value) : "memory");
    return destination;
}

void* memcpy(void* destination, const void* source, std::size_t bytes)
{
    void* d = destination;
    asm volatile("rep movsb" : "+D"(d), "+S"(source), "+c"(bytes) : : "memory");
    return destination;
}

void* memmove(void* destination, const void* source, std::size_t bytes)
{
    const char* s = static_cast<const char*>(source);
    char* d = static_cast<char*>(destination);
    if (d <= s || d >= s + bytes)
        return memcpy(destination, source, bytes);
    // Overlapping with the destination above the source: copy from the end down.
    s += bytes - 1;
    d += bytes - 1;
    asm volatile("std\n\trep movsb\n\tcld" : "+D"(d), "+S"(s), "+c"(bytes) : : "memory");
    return destination;
}

int memcmp(const void* a, const void* b, std::size_t bytes)
{
    const unsigned char* x = static_cast<const unsigned char*>(a);
    const unsigned char* y = static_cast<const unsigned char*>(b);
    for (; bytes > 0; --bytes, ++x, ++y)
        if (*x != *y)
            return *x < *y ? -1 : 1;
    return 0;
}

std::size_t strlen(const char* text)
{
    const char* end = text;
    while (*end)
        ++end;
    return static_cast<std::size_t>(end - text);
}

// A call through an unfinished object: a fault in the program, so it ends at once, with a
// code that no switch gives (scripts read 0 to 4 as a switch's outcome).
void __cxa_pure_virtual() { ExitProcess(255); }

}  // extern "C"

// Without exceptions a failed new gives a null pointer, which the callers check
// (-fcheck-new makes every new-expression test it).
void* operator new(std::size_t bytes) { return malloc(bytes); }
void* operator new[](std::size_t bytes) { return malloc(bytes); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, std::size_t) noexcept { free(block); }
void operator delete[](void* block, std::size_t) noexcept { free(block); }
