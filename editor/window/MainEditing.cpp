// Every way the main window changes the current macro.
#include "Main.h"

#include "editor/window/GridPopupMenu.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroGrid.h"
#include "editor/window/MacroGridModel.h"
#include "editor/window/MacroLen.h"
#include "editor/window/ManualInputEdit.h"
#include "editor/window/MidiEvents.h"
#include "editor/window/PcKeyboard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRect>

#include <algorithm>

namespace tessaron {

namespace {

// Names given to an unnamed macro when its key gets a type.
const char* const KeyTypeNames[] = {"", "Level Shift", "Level Toggle", "Alpha Toggle"};

} // namespace

void TfrmMain::afterInsertion(int position)
{
    if ((m_modifierFlags & CapsLock) == 0) {
        m_modifierFlags = 0;
    }
    // An unnamed macro takes its first item's label as its name (not a blank
    // when the insertion gave no item).
    if (m_keypad.MacroName().empty() && m_keypad.ItemCount() > 0) {
        m_keypad.SetMacroName(m_keypad.ItemLabel(0));
    }
    ShowMacro(position);
    SetModified(true);
}

bool TfrmMain::InsertKeyCode(int value)
{
    int position = m_grid->Cursor();
    if (!m_keypad.InsertKeyNumber(position, value, m_modifierFlags, m_services.Keyboard.ShiftDown(),
                                  m_services.Keyboard.CapsLockOn())) {
        showError(QStringLiteral("Not enough room or macro full!"));
        return false;
    }
    afterInsertion(position);
    return true;
}

bool TfrmMain::InsertRawCode(int value)
{
    int position = m_grid->Cursor();
    if (!m_keypad.InsertItem(position, value)) {
        showError(QStringLiteral("Macro Full!"));
        return false;
    }
    afterInsertion(position);
    return true;
}

void TfrmMain::InsertMidiMessage(const std::uint8_t* bytes, int count)
{
    if (bytes == nullptr || count <= 0) {
        return;
    }
    // All or nothing: a message that does not fit would leave a broken one.
    if (m_keypad.BytesUsed() + count > MacroByteLimit) {
        showError(QStringLiteral("Macro Full!"));
        return;
    }
    for (int i = 0; i < count; ++i) {
        InsertRawCode(bytes[i]);
    }
}

void TfrmMain::SetMidiChannel(std::uint8_t channel)
{
    m_midiChannel = std::clamp<std::uint8_t>(channel, 1, 16);
}

void TfrmMain::DeleteCells(int position)
{
    const QRect block = m_grid->SelectedBlock();
    const int w = block.width();
    const int h = block.height();
    int p = position;
    for (int row = 0; row < h; ++row) {
        for (int i = 0; i < w; ++i) {
            if (p >= 0 && p < MacroSlots) {
                m_keypad.DeleteItem(static_cast<std::uint8_t>(p));
            }
        }
        p += TMacroGridModel::Columns - w;
    }
    ShowMacro(position);
    SetModified(true);
}

int TfrmMain::blockStart() const
{
    // A block is deleted from its top-left cell, wherever the cursor ended up
    // while it was dragged or extended.
    const QRect block = m_grid->SelectedBlock();
    if (block.width() * block.height() > 1) {
        return block.top() * TMacroGridModel::Columns + block.left();
    }
    return m_grid->Cursor();
}

void TfrmMain::CheckLengthWarning()
{
    if (m_hideLengthWarning || m_keypad.BytesUsed() < 2) {
        return;
    }
    if (m_romEditMode) {
        if ((m_rom.AdvancedParams.Operating_Mode & 1) != 0) {
            m_frmMacroLenWarning->ShowLengthWarning(m_rom.AdvancedParamsWork.LcdXlate != 0);
        }
    } else if ((m_keypad.Operating_Mode & 1) != 0) {
        m_frmMacroLenWarning->ShowLengthWarning(false);
    }
}

void TfrmMain::gridCharacterTyped(int code)
{
    if (code >= 128) {
        InsertKeyCode(code);
    } else if (code >= 0 && CharKeyTable[static_cast<size_t>(code)] != 0) {
        InsertKeyCode(CharKeyTable[static_cast<size_t>(code)]);
    }
    CheckLengthWarning();
}

void TfrmMain::gridBackspace()
{
    const QRect block = m_grid->SelectedBlock();
    if (block.width() * block.height() > 1) {
        DeleteCells(blockStart());
        return;
    }
    const int cursor = m_grid->Cursor();
    if (cursor > 0) {
        DeleteCells(cursor - 1);
    }
}

void TfrmMain::gridDelete()
{
    DeleteCells(blockStart());
}

void TfrmMain::gridShiftPressed()
{
    m_modifierFlags |= LeftShift | ShiftKeyHeld;
}

void TfrmMain::gridShiftReleased()
{
    m_modifierFlags = 0;
    // Caps Lock's flag went with the others; its button follows.
    m_pcKeyboard->SetModifierButton(CapsLock, false);
}

void TfrmMain::modifierToggled(std::uint8_t flag, bool pressed)
{
    if (pressed) {
        m_modifierFlags |= flag;
    } else {
        m_modifierFlags &= static_cast<std::uint8_t>(~flag);
    }
}

void TfrmMain::onScreenKey(int keyNumber)
{
    InsertKeyCode(keyNumber);
    m_grid->setFocus();
    CheckLengthWarning();
}

void TfrmMain::onScreenCommand(std::int32_t item)
{
    InsertKeyCode(item);
    m_grid->setFocus();
    CheckLengthWarning();
}

void TfrmMain::onScreenRawCode(int code)
{
    InsertRawCode(code);
    CheckLengthWarning();
}

void TfrmMain::popupRawCode(int code)
{
    InsertRawCode(code);
    CheckLengthWarning();
}

void TfrmMain::eraseAll()
{
    while (m_keypad.ItemCount() > 0) {
        DeleteCells(0);
    }
}

void TfrmMain::ledCommand(int n)
{
    InsertKeyCode(LedBase + n);
    const std::uint8_t mode = m_keypad.Operating_Mode;
    if ((mode >> 4) == 3) {
        showInformation(QStringLiteral(
            "Note: The LED cannot be controlled by Host or Macro in HID Keyboard mode."));
        return;
    }
    if ((mode & 1) != 0 && !m_cboxKeyAsTrueTerminal->isChecked()) {
        showInformation(QStringLiteral("Keypad must be in True Terminal mode or key  must have "
                                       "\"Transmit this key\"\nchecked in order for the LED "
                                       "command to function."));
    }
    const bool green = n <= 10;
    const int function = green ? (m_keypad.LED_Function >> 4) & 3 : m_keypad.LED_Function & 3;
    if (function != 2) {
        showInformation(green ? QStringLiteral("The Green LED will not operate in your macro "
                                               "unless you change\nthe Green LED mode to "
                                               "Host/Macro in the Properties panel.")
                              : QStringLiteral("The Red LED will not operate in your macro "
                                               "unless you change\nthe Red LED mode to "
                                               "Host/Macro in the Properties panel."));
    }
}

void TfrmMain::openMidiDialog()
{
    m_keypad.HexView = 1;
    ShowMacro(m_grid->Cursor());
    m_frmMidiEvents->ShowDialog();
}

void TfrmMain::keyTypeClicked(int keyType)
{
    // The item with the check mark is the key's own type: clicking it clears it.
    const int newType = m_keypad.KeyType() == keyType ? KeyTypeNone : keyType;
    m_keypad.SetKeyType(static_cast<std::uint8_t>(newType));
    if (m_keypad.MacroName().empty() && newType != KeyTypeNone) {
        m_keypad.SetMacroName(KeyTypeNames[newType]);
        m_editName->setText(QString::fromLatin1(KeyTypeNames[newType]));
    }
    showKeyTypeGlyph(m_keypad.CurrentKey());
    SetModified(true);
}

void TfrmMain::autoRepeatClicked(bool checked)
{
    if (checked != (m_keypad.AutoRepeat() != 0)) {
        m_keypad.SetAutoRepeat(checked ? 1 : 0);
        SetModified(true);
    }
}

void TfrmMain::trueTerminalClicked(bool checked)
{
    if (checked != (m_keypad.SendLineEditKeyASAP() != 0)) {
        m_keypad.SetSendLineEditKeyASAP(checked ? 1 : 0);
        SetModified(true);
    }
}

void TfrmMain::nameEdited(const QString& text)
{
    // Names are 8-bit; what Latin-1 cannot hold becomes "?".
    m_keypad.SetMacroName(text.toLatin1().toStdString());
    SetModified(true);
}

bool TfrmMain::manualValue(int& value)
{
    const int entered = m_edManualInput->Value();
    if (entered < 0) {
        return false;
    }
    if (!m_edManualInput->Hexadecimal() && entered > 255) {
        showError(QStringLiteral("Value exceeds 255 (decimal)."));
        return false;
    }
    value = entered;
    return true;
}

void TfrmMain::manualEnter()
{
    int value = 0;
    if (manualValue(value)) {
        InsertRawCode(value);
        m_edManualInput->clear();
    }
}

void TfrmMain::manualInsertClicked()
{
    int value = 0;
    if (manualValue(value)) {
        m_grid->setFocus();
        InsertRawCode(value);
    }
}

void TfrmMain::showGridPopup(const QPoint& globalPosition)
{
    m_popmenuClearMacro->ShowView(m_keypad.HexView != 0);
    m_popmenuClearMacro->popup(globalPosition);
}

} // namespace tessaron
