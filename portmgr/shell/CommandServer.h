#pragma once

#include "portmgr/bridge/CommandListener.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tessaron {

// The command channel (see CommandSocket.h) on Qt's event loop: the Qt-free
// listener's descriptor hangs on a QSocketNotifier, as the bridge's does.
class TCommandServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<QByteArray(char first, char second)>;

    explicit TCommandServer(Handler handler, QObject* parent = nullptr);
    ~TCommandServer() override;

    // Listens on path; a socket left by a run that died is replaced (the
    // caller holds the single-instance lock). False with ErrorString set.
    bool Listen(const QString& path);
    void Close();
    QString ErrorString() const { return m_error; }

private:
    Handler m_handler;
    TCommandListener m_listener;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QString m_error;
};

} // namespace tessaron
