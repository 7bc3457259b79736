#include "Commands.h"

#include "common/SingleInstanceLock.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeLog.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <ostream>
#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <system_error>
#include <unistd.h>

namespace tessaron::cli {

namespace {

// SIGINT, SIGTERM and SIGHUP end the bridge through a signalfd. They are
// blocked before any bridge thread starts (threads inherit the mask), so the
// kernel can hand them to nobody else and the ports are always deleted.
class StopSignals
{
public:
    StopSignals()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGINT);
        sigaddset(&m_set, SIGTERM);
        sigaddset(&m_set, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
        m_fd = ::signalfd(-1, &m_set, SFD_CLOEXEC | SFD_NONBLOCK);
    }
    ~StopSignals()
    {
        if (m_fd >= 0) {
            // Take the signals that came, or unblocking them would end the process now.
            signalfd_siginfo info;
            while (::read(m_fd, &info, sizeof info) == sizeof info) {
            }
            ::close(m_fd);
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool valid() const { return m_fd >= 0; }
    // Readable once a stop signal has come.
    int fd() const { return m_fd; }

private:
    sigset_t m_set;
    sigset_t m_old;
    int m_fd = -1;
};

} // namespace

int RunBridge(const Args& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        err << "usage: tessaron bridge\n";
        return 1;
    }
    SingleInstanceLock lock;
    switch (lock.acquire()) {
    case SingleInstanceLock::Result::Acquired:
        break;
    case SingleInstanceLock::Result::AlreadyHeld:
        err << kAlreadyRunningMessage << '\n';
        return 1;
    case SingleInstanceLock::Result::Failed:
        err << "tessaron bridge: " << lock.error() << '\n';
        return 1;
    }
    // A log that nobody reads any more (a closed pipe) must not end the bridge
    // before it has removed its ports.
    std::signal(SIGPIPE, SIG_IGN);
    StopSignals signals;
    if (!signals.valid()) {
        err << "tessaron bridge: no signal descriptor: " << std::strerror(errno) << '\n';
        return 1;
    }

    TPortManager pm;
    TBridgeLog log(&out);
    std::unique_ptr<TBridgeControl> control;
    try {
        control = std::make_unique<TBridgeControl>(pm, &log);
    } catch (const std::system_error& e) {
        err << "tessaron bridge: " << e.what() << '\n';
        return 1;
    }

    TVirtualPort::ResetBus();
    const int failures = control->StartPorts();
    if (failures == -1) {
        err << kUsbStartFailedMessage << '\n';
        return 1;
    }
    if (failures > 0) {
        control->StopPorts();
        err << "tessaron bridge: " << failures
            << (failures == 1 ? " virtual port" : " virtual ports") << " could not be created\n";
        return 1;
    }
    // Nothing wakes this loop but the bridge's work and the stop signals.
    pollfd fds[2] = {{control->PollFd(), POLLIN, 0}, {signals.fd(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            err << "tessaron bridge: poll: " << std::strerror(errno) << '\n';
            break;
        }
        if (fds[1].revents & POLLIN) {
            break;
        }
        if (fds[0].revents & POLLIN) {
            control->Dispatch();
        }
    }
    control->StopPorts();
    return 0;
}

} // namespace tessaron::cli
