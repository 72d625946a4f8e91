#include "AppMessageBox.h"

#include <vector>

#include "SystemCalls.h"
#include "resource.h"

std::string ApplicationTitle()
{
    char title[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_APP_TITLE, title, sizeof title);
    return title;
}

int AppMessageBox(HWND owner, const char* text, UINT type)
{
    UINT buttons = type & MB_TYPEMASK;
    bool plainButtons = buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
    if (plainButtons && (type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    return systemCalls.messageBox(owner, text, ApplicationTitle().c_str(), type);
}

std::string FormatMessageText(const char* format, const std::string& value)
{
    std::string text = format;
    std::string::size_type at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}
