// The document's life: New, Open, Save, Save As, closing and the property
// dialogs.
#include "Main.h"

#include "common/FileWriteError.h"
#include "common/SuiteFolder.h"
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "editor/model/FileIO.h"
#include "editor/window/EditorSettings.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroLen.h"
#include "editor/window/MidiEvents.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>

namespace tessaron {

namespace {

QString toQString(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// A name that was never loaded or saved: Save then asks for one.
bool isUntitled(const std::string& name)
{
    return name.empty() || QString::fromStdString(name).compare(QStringLiteral("untitled"),
                                                                Qt::CaseInsensitive) == 0;
}

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

const QString RomFilter = QStringLiteral("Tessaron ROM Files (*.rom)|*.rom");

} // namespace

QString TfrmMain::captionPrefix(bool romFile) const
{
    return romFile ? QStringLiteral(" [ROM Edit Mode]   Plindorax - ")
                   : QStringLiteral(" [USER Mode]   Plindorax - ");
}

void TfrmMain::setCaptionFile(bool romFile, const std::string& path)
{
    setWindowTitle(captionPrefix(romFile) + toQString(FileNameOf(path)));
}

void TfrmMain::showAllKeyTypes()
{
    for (int k = 0; k < MaxKeys; ++k) {
        m_pnlKeypad->SetKeyType(k, m_keypad.Keys(k).KeyType);
    }
}

void TfrmMain::showFirstKeyOnLevel1()
{
    {
        // Showing the tab is not a level change of the user's.
        const QSignalBlocker blocker(m_tabControlLevel);
        m_tabControlLevel->setCurrentIndex(0);
    }
    m_keypad.SelectLevel(0);
    const int first = TKeypadPanel::FirstKey(m_keypadLayout);
    m_keypad.SelectKey(static_cast<std::uint8_t>(first));
    m_pnlKeypad->ShowPressed(first);
}

void TfrmMain::afterLoadRefresh(bool romFile, const std::string& path)
{
    setCaptionFile(romFile, path);
    showAllKeyTypes();
    showFirstKeyOnLevel1();
    ShowMacro(m_keypad.ItemCount());
    SetModified(false);
}

bool TfrmMain::askToSave(bool closing, bool* answeredNo)
{
    if (!m_modified) {
        return true;
    }
    const QString question = closing && m_romEditMode
                                 ? QStringLiteral("Do you wish to save changes to your "
                                                  "configuration?")
                                 : QStringLiteral("Do you wish to save changes to your custom "
                                                  "definition?");
    switch (m_services.Messages.ConfirmYesNoCancel(QStringLiteral("Plindorax"), question)) {
    case MessageAnswer::Yes:
        // A save that did not happen (Save As cancelled, write failed) keeps
        // the changes: the command is abandoned.
        return ToolBtnSaveClick();
    case MessageAnswer::No:
        if (answeredNo != nullptr) {
            *answeredNo = true;
        }
        return true;
    default:
        return false;
    }
}

void TfrmMain::ToolBtnNewClick()
{
    bool answeredNo = false;
    if (!askToSave(false, &answeredNo)) {
        return;
    }
    if (answeredNo) {
        SetModified(false);
    }
    m_keypad.Reset();
    m_rom.SetRomDefaults();
    showAllKeyTypes();
    showFirstKeyOnLevel1();
    ShowMacro(0);
    setWindowTitle(captionPrefix(m_romEditMode) + QStringLiteral("untitled"));
    m_redefinitionFileName = "untitled";
    m_romFileName = "untitled";
    m_downloadFile.clear();
    m_pnlKeypad->SetLevelColour(0);
    ShowPortStatus();
}

void TfrmMain::ToolBtnOpenClick()
{
    if (!askToSave(false)) {
        return;
    }
    if (m_romEditMode) {
        FileDialogOptions options;
        options.Title = QStringLiteral("Open Advanced Configuration File");
        options.Filter = RomFilter;
        const QString chosen = m_services.Files.OpenFileName(options);
        if (!chosen.isEmpty()) {
            const std::string path = toPath(chosen);
            if (ReadRomFile(m_keypad, m_rom, path, &m_messageSink)) {
                afterLoadRefresh(true, path);
            }
            m_romFileName = path;
        }
    } else {
        FileDialogOptions options;
        options.Title = QStringLiteral("Open CKD Redefinition File");
        options.Filter = QStringLiteral("Custom Keyboard Definition (*.ckd)|*.ckd");
        options.DefaultExtension = QStringLiteral("ckd");
        options.StartFolder = toQString(SuitePath("Macro Files"));
        const QString chosen = m_services.Files.OpenFileName(options);
        if (!chosen.isEmpty()) {
            const std::string path = toPath(chosen);
            if (ReadRedefinitionFile(m_keypad, path)) {
                afterLoadRefresh(false, path);
                m_redefinitionFileName = path;
            }
            // The image itself is neither looked at nor written here.
            m_downloadFile = quoted(DownloadImagePath(path));
        }
    }
    m_pnlKeypad->SetLevelColour(m_keypad.CurrentLevel());
    ShowPortStatus();
}

bool TfrmMain::writeRomDocument()
{
    try {
        WriteRomFile(m_keypad, m_rom, m_romFileName);
    } catch (const FileWriteError& error) {
        showError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    setCaptionFile(true, m_romFileName);
    SetModified(false);
    m_frmAdvanced->DisableOkAndApply();
    return true;
}

bool TfrmMain::writeUserDocument(const std::string& path)
{
    const std::string image = DownloadImagePath(path);
    try {
        WriteRedefinitionFile(m_keypad, path);
        WriteDownloadImage(m_keypad, image, LoaderSettingsPath());
    } catch (const FileWriteError& error) {
        // The changed flag stays set and the download file stays as it was.
        showError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    m_downloadFile = quoted(image);
    setCaptionFile(false, path);
    SetModified(false);
    return true;
}

bool TfrmMain::ToolBtnSaveClick()
{
    if (m_romEditMode) {
        if (isUntitled(m_romFileName)) {
            return ToolBtnSaveAsClick();
        }
        return writeRomDocument();
    }
    if (isUntitled(m_redefinitionFileName)) {
        return ToolBtnSaveAsClick();
    }
    return writeUserDocument(m_redefinitionFileName);
}

bool TfrmMain::ToolBtnSaveAsClick()
{
    FileDialogOptions options;
    options.OverwritePrompt = true;
    if (m_romEditMode) {
        options.Title = QStringLiteral("Save ROM File As");
        options.Filter = RomFilter;
        options.DefaultExtension = QStringLiteral("rom");
        options.ProposedName =
            toQString(m_romFileName.empty() ? std::string("untitled") : m_romFileName);
    } else {
        options.Title = QStringLiteral("Save Redefinition File As");
        options.Filter = QStringLiteral("Custom Keyboard Definition  Files (*.ckd)|*.ckd");
        options.DefaultExtension = QStringLiteral("ckd");
        options.StartFolder = toQString(SuitePath("Macro Files"));
        options.ProposedName = toQString(m_redefinitionFileName);
    }
    const QString chosen = m_services.Files.SaveFileName(options);
    if (chosen.isEmpty()) {
        return false;
    }
    const std::string path = toPath(chosen);
    if (m_romEditMode) {
        // The new name holds only once the file is written.
        const std::string previous = m_romFileName;
        m_romFileName = path;
        if (!writeRomDocument()) {
            m_romFileName = previous;
            return false;
        }
        return true;
    }
    if (!writeUserDocument(path)) {
        return false;
    }
    m_redefinitionFileName = path;
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!askToSave(true)) {
        event->ignore();
        return;
    }
    try {
        WriteMidiChannel(EditorSettingsPath(), m_midiChannel);
    } catch (const FileWriteError& error) {
        // Only the channel is lost; the window still closes.
        showError(QString::fromLocal8Bit(error.what()));
    }
    m_frmMidiEvents->hide();
    m_frmMacroLenWarning->hide();
    event->accept();
}

void TfrmMain::afterPropertiesClick()
{
    ShowPortStatus();
    m_cboxKeyAsTrueTerminal->setEnabled((m_keypad.Operating_Mode & 1) != 0);
}

void TfrmMain::ToolBtnParametersClick()
{
    if (m_romEditMode) {
        m_editMenu->popup(
            m_toolBtnParameters->mapToGlobal(m_toolBtnParameters->rect().bottomLeft()));
    } else {
        m_services.Dialogs.Run(*m_frmParameters);
    }
    afterPropertiesClick();
}

void TfrmMain::mnuEditAdvancedClick()
{
    m_services.Dialogs.Run(*m_frmAdvanced);
    // The host type may now make the keypad a HID keyboard.
    afterPropertiesClick();
}

void TfrmMain::mnuEditScreenDataClick()
{
    if (m_rom.AdvancedParams.ScreenEnable == 0) {
        showInformation(QStringLiteral("Warning: You have not enabled \"Automated Screen Mode\" "
                                       "(on the Advanced ROM Properties form)."));
    }
    m_services.Dialogs.Run(*m_frmScreenEdit);
    afterPropertiesClick();
}

} // namespace tessaron
