#pragma once

#include <cstdint>
#include <string>

namespace tessaron {

// What the editing controller asks of the window that shows the document.
// The window implements it with its controls, tests with a recorder.
class TEditingView
{
public:
    virtual ~TEditingView() = default;

    // Error and information boxes with an OK button.
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    // The macro being edited, with the grid cursor at position.
    virtual void ShowMacro(int position) = 0;
    // The macro of another key or level: the keypad and level tab follow,
    // then the macro is shown with the cursor at position.
    virtual void ShowPlace(int key, int level, int position) = 0;
    // The name of the macro being edited alone (the cursor stays).
    virtual void ShowMacroName() = 0;
    // The type icon of one key.
    virtual void ShowKeyType(int key) = 0;
    // The property dialogs' values changed (undo or redo of an Apply).
    virtual void ShowProperties() = 0;
    // The changed flag: Save, the "*" of the caption.
    virtual void ShowModified(bool modified) = 0;
    // The on-screen Caps Lock toggle, which follows its flag when Shift clears it.
    virtual void ShowCapsLock(bool pressed) = 0;
    // The macro length warning, short or long form, shown without taking the
    // keyboard focus.
    virtual void ShowLengthWarning(bool longForm) = 0;
    // Whether items are shown in hexadecimal: an unnamed macro is named after
    // its first item as shown.
    virtual bool HexView() const = 0;
    // The edit mode chosen at start-up, which decides how the length warning
    // is checked.
    virtual bool RomEditMode() const = 0;
};

} // namespace tessaron
