#include "StopSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tessaron {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void onStopSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a stop: losing this one changes nothing.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

bool TStopSignals::Install()
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        if (::sigaction(number, &action, nullptr) != 0) {
            return false;
        }
    }
    return true;
}

TStopSignals::TStopSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &TStopSignals::readPipe);
    }
}

TStopSignals::~TStopSignals() = default;

void TStopSignals::readPipe()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) {
        last = byte;
    }
    if (last != 0) {
        emit Stop(last);
    }
}

} // namespace tessaron
