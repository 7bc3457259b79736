#include "EditingController.h"

#include "common/KeyboardState.h"
#include "editor/model/Document.h"
#include "editor/model/MacroClip.h"
#include "editor/model/PackedFields.h"

#include <algorithm>

namespace tessaron {

namespace {

const char* const NotAMacro = "The clipboard does not hold a macro: nothing was pasted.";

// A block is deleted from its top-left cell, wherever the cursor ended up
// while it was dragged or extended; a single cell from the cursor.
int blockStart(int cursor, const TCellBlock& block)
{
    if (block.Cells() > 1) {
        return block.Top * TEditingController::GridColumns + block.Left;
    }
    return cursor;
}

} // namespace

TEditingController::TEditingController(TDocument& document, KeyboardState& keyboard,
                                       TEditingView& view)
    : m_document(document), m_keyboard(keyboard), m_view(view), m_propertyBase(propertySnapshot())
{
}

// --- steps -------------------------------------------------------------------

TMacroChange TEditingController::beginChange(const TMacroPlace& place, bool nameEdit) const
{
    const TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change;
    change.Key = place.Key;
    change.Level = place.Level;
    change.CursorBefore = place.Cursor;
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
    rom.ScreenData = snapshot.Screens;
    m_propertyBase = snapshot;
}

void TEditingController::apply(const TEditStep& step, bool undo)
{
    if (const auto* change = std::get_if<TMacroChange>(&step)) {
        const TMacroSnapshot& state = undo ? change->Before : change->After;
        TKeypadClass& keypad = m_document.Keypad();
        keypad.RestoreKey(change->Key, change->Level, state.KeyType, state.Macro);
        m_view.ShowKeyType(change->Key);
        m_view.ShowPlace(change->Key, change->Level,
                         undo ? change->CursorBefore : change->CursorAfter);
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

void TEditingController::nameAfterFirstItem(const TMacroPlace& place)
{
    // Not a blank when the macro has no item.
    TKeypadClass& keypad = m_document.Keypad();
    if (keypad.Macro(place.Key, place.Level).MacroName.empty() &&
        keypad.ItemCount(place.Key, place.Level) > 0) {
        keypad.SetMacroName(place.Key, place.Level,
                            ItemLabelOf(keypad.Item(place.Key, place.Level, 0), m_view.HexView()));
    }
}

void TEditingController::afterInsertion(const TMacroPlace& place, TMacroChange& change,
                                        int position)
{
    if ((m_modifierFlags & CapsLock) == 0) {
        m_modifierFlags = 0;
    }
    nameAfterFirstItem(place);
    finishMacroChange(change, position);
}

bool TEditingController::InsertKeyCode(const TMacroPlace& place, int value)
{
    TMacroChange change = beginChange(place);
    int position = place.Cursor;
    if (!m_document.Keypad().InsertKeyNumber(place.Key, place.Level, position, value,
                                             m_modifierFlags, m_keyboard.ShiftDown(),
                                             m_keyboard.CapsLockOn())) {
        m_view.ShowError("Not enough room or macro full!");
        return false;
    }
    afterInsertion(place, change, position);
    return true;
}

bool TEditingController::InsertRawCode(const TMacroPlace& place, int value)
{
    TMacroChange change = beginChange(place);
    int position = place.Cursor;
    if (!m_document.Keypad().InsertItem(place.Key, place.Level, position, value)) {
        m_view.ShowError("Macro Full!");
        return false;
    }
    afterInsertion(place, change, position);
    return true;
}

void TEditingController::InsertMidiMessage(const TMacroPlace& place, const std::uint8_t* bytes,
                                           int count)
{
    if (bytes == nullptr || count <= 0) {
        return;
    }
    TKeypadClass& keypad = m_document.Keypad();
    // All or nothing: a message that does not fit would leave a broken one.
    if (keypad.BytesUsed(place.Key, place.Level) + count > MacroByteLimit) {
        m_view.ShowError("Macro Full!");
        return;
    }
    TMacroChange change = beginChange(place);
    int position = place.Cursor;
    for (int i = 0; i < count; ++i) {
        keypad.InsertItem(place.Key, place.Level, position, bytes[i]);
    }
    afterInsertion(place, change, position);
}

void TEditingController::DeleteCells(const TMacroPlace& place, const TCellBlock& block)
{
    TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change = beginChange(place);
    int p = place.Cursor;
    for (int row = 0; row < block.Height; ++row) {
        for (int i = 0; i < block.Width; ++i) {
            if (p >= 0 && p < MacroSlots) {
                keypad.DeleteItem(place.Key, place.Level, static_cast<std::uint8_t>(p));
            }
        }
        p += GridColumns - block.Width;
    }
    finishMacroChange(change, place.Cursor);
}

void TEditingController::CheckLengthWarning(const TMacroPlace& place)
{
    const TKeypadClass& keypad = m_document.Keypad();
    if (m_hideLengthWarning || keypad.BytesUsed(place.Key, place.Level) < 2) {
        return;
    }
    const TRomRecords& rom = m_document.Rom();
    if (m_view.RomEditMode()) {
        if (IsLineEdit(rom.AdvancedParams.Operating_Mode)) {
            m_view.ShowLengthWarning(rom.AdvancedParams.LcdXlate != 0);
        }
    } else if (IsLineEdit(keypad.Operating_Mode)) {
        m_view.ShowLengthWarning(false);
    }
}

// --- grid keys -------------------------------------------------------------------

void TEditingController::CharacterTyped(const TMacroPlace& place, int code)
{
    if (code >= 128) {
        InsertKeyCode(place, code);
    } else if (code >= 0 && CharKeyTable[static_cast<size_t>(code)] != 0) {
        InsertKeyCode(place, CharKeyTable[static_cast<size_t>(code)]);
    }
    CheckLengthWarning(place);
}

void TEditingController::Backspace(const TMacroPlace& place, const TCellBlock& block)
{
    if (block.Cells() > 1) {
        Delete(place, block);
    } else if (place.Cursor > 0) {
        DeleteCells({place.Key, place.Level, place.Cursor - 1}, block);
    }
}

void TEditingController::Delete(const TMacroPlace& place, const TCellBlock& block)
{
    DeleteCells({place.Key, place.Level, blockStart(place.Cursor, block)}, block);
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

void TEditingController::KeyWithLengthCheck(const TMacroPlace& place, int value)
{
    InsertKeyCode(place, value);
    CheckLengthWarning(place);
}

void TEditingController::RawCodeWithLengthCheck(const TMacroPlace& place, int code)
{
    InsertRawCode(place, code);
    CheckLengthWarning(place);
}

// --- commands --------------------------------------------------------------------

void TEditingController::EraseAll(const TMacroPlace& place)
{
    TKeypadClass& keypad = m_document.Keypad();
    if (keypad.ItemCount(place.Key, place.Level) == 0) {
        return;
    }
    TMacroChange change = beginChange(place);
    keypad.ClearMacro(place.Key, place.Level);
    finishMacroChange(change, 0);
}

void TEditingController::LedCommand(const TMacroPlace& place, int n)
{
    InsertKeyCode(place, LedBase + n);
    const TKeypadClass& keypad = m_document.Keypad();
    const std::uint8_t mode = keypad.Operating_Mode;
    if (HostModeOf(mode) == THostMode::Hid) {
        m_view.ShowInformation(
            "Note: The LED cannot be controlled by Host or Macro in HID Keyboard mode.");
        return;
    }
    if (IsLineEdit(mode) && keypad.Macro(place.Key, place.Level).SendLineEditKeyASAP == 0) {
        m_view.ShowInformation("Keypad must be in True Terminal mode or key  must have "
                               "\"Transmit this key\"\nchecked in order for the LED command to "
                               "function.");
    }
    // Commands 8 to 10 are the green LED's, 11 to 13 the red LED's.
    const bool green = n <= 10;
    const TLeds functions = LedFunctionsOf(keypad.LED_Function);
    if ((green ? functions.Green : functions.Red) != LedHostControl) {
        m_view.ShowInformation(green ? "The Green LED will not operate in your macro unless you "
                                       "change\nthe Green LED mode to Host/Macro in the "
                                       "Properties panel."
                                     : "The Red LED will not operate in your macro unless you "
                                       "change\nthe Red LED mode to Host/Macro in the Properties "
                                       "panel.");
    }
}

void TEditingController::KeyTypeClicked(const TMacroPlace& place, int keyType)
{
    TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change = beginChange(place);
    // The item with the check mark is the key's own type: clicking it clears it.
    const int newType = keypad.Keys(place.Key).KeyType == keyType ? KeyTypeNone : keyType;
    keypad.SetKeyType(place.Key, static_cast<std::uint8_t>(newType));
    // An unnamed macro is named after its key's new type.
    if (keypad.Macro(place.Key, place.Level).MacroName.empty() && *KeyTypeName(newType) != '\0') {
        keypad.SetMacroName(place.Key, place.Level, KeyTypeName(newType));
        m_view.ShowMacroName();
    }
    commitChange(change, place.Cursor);
    m_view.ShowKeyType(place.Key);
    m_view.ShowModified(true);
}

void TEditingController::setMacroFlag(const TMacroPlace& place, bool on, MacroFlag flag)
{
    TKeypadClass& keypad = m_document.Keypad();
    if (on == (keypad.Macro(place.Key, place.Level).*flag.Field != 0)) {
        return;
    }
    TMacroChange change = beginChange(place);
    (keypad.*flag.Set)(place.Key, place.Level, on ? 1 : 0);
    commitChange(change, place.Cursor);
    m_view.ShowModified(true);
}

void TEditingController::SetAutoRepeat(const TMacroPlace& place, bool on)
{
    setMacroFlag(place, on, {&TMacroData::AutoRepeat, &TKeypadClass::SetAutoRepeat});
}

void TEditingController::SetSendLineEditKeyASAP(const TMacroPlace& place, bool on)
{
    setMacroFlag(place, on,
                 {&TMacroData::SendLineEditKeyASAP, &TKeypadClass::SetSendLineEditKeyASAP});
}

void TEditingController::SetMacroName(const TMacroPlace& place, std::string name)
{
    TMacroChange change = beginChange(place, true);
    m_document.Keypad().SetMacroName(place.Key, place.Level, std::move(name));
    commitChange(change, place.Cursor);
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

std::string TEditingController::CopyText(const TMacroPlace& place, const TCellBlock& block) const
{
    const TMacroData& macro = m_document.Keypad().Macro(place.Key, place.Level);
    TMacroClip clip;
    clip.Name = macro.MacroName;
    clip.AutoRepeat = macro.AutoRepeat;
    clip.SendLineEditKeyASAP = macro.SendLineEditKeyASAP;
    const int count = MacroItemCount(macro);
    for (int cell = 0; cell < count; ++cell) {
        const int row = cell / GridColumns;
        const int column = cell % GridColumns;
        // A block takes the cells it covers; a single cell stands for the
        // whole macro.
        if (block.Cells() == 1 || (row >= block.Top && row < block.Top + block.Height &&
                                   column >= block.Left && column < block.Left + block.Width)) {
            clip.Items.push_back(macro.Items[static_cast<size_t>(cell)]);
        }
    }
    return clip.Text(m_document.Keypad().Command_Prefix);
}

std::string TEditingController::Cut(const TMacroPlace& place, const TCellBlock& block)
{
    std::string text = CopyText(place, block);
    if (block.Cells() > 1) {
        Delete(place, block);
        return text;
    }
    TKeypadClass& keypad = m_document.Keypad();
    TMacroChange change = beginChange(place);
    keypad.ClearMacro(place.Key, place.Level);
    keypad.SetMacroName(place.Key, place.Level, {});
    keypad.SetAutoRepeat(place.Key, place.Level, 0);
    keypad.SetSendLineEditKeyASAP(place.Key, place.Level, 0);
    finishMacroChange(change, 0);
    return text;
}

bool TEditingController::Paste(const TMacroPlace& place, std::string_view text)
{
    const std::optional<TMacroClip> clip = TMacroClip::Parse(text);
    if (!clip) {
        m_view.ShowError(NotAMacro);
        return false;
    }
    TKeypadClass& keypad = m_document.Keypad();
    const int key = place.Key;
    const int level = place.Level;
    int bytes = 0;
    for (std::int32_t item : clip->Items) {
        bytes += ItemCost(item);
    }
    if (keypad.BytesUsed(key, level) + bytes > MacroByteLimit) {
        m_view.ShowError("Macro Full!");
        return false;
    }
    TMacroChange change = beginChange(place);
    const bool wasEmpty = keypad.ItemCount(key, level) == 0;
    int position = std::clamp(place.Cursor, 0, static_cast<int>(keypad.ItemCount(key, level)));
    for (std::int32_t item : clip->Items) {
        keypad.InsertItem(key, level, position, item);
    }
    if (wasEmpty) {
        keypad.SetAutoRepeat(key, level, clip->AutoRepeat);
        keypad.SetSendLineEditKeyASAP(key, level, clip->SendLineEditKeyASAP);
    }
    if (keypad.Macro(key, level).MacroName.empty() && !clip->Name.empty()) {
        keypad.SetMacroName(key, level, clip->Name);
    }
    nameAfterFirstItem(place);
    finishMacroChange(change, position);
    return true;
}

} // namespace tessaron
