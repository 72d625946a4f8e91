// A modal dialog from a template, with `this` carried through DialogBoxParam's lParam.
#pragma once

#include <windows.h>

class Dialog {
public:
    virtual ~Dialog() = default;

    // Runs the dialog modally; its end code, or -1 when it could not be created.
    INT_PTR RunModal(int templateId, HWND owner);
    HWND Handle() const { return hwnd_; }
    // Ends the modal loop with this code.
    void End(INT_PTR code);
    bool Ended() const { return ended_; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // Handles one message; returns false to let the standard dialog handling take it.
    // `result` is what the dialog procedure returns when the message is handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // A message's result, which a dialog procedure hands back through DWLP_MSGRESULT.
    INT_PTR MessageResult(LRESULT value);
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool ended_ = false;
};

// A table that maps one kind of message of a dialog class T to member handlers.
template <class T>
struct CommandEntry {
    int id;
    void (T::*handler)();
};

template <class T>
struct NotifyEntry {
    int id;
    UINT code;
    LRESULT (T::*handler)(NMHDR* header);
};

template <class T, size_t N>
bool DispatchCommand(T* self, const CommandEntry<T> (&table)[N], int id)
{
    for (const CommandEntry<T>& entry : table)
        if (entry.id == id) {
            (self->*entry.handler)();
            return true;
        }
    return false;
}

template <class T, size_t N>
bool DispatchNotify(T* self, const NotifyEntry<T> (&table)[N], NMHDR* header, LRESULT& result)
{
    for (const NotifyEntry<T>& entry : table)
        if (entry.id == static_cast<int>(header->idFrom) && entry.code == header->code) {
            result = (self->*entry.handler)(header);
            return true;
        }
    return false;
}
