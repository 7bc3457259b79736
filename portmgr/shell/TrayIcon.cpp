#include "TrayIcon.h"

#include "common/SuiteFolder.h"

#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QPainter>

#include <ostream>

namespace tessaron {

namespace {

QIcon iconFile(const char* name)
{
    const QString path = QFile::decodeName(SharedFilePath(name).c_str());
    if (!QFile::exists(path)) {
        return {};
    }
    QIcon icon(path);
    return icon.availableSizes().isEmpty() ? QIcon() : icon;
}

} // namespace

TTrayIcon::TTrayIcon(QMenu& menu, std::ostream& err, bool watch)
    : m_menu(menu), m_err(err), m_window(menu)
{
    m_icon.setObjectName(QStringLiteral("TrayIcon"));
    m_icon.setContextMenu(&m_menu);
    // The right button opens the context menu by itself; the left one opens it too.
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason r) {
                if (r == QSystemTrayIcon::Trigger) {
                    m_menu.popup(QCursor::pos());
                }
            });
    m_watch.setInterval(WatchMs);
    connect(&m_watch, &QTimer::timeout, this, &TTrayIcon::CheckTray);
    if (watch) {
        m_watch.start();
    }
}

QIcon TTrayIcon::ApplicationIcon()
{
    // A keypad: dark case, a green display line and nine keys.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 24), 1));
    p.setBrush(QColor(55, 60, 68));
    p.drawRoundedRect(QRectF(4.5, 1.5, 23, 29), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 110));
    p.drawRect(QRectF(8, 5, 16, 5));
    p.setBrush(QColor(225, 225, 225));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.drawRoundedRect(QRectF(8 + col * 6, 13 + row * 5.5, 4.5, 4), 1, 1);
        }
    }
    return QIcon(pixmap);
}

void TTrayIcon::AddTrayIcon()
{
    m_added = true;
    m_current = ApplicationIcon();
    m_tip = QStringLiteral("Corvandelle");
    m_icon.setIcon(m_current);
    m_icon.setToolTip(m_tip);
    m_window.SetState(m_tip, m_current);
    show();
}

void TTrayIcon::LoadIcons()
{
    m_connected = iconFile(ConnectedIcon);
    m_disconnected = iconFile(DisconnectedIcon);
}

bool TTrayIcon::HasIcon(bool connected) const
{
    return !(connected ? m_connected : m_disconnected).isNull();
}

void TTrayIcon::SetTrayState(const QString& text, bool connected)
{
    // The tip keeps to the 127 characters the notification area takes.
    m_tip = text.left(127);
    m_icon.setToolTip(m_tip);
    const QIcon& chosen = connected ? m_connected : m_disconnected;
    if (!chosen.isNull()) {
        m_current = chosen;
        m_icon.setIcon(m_current);
    }
    m_window.SetState(m_tip, m_current);
}

void TTrayIcon::RemoveTrayIcon()
{
    m_added = false;
    m_watch.stop();
    m_icon.hide();
    m_window.hide();
    m_inTray = false;
}

void TTrayIcon::show()
{
    m_inTray = TrayAvailable();
    if (m_inTray) {
        m_window.hide();
        m_icon.show();
        return;
    }
    m_icon.hide();
    m_window.show();
    if (!m_told) {
        m_told = true;
        m_err << "Corvandelle: there is no notification area; the menu is in the window "
                 "\"Corvandelle\"."
              << std::endl;
    }
}

void TTrayIcon::CheckTray()
{
    if (m_added && TrayAvailable() != m_inTray) {
        show();
    }
}

} // namespace tessaron
