#include "AppMessageBox.h"

#include "SystemCalls.h"
#include "resource.h"

Text ApplicationTitle()
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

Text FormatMessageText(const char* format, const Text& value)
{
    Text text = format;
    std::size_t at = text.find("%s");
    if (at != Text::npos)
        text.replace(at, 2, value.c_str());
    return text;
}
