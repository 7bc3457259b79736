// The on-screen keypad, the level tabs and the grid's views.
#include "Main.h"

#include "common/FileWriteError.h"
#include "editor/window/EditorSettings.h"
#include "editor/window/KeyTypeMenu.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroGrid.h"

#include <QCursor>
#include <QToolButton>

namespace tessaron {

void TfrmMain::setKeyLayout()
{
    if (m_keypadLayout != 1 && m_keypadLayout != 2) {
        return;
    }
    m_pnlKeypad->SetLayout(m_keypadLayout);
    m_toolButtonKeyLabels->setEnabled(m_keypadLayout == 2);
}

void TfrmMain::modelSelected(int layout)
{
    m_keypadLayout = layout;
    setKeyLayout();
    keySelected(TKeypadPanel::FirstKey(layout));
    try {
        WriteKeypadLayout(EditorSettingsPath(), m_keypadLayout);
    } catch (const FileWriteError& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
}

void TfrmMain::keySelected(int keyIndex)
{
    m_keypad.SelectKey(static_cast<std::uint8_t>(keyIndex));
    ShowMacro(m_keypad.ItemCount());
    m_grid->setFocus();
}

void TfrmMain::keyRightPressed(int keyIndex)
{
    // The panel has already shown the button pressed.
    keySelected(keyIndex);
    m_popmenKeyType->ShowKeyType(m_keypad.KeyType());
    m_popmenKeyType->popup(QCursor::pos());
}

void TfrmMain::levelChanged(int level)
{
    if (level < 0) {
        return;
    }
    m_keypad.SelectLevel(static_cast<std::uint8_t>(level));
    ShowMacro(m_keypad.ItemCount());
    m_pnlKeypad->SetLevelColour(m_keypad.CurrentLevel());
}

void TfrmMain::showKeyTypeGlyph(int keyIndex)
{
    m_pnlKeypad->SetKeyType(keyIndex, m_keypad.Keys(keyIndex).KeyType);
}

void TfrmMain::setHexView(bool hex)
{
    m_keypad.HexView = hex ? 1 : 0;
    ShowMacro(m_keypad.ItemCount());
}

} // namespace tessaron
