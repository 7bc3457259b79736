#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace tessaron {

// SIGTERM, SIGINT and SIGHUP end Corvandelle the way Exit does. Their
// handlers only write to a pipe that the event loop watches, so the program
// ends between events, with its ports deleted and keypads closed. The signals
// are never blocked: a blocked mask would be inherited by every program the
// menu starts.
class TStopSignals : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers. Signals that come before a TStopSignals object
    // exists are kept in the pipe.
    static bool Install();

    explicit TStopSignals(QObject* parent = nullptr);
    ~TStopSignals() override;

signals:
    void Stop(int signalNumber);

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace tessaron
