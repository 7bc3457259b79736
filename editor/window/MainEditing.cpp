// The main window's editing commands: each forwards to the editing controller
// with the grid's cursor and selection.
#include "Main.h"

#include "editor/window/GridPopupMenu.h"
#include "editor/window/MacroGrid.h"
#include "editor/window/ManualInputEdit.h"
#include "editor/window/MidiEvents.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRect>

#include <algorithm>

namespace tessaron {

TMacroPlace TfrmMain::place() const
{
    return {m_key, m_level, m_grid->Cursor()};
}

TCellBlock TfrmMain::selectedBlock() const
{
    const QRect block = m_grid->SelectedBlock();
    return {block.left(), block.top(), block.width(), block.height()};
}

void TfrmMain::InsertMidiMessage(const std::uint8_t* bytes, int count)
{
    m_editing.InsertMidiMessage(place(), bytes, count);
}

void TfrmMain::SetMidiChannel(std::uint8_t channel)
{
    m_midiChannel = std::clamp<std::uint8_t>(channel, 1, 16);
}

void TfrmMain::onScreenKey(std::int32_t value)
{
    m_editing.KeyWithLengthCheck(place(), value);
    m_grid->setFocus();
}

void TfrmMain::openMidiDialog()
{
    m_hexView = true;
    ShowMacro(m_grid->Cursor());
    m_frmMidiEvents->ShowDialog();
}

bool TfrmMain::manualValue(int& value)
{
    return m_editing.ManualValue(m_edManualInput->Value(), m_edManualInput->Hexadecimal(), value);
}

void TfrmMain::manualEnter()
{
    int value = 0;
    if (manualValue(value)) {
        m_editing.InsertRawCode(place(), value);
        m_edManualInput->clear();
    }
}

void TfrmMain::manualInsertClicked()
{
    int value = 0;
    if (manualValue(value)) {
        m_grid->setFocus();
        m_editing.InsertRawCode(place(), value);
    }
}

void TfrmMain::showGridPopup(const QPoint& globalPosition)
{
    m_popmenuClearMacro->ShowView(m_hexView);
    m_popmenuClearMacro->popup(globalPosition);
}

void TfrmMain::Undo()
{
    m_editing.Undo();
}

void TfrmMain::Redo()
{
    m_editing.Redo();
}

void TfrmMain::CopyMacro()
{
    const std::string text = m_editing.CopyText(place(), selectedBlock());
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text.c_str()));
}

void TfrmMain::CutMacro()
{
    const std::string text = m_editing.Cut(place(), selectedBlock());
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text.c_str()));
}

void TfrmMain::PasteMacro()
{
    // A name is 8-bit text; a character Latin-1 cannot hold becomes "?".
    const QByteArray text = QGuiApplication::clipboard()->text().toLatin1();
    m_editing.Paste(place(), std::string_view(text.constData(), size_t(text.size())));
}

} // namespace tessaron
