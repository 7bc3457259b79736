#include "Main.h"

#include "About.h"
#include "Activity.h"
#include "Config.h"
#include "Enumerate.h"
#include "FormVComFail.h"

#include "common/Accessibility.h"
#include "common/SuiteFolder.h"
#include "portmgr/bridge/CommandSocket.h"
#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <chrono>
#include <iostream>
#include <thread>

namespace tessaron {

namespace {

constexpr int RetryWaitMs = 1000;
constexpr int ConfigPopupMs = 500;

const char* const Running = "Corvandelle (Running)";
const char* const Stopped = "Corvandelle (Stopped)";

QString programPath(const char* name)
{
    return QFile::decodeName(SiblingProgramPath(name).c_str());
}

QString notFound(const QString& file)
{
    return QStringLiteral("ERROR: Could not find the file \"%1\".").arg(file);
}

// Messages name the file that was looked for: "Qex.exe" on Windows, "Qex" here.
QString programNotFound(const char* name)
{
#ifdef _WIN32
    return notFound(QString::fromLatin1(name) + QStringLiteral(".exe"));
#else
    return notFound(QString::fromLatin1(name));
#endif
}

} // namespace

TFormMain::TFormMain(const TShellServices& services, Options options)
    : m_services(services), m_options(std::move(options)),
      m_commands([this](char first, char second) { return AppMessage(first, second); })
{
    // Before any control is asked for its accessibility interface.
    InstallAccessibility();
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Corvandelle"));
    if (m_options.Err == nullptr) {
        m_options.Err = &std::cerr;
    }
    SleepMs = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    // The LED window first: the host's activity monitor draws in it.
    m_frmActivity = std::make_unique<TfrmActivity>();
    m_host = std::make_unique<TBridgeHost>(static_cast<TBridgeHostListener&>(*this), *m_frmActivity,
                                           m_options.Log);

    m_iconTrayMenu = new QMenu(this);
    m_iconTrayMenu->setObjectName(QStringLiteral("IconTrayMenu"));
    m_mnuAbout = addItem("mnuAbout", QStringLiteral("&About"), &TFormMain::mnuAboutClick);
    addItem("mnuHelp", QStringLiteral("&PDF Manual"), &TFormMain::mnuHelpClick);
    m_iconTrayMenu->addSeparator();
    m_mnuConfig =
        addItem("mnuConfig", QStringLiteral("&Configure Tessarons"), &TFormMain::mnuConfigClick);
    m_iconTrayMenu->addSeparator();
    m_mnuTestSerial = addItem("mnuTestSerial", QStringLiteral("Test Serial/Virtual Serial"),
                              &TFormMain::mnuTestKeypadsClick);
    m_mnuTestHID = addItem("mnuTestHID", QStringLiteral("Test USB Keyboard (HID)"),
                           &TFormMain::mnuTestHIDClick);
    m_mnuShowActivity = addItem("mnuShowActivity", QStringLiteral("Show Activity LEDs"),
                                &TFormMain::mnuShowActivityClick);
    m_mnuShowActivity->setCheckable(true);
    m_mnuShowActivity->setEnabled(false);
    m_iconTrayMenu->addSeparator();
    m_mnuResetSerialPorts = addItem("mnuResetSerialPorts", QStringLiteral("&Reset Serial Ports"),
                                    &TFormMain::mnuResetSerialPortsClick);
    m_mnuResetSerialPorts->setEnabled(false);
    m_mnuResetSerialPorts->setVisible(false);
    m_mnuPlindorax =
        addItem("mnuPlindorax", QStringLiteral("&Plindorax"), &TFormMain::mnuPlindoraxClick);
    addItem("mnuTavrix", QStringLiteral("&Tavrix"), &TFormMain::mnuTavrixClick);
    m_iconTrayMenu->addSeparator();
    addItem("mnuExit", QStringLiteral("E&xit"), &TFormMain::mnuExitClick);

    m_tray = std::make_unique<TTrayIcon>(*m_iconTrayMenu, *m_options.Err, m_options.WatchTray);

    m_tmrConfigPopup.setObjectName(QStringLiteral("TmrConfigPopup"));
    m_tmrConfigPopup.setInterval(ConfigPopupMs);
    connect(&m_tmrConfigPopup, &QTimer::timeout, this, &TFormMain::TmrConfigPopupTimer);

    // The other forms, in the program's order, each made once.
    m_frmAbout = std::make_unique<TAboutForm>();
    m_configForm = std::make_unique<TConfigForm>(m_host->Ports(), m_services.Messages);
    m_configForm->ResetVirtualPorts = [this] { m_host->ResetVirtualPorts(); };
    m_enumerateForm = std::make_unique<TEnumerateForm>();
    m_frmActivity->TmrActivityTimer = [this] { m_host->Leds().TmrActivityTimer(); };
}

TFormMain::~TFormMain()
{
    // FormDestroy.
    m_tmrConfigPopup.stop();
    m_commands.Close();
    m_tray->RemoveTrayIcon();
}

QAction* TFormMain::addItem(const char* name, const QString& caption, void (TFormMain::*handler)())
{
    QAction* item = m_iconTrayMenu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void TFormMain::FormCreate()
{
    m_tray->AddTrayIcon();
    m_tray->LoadIcons();

    QString socket = m_options.CommandSocket;
    std::string error;
    if (socket.isEmpty()) {
        socket = QFile::decodeName(CommandSocketPath(error).c_str());
    }
    if (socket.isEmpty() || !m_commands.Listen(socket)) {
        *m_options.Err << "Corvandelle: commands cannot be received: "
                       << (socket.isEmpty() ? error : m_commands.ErrorString().toStdString())
                       << std::endl;
    }

    StopPorts();
    m_host->ResetVirtualPorts();
    m_formVComFail = std::make_unique<TFormVComFail>(m_host->Ports(), m_services.Messages);

    const int failures = StartPorts();
    if (m_exiting) {
        return;
    }
    if (failures > 0) {
        *m_options.Err << "Corvandelle: " << failures
                       << (failures == 1 ? " virtual port" : " virtual ports")
                       << " could not be created" << std::endl;
        if (m_services.Dialogs.Run(*m_formVComFail) == QDialog::Accepted && !m_exiting) {
            StopPorts();
            SleepMs(RetryWaitMs);
            m_host->ResetVirtualPorts();
            SleepMs(RetryWaitMs);
            StartPorts();
        }
    }
    if (m_exiting) {
        return;
    }
    m_mnuPlindorax->setEnabled(QFileInfo(programPath("Plindorax")).isFile());
}

int TFormMain::StartPorts()
{
    const int failures = m_host->StartPorts();
    if (failures == -1) {
        m_services.Messages.Error(QStringLiteral("Tessaron Pro"),
                                  QString::fromLatin1(kUsbStartFailedMessage));
        RequestExit(1);
    } else if (failures > 0) {
        // Bridging stays stopped: no port without its pump, no keypad held open.
        m_host->StopPorts();
    }
    return failures;
}

void TFormMain::StopPorts()
{
    m_host->StopPorts();
}

void TFormMain::BridgingStopping()
{
    if (LedWindowFlag) {
        m_host->Leds().HideLeds();
        m_mnuShowActivity->setChecked(false);
        m_mnuShowActivity->setEnabled(false);
    }
}

void TFormMain::BridgingStarted()
{
    m_tray->SetTrayState(QString::fromLatin1(Running), true);
    m_mnuShowActivity->setEnabled(true);
}

void TFormMain::BridgingStopped()
{
    m_tray->SetTrayState(QString::fromLatin1(Stopped), false);
}

QByteArray TFormMain::AppMessage(char first, char second)
{
    if (m_exiting) {
        return "busy";
    }
    if (first == 'S' && second == 't') {
        // The dialog owns the keypads while it is open; bridging is stopped anyway.
        if (m_configuring) {
            return "busy";
        }
        const bool wasRunning = m_host->Bridging();
        StopPorts();
        return wasRunning ? "ok" : "stopped";
    }
    if (first == 'G' && second == 'o') {
        if (m_configuring) {
            return "busy";
        }
        // Starting again while bridging runs would drop every host's port.
        if (!m_host->Bridging()) {
            StartPorts();
        }
        return "ok";
    }
    if (first == 'C' && second == 'k') {
        if (!m_mnuConfig->isEnabled()) {
            return "busy";
        }
        m_tmrConfigPopup.start();
        return "ok";
    }
    return "ignored";
}

void TFormMain::TmrConfigPopupTimer()
{
    m_tmrConfigPopup.stop();
    if (m_mnuConfig->isEnabled() && !m_exiting) {
        mnuConfigClick();
    }
}

void TFormMain::mnuAboutClick()
{
    m_mnuAbout->setEnabled(false);
    m_mnuConfig->setEnabled(false);
    m_services.Dialogs.Run(*m_frmAbout);
    if (!m_exiting) {
        m_mnuAbout->setEnabled(true);
        m_mnuConfig->setEnabled(true);
    }
}

void TFormMain::mnuHelpClick()
{
    if (!m_services.Programs.OpenDocument(
            QFile::decodeName(SharedFilePath("Corvandelle.pdf").c_str()))) {
        m_services.Messages.Error(QStringLiteral("Corvandelle Help"),
                                  notFound(QStringLiteral("Corvandelle.pdf")));
    }
}

void TFormMain::setItemsEnabled(bool enabled)
{
    m_mnuAbout->setEnabled(enabled);
    m_mnuConfig->setEnabled(enabled);
    m_mnuTestHID->setEnabled(enabled);
    m_mnuTestSerial->setEnabled(enabled);
}

void TFormMain::mnuConfigClick()
{
    if (m_configuring || m_exiting) {
        return;
    }
    m_configuring = true;
    const bool ledsWereShown = LedWindowFlag;
    if (ledsWereShown) {
        LedWindowFlag = false;
        m_mnuShowActivity->setChecked(false);
        m_host->Leds().HideLeds();
    }
    setItemsEnabled(false);
    m_mnuShowActivity->setEnabled(false);
    StopPorts();
    m_services.Dialogs.Run(*m_enumerateForm);
    if (!m_exiting) {
        m_services.Dialogs.Run(*m_configForm);
    }
    m_configuring = false;
    if (m_exiting) {
        return;
    }
    StartPorts();
    if (m_exiting) {
        return;
    }
    setItemsEnabled(true);
    if (ledsWereShown) {
        LedWindowFlag = true;
        m_mnuShowActivity->setChecked(true);
        m_host->Leds().ShowLeds();
    }
}

void TFormMain::mnuTestKeypadsClick()
{
    const QString qex = programPath("Qex");
    const bool qexFound = QFileInfo(qex).isFile();
    const TPortManager& pm = m_host->Ports();
    bool launched = false;
    for (int i = 0; i < MaxKeypads; ++i) {
        const TKeypadSlot& s = pm.KeypadSlots[i];
        if (!(s.Flags & SlotPresent)) {
            continue;
        }
        if (!qexFound) {
            m_services.Messages.Error(QStringLiteral("Corvandelle Test"), programNotFound("Qex"));
            continue;
        }
        const int xy = 50 + 50 * i;
        if (s.ComPort > 0) {
            launched = true;
            if (!m_services.Programs.StartProgram(
                    qex, QStringLiteral("%1 %2 %3").arg(s.ComPort).arg(xy).arg(xy))) {
                m_services.Messages.Error(QStringLiteral("Corvandelle Serial Test"),
                                          programNotFound("Qex"));
            }
        } else if (IsSerialSlot(s)) {
            launched = true;
            const QString port = QString::fromLatin1(s.DevicePath).mid(3);
            if (!m_services.Programs.StartProgram(
                    qex, QStringLiteral("%1 %2 %3").arg(port).arg(xy).arg(xy))) {
                m_services.Messages.Error(QStringLiteral("Corvandelle RS232 Test"),
                                          programNotFound("Qex"));
            }
        }
    }
    if (!launched) {
        m_services.Programs.StartProgram(qex, QString());
    }
}

void TFormMain::mnuTestHIDClick()
{
    if (!m_services.Programs.StartProgram(programPath("Ruskel"), QString())) {
        m_services.Messages.Error(QStringLiteral("Corvandelle Ruskel"), programNotFound("Ruskel"));
    }
}

void TFormMain::mnuShowActivityClick()
{
    LedWindowFlag = !LedWindowFlag;
    m_mnuShowActivity->setChecked(LedWindowFlag);
    if (LedWindowFlag) {
        m_host->Leds().ShowLeds();
    } else {
        m_host->Leds().HideLeds();
    }
}

void TFormMain::mnuResetSerialPortsClick()
{
    m_host->ResetVirtualPorts();
}

bool TFormMain::startTool(const char* program)
{
    const QString path = programPath(program);
    if (!QFileInfo(path).isFile()) {
        m_services.Messages.Error(QStringLiteral("Corvandelle Tools"), programNotFound(program));
        return false;
    }
    m_services.Programs.StartProgram(path, QString());
    return true;
}

void TFormMain::mnuPlindoraxClick()
{
    startTool("Plindorax");
}

void TFormMain::mnuTavrixClick()
{
    startTool("Tavrix");
}

void TFormMain::mnuExitClick()
{
    RequestExit(0);
}

void TFormMain::RequestExit(int status)
{
    if (m_exiting) {
        return;
    }
    m_exiting = true;
    m_tmrConfigPopup.stop();
    StopPorts();
    m_host->UnloadHidLibraries();
    for (QDialog* dialog :
         {static_cast<QDialog*>(m_formVComFail.get()), static_cast<QDialog*>(m_configForm.get()),
          static_cast<QDialog*>(m_enumerateForm.get()), static_cast<QDialog*>(m_frmAbout.get())}) {
        if (dialog != nullptr && dialog->isVisible()) {
            dialog->QDialog::done(QDialog::Rejected);
        }
    }
    m_commands.Close();
    m_tray->RemoveTrayIcon();
    emit ExitRequested(status);
}

} // namespace tessaron
