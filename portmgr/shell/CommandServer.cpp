#include "CommandServer.h"

#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace tessaron {

namespace {

bool fromThisUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                        &size) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

TCommandServer::TCommandServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &TCommandServer::accept);
}

bool TCommandServer::Listen(const QString& path)
{
    QLocalServer::removeServer(path);
    return m_server.listen(path);
}

void TCommandServer::Close()
{
    m_server.close();
}

void TCommandServer::accept()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!fromThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < 2) {
                return;
            }
            // One pair per connection: whatever follows is not read.
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
            const QByteArray pair = socket->read(2);
            const QByteArray reply = m_handler(pair[0], pair[1]);
            socket->write(reply + '\n');
            socket->disconnectFromServer();
        });
    }
}

} // namespace tessaron
