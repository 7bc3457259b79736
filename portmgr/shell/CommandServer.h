#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QString>

#include <functional>

namespace tessaron {

// The listening end of the command channel (see CommandSocket.h). Each
// connection of this user carries one pair of characters; the handler acts on
// it and gives the reply line. Connections of other users are closed unread.
class TCommandServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<QByteArray(char first, char second)>;

    explicit TCommandServer(Handler handler, QObject* parent = nullptr);

    // Listens on path; a socket left by a run that died is replaced (the
    // caller holds the single-instance lock). False with ErrorString set.
    bool Listen(const QString& path);
    void Close();
    QString ErrorString() const { return m_server.errorString(); }

private:
    void accept();

    Handler m_handler;
    QLocalServer m_server;
};

} // namespace tessaron
