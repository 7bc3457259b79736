// The on-screen keypad, the level tabs and the grid's views.
#include "Main.h"

#include "common/FileWriteError.h"
#include "editor/window/EditorSettings.h"
#include "editor/window/KeyTypeMenu.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroGrid.h"

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
    m_key = keyIndex;
    ShowMacro(Keypad().ItemCount(m_key, m_level));
    m_grid->setFocus();
}

void TfrmMain::keyMenuRequested(int keyIndex, const QPoint& globalPosition)
{
    // The panel has already shown the button pressed.
    keySelected(keyIndex);
    m_popmenKeyType->ShowKeyType(Keypad().Keys(m_key).KeyType);
    m_popmenKeyType->popup(globalPosition);
}

void TfrmMain::levelChanged(int level)
{
    if (level < 0) {
        return;
    }
    m_level = level;
    ShowMacro(Keypad().ItemCount(m_key, m_level));
    m_pnlKeypad->SetLevelColour(m_level);
}

void TfrmMain::setHexView(bool hex)
{
    m_hexView = hex;
    ShowMacro(Keypad().ItemCount(m_key, m_level));
}

} // namespace tessaron
