// Download, Set Port, Test, key labels, the manual and the About box.
#include "Main.h"

#include "common/SuiteFolder.h"
#include "editor/model/LoaderSettings.h"
#include "editor/window/About.h"

#include <QFile>

namespace tessaron {

void TfrmMain::ToolBtnDownloadClick()
{
    if (m_document.Modified()) {
        showError(QStringLiteral("You must save your file before downloading it to the keypad."));
        return;
    }
    const std::string file = m_document.LoaderFile(m_romEditMode);
    if (file.empty()) {
        showError(QStringLiteral("Please open a Tessaron file before attempting to download."));
        return;
    }
    m_siblings.StartLoader(file);
}

void TfrmMain::btnWendrelClick()
{
    m_siblings.RunPortSetting(this);
    ShowPortStatus();
}

void TfrmMain::ToolButtonTestClick()
{
    const bool usbHid = UsbHidCondition(Keypad(), Rom().AdvancedParams);
    m_siblings.StartTest(usbHid, usbHid ? 0 : ReadTestComPort(LoaderSettingsPath()));
}

void TfrmMain::ToolButtonKeyLabelsClick()
{
    FileDialogOptions options;
    options.Title = QStringLiteral("Open Key Labels (DOC and BMP)");
    options.Filter = QStringLiteral("All Files (*.*)|*.*|Keycap Bitmaps (*.bmp)|*.bmp|Keycap "
                                    "Documents (*.doc)|*.doc");
    options.StartFolder = QFile::decodeName(QByteArray::fromStdString(SuitePath("Keycap Labels")));
    const QString chosen = m_services.Files.OpenFileName(options);
    if (chosen.isEmpty()) {
        return;
    }
    if (!m_services.Programs.OpenDocument(chosen)) {
        showError(QStringLiteral("Could not find \"Create Keycaps.doc\" file."));
    }
}

void TfrmMain::mnuUserManualClick()
{
    const QString manual =
        QFile::decodeName(QByteArray::fromStdString(SharedFilePath("Corvandelle.pdf")));
    if (!m_services.Programs.OpenDocument(manual)) {
        showError(QStringLiteral("Could not find \"Corvandelle.pdf\" help file."));
    }
}

void TfrmMain::mnuAboutClick()
{
    // Made for this showing and freed afterwards.
    TfrmAbout about(this);
    m_services.Dialogs.Run(about);
}

} // namespace tessaron
