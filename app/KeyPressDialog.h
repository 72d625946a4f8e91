// Asks the user to press a key and names it, so that a key can be found in a key list by
// the key itself rather than by its US-layout name.
#pragma once

#include "Dialog.h"
#include "KeyCatalogue.h"
#include "ListView.h"

class KeyPressDialog : public Dialog {
public:
    // `list` is the key list the key is selected in; `listName` its label, "Map from:" or "Map to:".
    KeyPressDialog(const ListView& list, const char* listName) : list_(list), listName_(listName) {}

    // IDOK when a key of the list was chosen, IDCANCEL otherwise.
    INT_PTR Run(HWND owner);

    // The key pressed last; 0 until a key is pressed.
    ScanCode PressedCode() const { return pressedCode_; }
    bool PressedKeyListed() const;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
    void OnKeyDown(WPARAM virtualKey, LPARAM keyData);
    void OnKeyUp(WPARAM virtualKey, LPARAM keyData);
    void OnHoldTimer();
    void Press(ScanCode code);
    void OnOK();

    const ListView& list_;
    const char* listName_;
    WNDPROC fieldProc_ = nullptr;
    ScanCode pressedCode_ = 0;
    // Enter or Escape while a press of it is timed; 0 otherwise.
    WPARAM timedKey_ = 0;
    ScanCode timedCode_ = 0;
    // The timed key has been held long enough to end the window when it is let go.
    bool heldLong_ = false;
};
