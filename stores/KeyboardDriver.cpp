#include "KeyboardDriver.h"

#include "SystemCalls.h"

static_assert(CTL_CODE(FILE_DEVICE_KEYBOARD, 0x100, METHOD_BUFFERED, FILE_ANY_ACCESS) == setTranslationTableCode,
              "the driver's control code");

HANDLE driverHandle = INVALID_HANDLE_VALUE;

namespace {
// No extension: the name then only finds the driver once it is loaded.
const char deviceName[] = "\\\\.\\QUORVEX";
}  // namespace

DWORD OpenKeyboardDriver()
{
    HANDLE device = systemCalls.createFile(deviceName, 0, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        // A failed open must never read as success.
        return error ? error : ERROR_GEN_FAILURE;
    }
    driverHandle = device;
    return 0;
}

int CloseKeyboardDriver()
{
    systemCalls.closeHandle(driverHandle);
    driverHandle = INVALID_HANDLE_VALUE;
    return 0;
}
