#include "EditingController.h"

#include "common/KeyboardState.h"
#include "editor/model/Document.h"
#include "editor/model/MacroClip.h"
#include "editor/model/PackedFields.h"

#include <algorithm>

namespace tessaron {

namespace {

const char* const NotAMacro = "The clipboard does not hold a macro: nothing was pasted.";

} // namespace

TEditingController::TEditingController(TDocument& document, KeyboardState& keyboard,
                                       TEditingView& view)
    : m_document(document), m_keyboard(keyboard), m_view(view), m_propertyBase(propertySnapshot())
{
}

// --- steps -------------------------------------------------------------------

TMacroChange TEditingController::beginChange(int cursor, bool nameEdit) const
{
    const TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change;
    change.Key = keypad.CurrentKey();
    change.Level = keypad.CurrentLevel();
    change.CursorBefore = cursor;
    change.Before.KeyType = keypad.Keys(change.Key).KeyType;
    change.Before.Macro = keypad.Macro(change.Key, change.Level);
    change.NameEdit = nameEdit;
    return change;
}

void TEditingController::commitChange(TMacroChange& change, int cursorAfter)
{
    const TKeypadClass& keypad = m_document.Keypad();
    change.After.KeyType = keypad.Keys(change.Key).KeyType;
    change.After.Macro = keypad.Macro(change.Key, change.Level);
    change.CursorAfter = cursorAfter;
    if (!(change.After == change.Before)) {
        m_history.Push(std::move(change));
    }
}

void TEditingController::finishMacroChange(TMacroChange& change, int position)
{
    commitChange(change, position);
    m_view.ShowMacro(position);
    m_view.ShowModified(true);
}

TPropertySnapshot TEditingController::propertySnapshot() const
{
    return {UserParametersOf(m_document.Keypad()), m_document.Rom().AdvancedParams,
            m_document.Rom().ScreenData};
}

void TEditingController::restoreProperties(const TPropertySnapshot& snapshot)
{
    SetUserParameters(m_document.Keypad(), snapshot.User);
    TRomRecords& rom = m_document.Rom();
    rom.AdvancedParams = snapshot.Advanced;
    rom.AdvancedParamsWork = snapshot.Advanced;
    rom.ScreenData = snapshot.Screens;
    rom.ScreenDataWork = snapshot.Screens;
    m_propertyBase = snapshot;
}

void TEditingController::apply(const TEditStep& step, bool undo)
{
    if (const auto* change = std::get_if<TMacroChange>(&step)) {
        const TMacroSnapshot& state = undo ? change->Before : change->After;
        TKeypadClass& keypad = m_document.Keypad();
        keypad.RestoreKey(change->Key, change->Level, state.KeyType, state.Macro);
        keypad.SelectKey(static_cast<std::uint8_t>(change->Key));
        keypad.SelectLevel(static_cast<std::uint8_t>(change->Level));
        m_view.ShowKeyType(change->Key);
        m_view.ShowPlace(undo ? change->CursorBefore : change->CursorAfter);
    } else {
        const auto& properties = std::get<TPropertyChange>(step);
        restoreProperties(undo ? properties.Before : properties.After);
        m_view.ShowProperties();
    }
    const bool modified = !m_history.AtSavedPoint();
    m_view.ShowModified(modified);
}

void TEditingController::Undo()
{
    if (const TEditStep* step = m_history.Undo()) {
        apply(*step, true);
    }
}

void TEditingController::Redo()
{
    if (const TEditStep* step = m_history.Redo()) {
        apply(*step, false);
    }
}

void TEditingController::ClearHistory()
{
    m_history.Clear();
    m_propertyBase = propertySnapshot();
}

void TEditingController::DocumentSaved()
{
    m_history.MarkSaved();
}

void TEditingController::BeginPropertyEdits()
{
    m_propertyBase = propertySnapshot();
}

bool TEditingController::recordPropertyChange()
{
    TPropertySnapshot now = propertySnapshot();
    if (now == m_propertyBase) {
        return false;
    }
    m_history.Push(TPropertyChange{m_propertyBase, now});
    m_propertyBase = std::move(now);
    return true;
}

void TEditingController::PropertiesApplied()
{
    recordPropertyChange();
    m_view.ShowModified(true);
}

void TEditingController::EndPropertyEdits()
{
    // The last Apply of a dialog that reports before it writes.
    if (recordPropertyChange()) {
        m_view.ShowModified(true);
    }
}

// --- insertions ----------------------------------------------------------------

void TEditingController::insertedItems()
{
    if ((m_modifierFlags & CapsLock) == 0) {
        m_modifierFlags = 0;
    }
    // An unnamed macro takes its first item's label as its name (not a blank
    // when the insertion gave no item).
    TKeypadClass& keypad = m_document.Keypad();
    if (keypad.MacroName().empty() && keypad.ItemCount() > 0) {
        keypad.SetMacroName(keypad.ItemLabel(0));
    }
}

void TEditingController::afterInsertion(TMacroChange& change, int position)
{
    insertedItems();
    finishMacroChange(change, position);
}

bool TEditingController::InsertKeyCode(int cursor, int value)
{
    TMacroChange change = beginChange(cursor);
    int position = cursor;
    if (!m_document.Keypad().InsertKeyNumber(position, value, m_modifierFlags,
                                             m_keyboard.ShiftDown(), m_keyboard.CapsLockOn())) {
        m_view.ShowError("Not enough room or macro full!");
        return false;
    }
    afterInsertion(change, position);
    return true;
}

bool TEditingController::InsertRawCode(int cursor, int value)
{
    TMacroChange change = beginChange(cursor);
    int position = cursor;
    if (!m_document.Keypad().InsertItem(position, value)) {
        m_view.ShowError("Macro Full!");
        return false;
    }
    afterInsertion(change, position);
    return true;
}

void TEditingController::InsertMidiMessage(int cursor, const std::uint8_t* bytes, int count)
{
    if (bytes == nullptr || count <= 0) {
        return;
    }
    TKeypadClass& keypad = m_document.Keypad();
    // All or nothing: a message that does not fit would leave a broken one.
    if (keypad.BytesUsed() + count > MacroByteLimit) {
        m_view.ShowError("Macro Full!");
        return;
    }
    TMacroChange change = beginChange(cursor);
    int position = cursor;
    for (int i = 0; i < count; ++i) {
        keypad.InsertItem(position, bytes[i]);
    }
    afterInsertion(change, position);
}

void TEditingController::DeleteCells(int position, const TCellBlock& block)
{
    TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change = beginChange(position);
    int p = position;
    for (int row = 0; row < block.Height; ++row) {
        for (int i = 0; i < block.Width; ++i) {
            if (p >= 0 && p < MacroSlots) {
                keypad.DeleteItem(static_cast<std::uint8_t>(p));
            }
        }
        p += GridColumns - block.Width;
    }
    finishMacroChange(change, position);
}

int TEditingController::BlockStart(int cursor, const TCellBlock& block)
{
    // A block is deleted from its top-left cell, wherever the cursor ended up
    // while it was dragged or extended.
    if (block.Cells() > 1) {
        return block.Top * GridColumns + block.Left;
    }
    return cursor;
}

void TEditingController::CheckLengthWarning()
{
    const TKeypadClass& keypad = m_document.Keypad();
    if (m_hideLengthWarning || keypad.BytesUsed() < 2) {
        return;
    }
    const TRomRecords& rom = m_document.Rom();
    if (m_romEditMode) {
        if (IsLineEdit(rom.AdvancedParams.Operating_Mode)) {
            m_view.ShowLengthWarning(rom.AdvancedParamsWork.LcdXlate != 0);
        }
    } else if (IsLineEdit(keypad.Operating_Mode)) {
        m_view.ShowLengthWarning(false);
    }
}

// --- grid keys -------------------------------------------------------------------

void TEditingController::CharacterTyped(int cursor, int code)
{
    if (code >= 128) {
        InsertKeyCode(cursor, code);
    } else if (code >= 0 && CharKeyTable[static_cast<size_t>(code)] != 0) {
        InsertKeyCode(cursor, CharKeyTable[static_cast<size_t>(code)]);
    }
    CheckLengthWarning();
}

void TEditingController::Backspace(int cursor, const TCellBlock& block)
{
    if (block.Cells() > 1) {
        DeleteCells(BlockStart(cursor, block), block);
    } else if (cursor > 0) {
        DeleteCells(cursor - 1, block);
    }
}

void TEditingController::Delete(int cursor, const TCellBlock& block)
{
    DeleteCells(BlockStart(cursor, block), block);
}

void TEditingController::ShiftPressed()
{
    m_modifierFlags |= LeftShift | ShiftKeyHeld;
}

void TEditingController::ShiftReleased()
{
    m_modifierFlags = 0;
    // Caps Lock's flag went with the others; its button follows.
    m_view.ShowCapsLock(false);
}

void TEditingController::ModifierToggled(std::uint8_t flag, bool pressed)
{
    if (pressed) {
        m_modifierFlags |= flag;
    } else {
        m_modifierFlags &= static_cast<std::uint8_t>(~flag);
    }
}

void TEditingController::KeyWithLengthCheck(int cursor, int value)
{
    InsertKeyCode(cursor, value);
    CheckLengthWarning();
}

void TEditingController::RawCodeWithLengthCheck(int cursor, int code)
{
    InsertRawCode(cursor, code);
    CheckLengthWarning();
}

// --- commands --------------------------------------------------------------------

void TEditingController::EraseAll(int cursor)
{
    TKeypadClass& keypad = m_document.Keypad();
    if (keypad.ItemCount() == 0) {
        return;
    }
    TMacroChange change = beginChange(cursor);
    keypad.ClearMacro();
    finishMacroChange(change, 0);
}

void TEditingController::LedCommand(int cursor, int n)
{
    InsertKeyCode(cursor, LedBase + n);
    const TKeypadClass& keypad = m_document.Keypad();
    const std::uint8_t mode = keypad.Operating_Mode;
    if (HostModeOf(mode) == THostMode::Hid) {
        m_view.ShowInformation(
            "Note: The LED cannot be controlled by Host or Macro in HID Keyboard mode.");
        return;
    }
    if (IsLineEdit(mode) && keypad.SendLineEditKeyASAP() == 0) {
        m_view.ShowInformation("Keypad must be in True Terminal mode or key  must have "
                               "\"Transmit this key\"\nchecked in order for the LED command to "
                               "function.");
    }
    // Commands 8 to 10 are the green LED's, 11 to 13 the red LED's.
    const bool green = n <= 10;
    const TLedFunctions functions = LedFunctionsOf(keypad.LED_Function);
    if ((green ? functions.Green : functions.Red) != LedHostControl) {
        m_view.ShowInformation(green ? "The Green LED will not operate in your macro unless you "
                                       "change\nthe Green LED mode to Host/Macro in the "
                                       "Properties panel."
                                     : "The Red LED will not operate in your macro unless you "
                                       "change\nthe Red LED mode to Host/Macro in the Properties "
                                       "panel.");
    }
}

void TEditingController::KeyTypeClicked(int cursor, int keyType)
{
    TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change = beginChange(cursor);
    // The item with the check mark is the key's own type: clicking it clears it.
    const int newType = keypad.KeyType() == keyType ? KeyTypeNone : keyType;
    keypad.SetKeyType(static_cast<std::uint8_t>(newType));
    // An unnamed macro is named after its key's new type.
    if (keypad.MacroName().empty() && *KeyTypeName(newType) != '\0') {
        keypad.SetMacroName(KeyTypeName(newType));
        m_view.ShowMacroName();
    }
    commitChange(change, cursor);
    m_view.ShowKeyType(keypad.CurrentKey());
    m_view.ShowModified(true);
}

void TEditingController::setMacroFlag(int cursor, bool on, MacroFlag flag)
{
    TKeypadClass& keypad = m_document.Keypad();
    if (on == ((keypad.*flag.Get)() != 0)) {
        return;
    }
    TMacroChange change = beginChange(cursor);
    (keypad.*flag.Set)(on ? 1 : 0);
    commitChange(change, cursor);
    m_view.ShowModified(true);
}

void TEditingController::SetAutoRepeat(int cursor, bool on)
{
    setMacroFlag(cursor, on, {&TKeypadClass::AutoRepeat, &TKeypadClass::SetAutoRepeat});
}

void TEditingController::SetSendLineEditKeyASAP(int cursor, bool on)
{
    setMacroFlag(cursor, on,
                 {&TKeypadClass::SendLineEditKeyASAP, &TKeypadClass::SetSendLineEditKeyASAP});
}

void TEditingController::SetMacroName(int cursor, std::string name)
{
    TMacroChange change = beginChange(cursor, true);
    m_document.Keypad().SetMacroName(std::move(name));
    commitChange(change, cursor);
    m_view.ShowModified(true);
}

bool TEditingController::ManualValue(int entered, bool hexadecimal, int& value)
{
    if (entered < 0) {
        return false;
    }
    if (!hexadecimal && entered > 255) {
        m_view.ShowError("Value exceeds 255 (decimal).");
        return false;
    }
    value = entered;
    return true;
}

// --- clipboard -------------------------------------------------------------------

std::string TEditingController::CopyText(const TCellBlock& block) const
{
    const TKeypadClass& keypad = m_document.Keypad();
    TMacroClip clip;
    clip.Name = keypad.MacroName();
    clip.AutoRepeat = keypad.AutoRepeat();
    clip.SendLineEditKeyASAP = keypad.SendLineEditKeyASAP();
    const int count = keypad.ItemCount();
    if (block.Cells() > 1) {
        for (int row = block.Top; row < block.Top + block.Height; ++row) {
            for (int column = block.Left; column < block.Left + block.Width; ++column) {
                const int cell = row * GridColumns + column;
                if (cell < count) {
                    clip.Items.push_back(keypad.Item(cell));
                }
            }
        }
    } else {
        for (int i = 0; i < count; ++i) {
            clip.Items.push_back(keypad.Item(i));
        }
    }
    return clip.Text(keypad.Command_Prefix);
}

std::string TEditingController::Cut(int cursor, const TCellBlock& block)
{
    std::string text = CopyText(block);
    if (block.Cells() > 1) {
        DeleteCells(BlockStart(cursor, block), block);
        return text;
    }
    TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change = beginChange(cursor);
    keypad.ClearMacro();
    keypad.SetMacroName({});
    keypad.SetAutoRepeat(0);
    keypad.SetSendLineEditKeyASAP(0);
    finishMacroChange(change, 0);
    return text;
}

bool TEditingController::Paste(int cursor, std::string_view text)
{
    const std::optional<TMacroClip> clip = TMacroClip::Parse(text);
    if (!clip) {
        m_view.ShowError(NotAMacro);
        return false;
    }
    TKeypadClass& keypad = m_document.Keypad();
    int bytes = 0;
    for (std::int32_t item : clip->Items) {
        bytes += ItemCost(item);
    }
    if (keypad.BytesUsed() + bytes > MacroByteLimit) {
        m_view.ShowError("Macro Full!");
        return false;
    }
    TMacroChange change = beginChange(cursor);
    const bool wasEmpty = keypad.ItemCount() == 0;
    int position = std::clamp(cursor, 0, static_cast<int>(keypad.ItemCount()));
    for (std::int32_t item : clip->Items) {
        keypad.InsertItem(position, item);
    }
    if (wasEmpty) {
        keypad.SetAutoRepeat(clip->AutoRepeat);
        keypad.SetSendLineEditKeyASAP(clip->SendLineEditKeyASAP);
    }
    if (keypad.MacroName().empty()) {
        if (!clip->Name.empty()) {
            keypad.SetMacroName(clip->Name);
        } else if (keypad.ItemCount() > 0) {
            keypad.SetMacroName(keypad.ItemLabel(0));
        }
    }
    finishMacroChange(change, position);
    return true;
}

} // namespace tessaron
