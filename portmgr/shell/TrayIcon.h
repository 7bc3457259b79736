#pragma once

#include "TrayWindow.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <iosfwd>

class QMenu;

namespace tessaron {

// Corvandelle's icon in the notification area, with its tip and menu. Where
// there is no notification area the same menu is offered in a small window of
// its own (TfrmTrayWindow), and standard error says so once; when a
// notification area appears later the icon moves into it (and back into the
// window if it goes away).
class TTrayIcon : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* ConnectedIcon = "connected.ico";
    static constexpr const char* DisconnectedIcon = "disconnected.ico";
    static constexpr int WatchMs = 5000;

    // watch: look for a notification area that appears later (not where none
    // can ever appear, such as offscreen).
    TTrayIcon(QMenu& menu, std::ostream& err, bool watch);

    // The icon the program shows where an icon file is missing.
    static QIcon ApplicationIcon();

    // The icon with the tip "Corvandelle" and the application's icon.
    void AddTrayIcon();
    // The connected and disconnected icons from the suite's files, where found.
    void LoadIcons();
    // The tip, then the chosen icon if its file was found.
    void SetTrayState(const QString& text, bool connected);
    void RemoveTrayIcon();

    // Handler of the watch: moves the menu between the notification area and
    // the window when an area appeared or went away since the last look.
    void CheckTray();
    // Whether there is a notification area now (tests stand in for the desktop).
    std::function<bool()> TrayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;

    bool InNotificationArea() const { return m_inTray; }
    QString Tip() const { return m_tip; }
    QIcon CurrentIcon() const { return m_current; }
    bool HasIcon(bool connected) const;
    TfrmTrayWindow& Window() { return m_window; }

private:
    void show();

    QMenu& m_menu;
    std::ostream& m_err;
    QSystemTrayIcon m_icon;
    TfrmTrayWindow m_window;
    QIcon m_connected;
    QIcon m_disconnected;
    QIcon m_current;
    QString m_tip;
    QTimer m_watch;
    bool m_added = false;
    bool m_inTray = false;
    bool m_told = false;
};

} // namespace tessaron
