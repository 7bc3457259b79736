#include "CommandServer.h"

#include <QFile>
#include <QSocketNotifier>

namespace tessaron {

TCommandServer::TCommandServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)),
      m_listener([this](char first, char second) { return m_handler(first, second).toStdString(); })
{
}

TCommandServer::~TCommandServer() = default;

bool TCommandServer::Listen(const QString& path)
{
    std::string error;
    if (!m_listener.Listen(QFile::encodeName(path).toStdString(), error)) {
        m_error = QString::fromLocal8Bit(error.c_str());
        return false;
    }
    if (!m_notifier) {
        m_notifier = std::make_unique<QSocketNotifier>(m_listener.PollFd(), QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this,
                [this] { m_listener.Dispatch(); });
    }
    return true;
}

void TCommandServer::Close()
{
    m_listener.Close();
}

} // namespace tessaron
