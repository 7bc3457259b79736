#pragma once

#include "BridgeHost.h"
#include "CommandServer.h"
#include "ShellServices.h"
#include "TrayIcon.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <iosfwd>
#include <memory>

class QAction;
class QMenu;

namespace tessaron {

class TAboutForm;
class TConfigForm;
class TEnumerateForm;
class TFormVComFail;
class TfrmActivity;

// Corvandelle's hidden main form: the tray icon and its menu, the start and
// stop of bridging with the LED-window flag, the start-up retry, the command
// channel and the launches of the other programs. Never shown.
class TFormMain : public QWidget, private TBridgeHostListener
{
    Q_OBJECT

public:
    struct Options
    {
        // Look for a notification area that appears later.
        bool WatchTray = true;
        // Where the notices go that have no window (standard error).
        std::ostream* Err = nullptr;
        // One line per bridge event (standard output), or null.
        std::ostream* Log = nullptr;
        // The command socket's path; "" takes the per-user one.
        QString CommandSocket;
    };

    TFormMain(const TShellServices& services, Options options);
    ~TFormMain() override;

    // The start-up: tray icon, icons, command channel, bridging with its retry.
    void FormCreate();

    int StartPorts();
    void StopPorts();
    // A command pair from the command channel; returns the reply line.
    QByteArray AppMessage(char first, char second);

    void mnuAboutClick();
    void mnuHelpClick();
    void mnuConfigClick();
    void mnuTestKeypadsClick();
    void mnuTestHIDClick();
    void mnuShowActivityClick();
    void mnuResetSerialPortsClick();
    void mnuPlindoraxClick();
    void mnuTavrixClick();
    void mnuExitClick();
    void TmrConfigPopupTimer();

    // Ends the program as Exit does, with the given exit status.
    void RequestExit(int status);

    bool LedWindowFlag = false;
    // Every fixed wait of the start-up retry (milliseconds).
    std::function<void(int)> SleepMs;

    TBridgeHost& Host() { return *m_host; }
    TTrayIcon& Tray() { return *m_tray; }
    QMenu& IconTrayMenu() { return *m_iconTrayMenu; }
    QTimer& ConfigPopupTimer() { return m_tmrConfigPopup; }
    TfrmActivity& ActivityForm() { return *m_frmActivity; }
    TConfigForm& ConfigForm() { return *m_configForm; }

signals:
    // The program is to end now with this status.
    void ExitRequested(int status);

private:
    void BridgingStarted() override;
    void BridgingStopping() override;
    void BridgingStopped() override;

    QAction* addItem(const char* name, const QString& caption, void (TFormMain::*handler)());
    void setItemsEnabled(bool enabled);
    bool startTool(const char* program);

    TShellServices m_services;
    Options m_options;
    // Made before the host and gone after it: the host's LEDs are drawn in it.
    std::unique_ptr<TfrmActivity> m_frmActivity;
    std::unique_ptr<TBridgeHost> m_host;
    QMenu* m_iconTrayMenu;
    QAction* m_mnuAbout;
    QAction* m_mnuConfig;
    QAction* m_mnuTestSerial;
    QAction* m_mnuTestHID;
    QAction* m_mnuShowActivity;
    QAction* m_mnuResetSerialPorts;
    QAction* m_mnuPlindorax;
    std::unique_ptr<TTrayIcon> m_tray;
    QTimer m_tmrConfigPopup;
    std::unique_ptr<TAboutForm> m_frmAbout;
    std::unique_ptr<TConfigForm> m_configForm;
    std::unique_ptr<TEnumerateForm> m_enumerateForm;
    std::unique_ptr<TFormVComFail> m_formVComFail;
    TCommandServer m_commands;
    bool m_configuring = false;
    bool m_exiting = false;
};

} // namespace tessaron
