// The document's life: New, Open, Save, Save As, closing and the property
// dialogs.
#include "Main.h"

#include "common/FileReadError.h"
#include "common/FileWriteError.h"
#include "common/SuiteFolder.h"
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "editor/model/PackedFields.h"
#include "editor/window/EditorSettings.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroLen.h"
#include "editor/window/MidiEvents.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

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

const QString RomFilter = QStringLiteral("Tessaron ROM Files (*.rom)|*.rom");

// The files the edit mode opens, by their suffix.
QString documentSuffix(bool romEditMode)
{
    return romEditMode ? QStringLiteral(".rom") : QStringLiteral(".ckd");
}

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
        ShowKeyType(k);
    }
}

void TfrmMain::showFirstKeyOnLevel1()
{
    {
        // Showing the tab is not a level change of the user's.
        const QSignalBlocker blocker(m_tabControlLevel);
        m_tabControlLevel->setCurrentIndex(0);
    }
    m_level = 0;
    m_key = TKeypadPanel::FirstKey(m_keypadLayout);
    m_pnlKeypad->ShowPressed(m_key);
}

void TfrmMain::afterLoadRefresh(bool romFile, const std::string& path)
{
    setCaptionFile(romFile, path);
    showAllKeyTypes();
    showFirstKeyOnLevel1();
    ShowMacro(Keypad().ItemCount(m_key, m_level));
    SetModified(false);
    m_editing.ClearHistory();
    updateEditCommands();
}

bool TfrmMain::askToSave(bool closing, bool* answeredNo)
{
    if (!m_document.Modified()) {
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
    m_document.New();
    showAllKeyTypes();
    showFirstKeyOnLevel1();
    ShowMacro(0);
    setWindowTitle(captionPrefix(m_romEditMode) + QStringLiteral("untitled"));
    m_pnlKeypad->SetLevelColour(0);
    ShowPortStatus();
    m_editing.ClearHistory();
    updateEditCommands();
}

void TfrmMain::ToolBtnOpenClick()
{
    if (!askToSave(false)) {
        return;
    }
    FileDialogOptions options;
    if (m_romEditMode) {
        options.Title = QStringLiteral("Open Advanced Configuration File");
        options.Filter = RomFilter;
    } else {
        options.Title = QStringLiteral("Open CKD Redefinition File");
        options.Filter = QStringLiteral("Custom Keyboard Definition (*.ckd)|*.ckd");
        options.DefaultExtension = QStringLiteral("ckd");
        options.StartFolder = toQString(SuitePath("Macro Files"));
    }
    const QString chosen = m_services.Files.OpenFileName(options);
    if (!chosen.isEmpty()) {
        openChosenFile(toPath(chosen));
    }
    m_pnlKeypad->SetLevelColour(m_level);
    ShowPortStatus();
}

void TfrmMain::openChosenFile(const std::string& path)
{
    try {
        if (m_romEditMode) {
            if (m_document.OpenRom(path, &m_messageSink)) {
                afterLoadRefresh(true, path);
            }
        } else if (m_document.ReadRedefinition(path)) {
            afterLoadRefresh(false, path);
        } else {
            // The image itself is neither looked at nor written here.
            m_document.SetDownloadFileFor(path);
        }
    } catch (const FileReadError& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
}

bool TfrmMain::OpenDroppedFile(const QString& path)
{
    if (!path.endsWith(documentSuffix(m_romEditMode), Qt::CaseInsensitive) ||
        !QFileInfo(path).isFile()) {
        return false;
    }
    if (!askToSave(false)) {
        return true;
    }
    openChosenFile(toPath(QFileInfo(path).absoluteFilePath()));
    m_pnlKeypad->SetLevelColour(m_level);
    ShowPortStatus();
    return true;
}

bool TfrmMain::writeRomDocument(const std::string& path)
{
    try {
        m_document.SaveRom(path);
    } catch (const FileWriteError& error) {
        showError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    setCaptionFile(true, path);
    SetModified(false);
    m_editing.DocumentSaved();
    m_frmAdvanced->DisableOkAndApply();
    return true;
}

bool TfrmMain::writeUserDocument(const std::string& path)
{
    try {
        m_document.SaveRedefinition(path);
    } catch (const FileWriteError& error) {
        // The changed flag stays set and the download file stays as it was.
        showError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    setCaptionFile(false, path);
    SetModified(false);
    m_editing.DocumentSaved();
    return true;
}

bool TfrmMain::ToolBtnSaveClick()
{
    if (m_romEditMode) {
        if (TDocument::IsUntitled(m_document.RomFileName())) {
            return ToolBtnSaveAsClick();
        }
        return writeRomDocument(m_document.RomFileName());
    }
    if (TDocument::IsUntitled(m_document.RedefinitionFileName())) {
        return ToolBtnSaveAsClick();
    }
    return writeUserDocument(m_document.RedefinitionFileName());
}

bool TfrmMain::ToolBtnSaveAsClick()
{
    FileDialogOptions options;
    options.OverwritePrompt = true;
    if (m_romEditMode) {
        options.Title = QStringLiteral("Save ROM File As");
        options.Filter = RomFilter;
        options.DefaultExtension = QStringLiteral("rom");
        options.ProposedName = toQString(
            m_document.RomFileName().empty() ? std::string("untitled") : m_document.RomFileName());
    } else {
        options.Title = QStringLiteral("Save Redefinition File As");
        options.Filter = QStringLiteral("Custom Keyboard Definition  Files (*.ckd)|*.ckd");
        options.DefaultExtension = QStringLiteral("ckd");
        options.StartFolder = toQString(SuitePath("Macro Files"));
        options.ProposedName = toQString(m_document.RedefinitionFileName());
    }
    const QString chosen = m_services.Files.SaveFileName(options);
    if (chosen.isEmpty()) {
        return false;
    }
    // The new name holds only once the file is written.
    const std::string path = toPath(chosen);
    return m_romEditMode ? writeRomDocument(path) : writeUserDocument(path);
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
    m_cboxKeyAsTrueTerminal->setEnabled(IsLineEdit(Keypad().Operating_Mode));
}

void TfrmMain::runPropertyDialog(QDialog& dialog)
{
    // Each Apply from here on is one step of the history.
    m_editing.BeginPropertyEdits();
    m_services.Dialogs.Run(dialog);
    m_editing.EndPropertyEdits();
}

void TfrmMain::ToolBtnParametersClick()
{
    if (m_romEditMode) {
        m_editMenu->popup(
            m_toolBtnParameters->mapToGlobal(m_toolBtnParameters->rect().bottomLeft()));
    } else {
        runPropertyDialog(*m_frmParameters);
    }
    afterPropertiesClick();
}

void TfrmMain::mnuEditAdvancedClick()
{
    runPropertyDialog(*m_frmAdvanced);
    // The host type may now make the keypad a HID keyboard.
    afterPropertiesClick();
}

void TfrmMain::mnuEditScreenDataClick()
{
    if (Rom().AdvancedParams.ScreenEnable == 0) {
        showInformation(QStringLiteral("Warning: You have not enabled \"Automated Screen Mode\" "
                                       "(on the Advanced ROM Properties form)."));
    }
    runPropertyDialog(*m_frmScreenEdit);
    afterPropertiesClick();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile() &&
        urls.first().toLocalFile().endsWith(documentSuffix(m_romEditMode), Qt::CaseInsensitive)) {
        event->acceptProposedAction();
    }
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    // The save question and the reading wait until the drop has ended, so the
    // program the file came from is not kept waiting on a message box.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { OpenDroppedFile(path); }, Qt::QueuedConnection);
}

} // namespace tessaron
