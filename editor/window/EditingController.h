#pragma once

#include "editor/window/EditingView.h"
#include "editor/window/UndoHistory.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaron {

class KeyboardState;
class TDocument;

// Where an edit happens: a key, its level (0 = level 1) and the grid cursor
// in that macro.
struct TMacroPlace
{
    int Key = 0;
    int Level = 0;
    int Cursor = 0;
};

// The selected block of grid cells (a single cell when nothing else is
// selected), in cells: columns Left.., rows Top...
struct TCellBlock
{
    int Left = 0;
    int Top = 0;
    int Width = 1;
    int Height = 1;

    int Cells() const { return Width * Height; }
};

// Every change that the main window makes to the document's macros and keys,
// with the modifier flags that typing uses and the undo history. The window
// forwards its controls' events here with the place and the selection;
// what is to be shown goes back through TEditingView. No widgets: tests drive
// it directly.
class TEditingController
{
public:
    static constexpr int GridColumns = 8;

    TEditingController(TDocument& document, KeyboardState& keyboard, TEditingView& view);

    std::uint8_t ModifierFlags() const { return m_modifierFlags; }
    bool HideLengthWarning() const { return m_hideLengthWarning; }
    // "Don't show this message again", until the program ends.
    void SetHideLengthWarning() { m_hideLengthWarning = true; }

    // The key path (InsertKeyNumber, "Not enough room or macro full!") and the
    // raw path (InsertItem, "Macro Full!") at the cursor.
    bool InsertKeyCode(const TMacroPlace& place, int value);
    bool InsertRawCode(const TMacroPlace& place, int value);
    // A whole MIDI message as raw items, one step, or nothing when it does
    // not fit.
    void InsertMidiMessage(const TMacroPlace& place, const std::uint8_t* bytes, int count);
    // Deletes the block's items starting at the place's cursor, row by row.
    void DeleteCells(const TMacroPlace& place, const TCellBlock& block);
    void CheckLengthWarning(const TMacroPlace& place);

    // The grid's keys.
    void CharacterTyped(const TMacroPlace& place, int code);
    void Backspace(const TMacroPlace& place, const TCellBlock& block);
    void Delete(const TMacroPlace& place, const TCellBlock& block);
    void ShiftPressed();
    void ShiftReleased();
    void ModifierToggled(std::uint8_t flag, bool pressed);

    // On-screen keys, delay and beep (key path), F1 to F12 and the pop-up
    // menu's codes (raw path): the insertion, then the length check.
    void KeyWithLengthCheck(const TMacroPlace& place, int value);
    void RawCodeWithLengthCheck(const TMacroPlace& place, int code);

    void EraseAll(const TMacroPlace& place);
    void LedCommand(const TMacroPlace& place, int n);
    void KeyTypeClicked(const TMacroPlace& place, int keyType);
    void SetAutoRepeat(const TMacroPlace& place, bool on);
    void SetSendLineEditKeyASAP(const TMacroPlace& place, bool on);
    void SetMacroName(const TMacroPlace& place, std::string name);
    // The manual entry's value; false (with the error box for a decimal value
    // above 255) when there is none to insert.
    bool ManualValue(int entered, bool hexadecimal, int& value);

    // The selected block's items, or the whole macro when a single cell is
    // selected, as clipboard text (see TMacroClip).
    std::string CopyText(const TMacroPlace& place, const TCellBlock& block) const;
    // The same, then the items go; cutting the whole macro also clears its
    // name and flags.
    std::string Cut(const TMacroPlace& place, const TCellBlock& block);
    // Inserts a macro's items at the cursor, all or nothing. An empty macro
    // also takes its flags, an unnamed one its name. Text that is not a
    // macro is refused with a message.
    bool Paste(const TMacroPlace& place, std::string_view text);

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    // Takes back or does again one step and shows the key, level and cursor
    // it changed.
    void Undo();
    void Redo();
    // New and Open start a new history; Save keeps it.
    void ClearHistory();
    void DocumentSaved();
    const TUndoHistory& History() const { return m_history; }

    // A property dialog opens; each Apply it makes is one step. A dialog may
    // report its Apply before or after it writes the records: a change found
    // at the next report, or when the dialog has closed, is recorded then.
    void BeginPropertyEdits();
    void PropertiesApplied();
    void EndPropertyEdits();

private:
    TMacroChange beginChange(const TMacroPlace& place, bool nameEdit = false) const;
    void commitChange(TMacroChange& change, int cursorAfter);
    // Records the change, then shows the macro with the cursor at position.
    void finishMacroChange(TMacroChange& change, int position);
    // Clears the modifier flags but Caps Lock's, names the macro, then finishes.
    void afterInsertion(const TMacroPlace& place, TMacroChange& change, int position);
    // A macro flag and its writer.
    struct MacroFlag
    {
        std::uint8_t TMacroData::*Field;
        void (TKeypadClass::*Set)(int, int, std::uint8_t);
    };
    // One step when the flag changes, none when it is already so.
    void setMacroFlag(const TMacroPlace& place, bool on, MacroFlag flag);
    // An unnamed macro takes its first item's label as its name.
    void nameAfterFirstItem(const TMacroPlace& place);
    TPropertySnapshot propertySnapshot() const;
    void restoreProperties(const TPropertySnapshot& snapshot);
    bool recordPropertyChange();
    void apply(const TEditStep& step, bool undo);

    TDocument& m_document;
    KeyboardState& m_keyboard;
    TEditingView& m_view;
    bool m_hideLengthWarning = false;
    std::uint8_t m_modifierFlags = 0;
    TUndoHistory m_history;
    // The property dialogs' values as of the last Apply (or their opening).
    TPropertySnapshot m_propertyBase;
};

} // namespace tessaron
