#include "BridgeCommand.h"

#include "Commands.h"

#include "common/SingleInstanceLock.h"
#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeLoop.h"
#include "portmgr/bridge/TMenuItem.h"
#include "portmgr/bridge/TPollTimer.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/bridge/TWakeEvent.h"
#include "portmgr/bridge/VirtualPorts.h"
#include "portmgr/devices/PortManager.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ostream>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace tessaron::cli {

void BridgeLog::PortCreated(int slot, const std::string& name)
{
    m_out << name << " created (keypad #" << slot + 1 << ")" << std::endl;
}

void BridgeLog::PortFailed(int slot, const std::string& name, const std::string& reason)
{
    m_out << name << " could not be created (keypad #" << slot + 1 << ")";
    if (!reason.empty()) {
        m_out << ": " << reason;
    }
    m_out << std::endl;
}

void BridgeLog::PortDeleted(int, const std::string& name)
{
    m_out << name << " deleted" << std::endl;
}

void BridgeLog::KeypadOpened(int slot, const std::string& identity)
{
    m_out << "keypad #" << slot + 1 << " opened: " << identity << std::endl;
}

void BridgeLog::KeypadClosed(int slot, const std::string& identity, bool silent)
{
    m_out << "keypad #" << slot + 1 << " closed: " << identity
          << (silent ? " (no report for a second)" : "") << std::endl;
}

void BridgeLog::HostOpened(int, const std::string& name)
{
    m_out << name << " opened by a host" << std::endl;
}

void BridgeLog::HostClosed(int, const std::string& name)
{
    m_out << name << " closed by its host" << std::endl;
}

void BridgeLog::SetTrayState(const std::string& text, bool)
{
    m_out << text << std::endl;
}

namespace {

// Without a desktop there is no menu and no LED window to draw.
class NoMenuItem : public TMenuItem
{
public:
    void SetEnabled(bool) override {}
    void SetChecked(bool) override {}
};

class NoActivityView : public TActivityView
{
public:
    int ScreenWidth() const override { return 0; }
    int ScreenHeight() const override { return 0; }
    void PlaceAt(int, int) override {}
    void SetLed(TLedGroup, int, bool) override {}
    void SetUsbIdBox(int, bool) override {}
    void SetComIdBox(int, bool) override {}
    void EnableRowLabel(int, bool) override {}
    void EnableIdBoxes(int, bool) override {}
    void SetTimerEnabled(bool) override {}
    void Show() override {}
    void Hide() override {}
};

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

    // Before the slot table: the keypads' threads signal it until they end.
    TWakeEvent wake;
    TPortManager pm;
    BridgeLog log(out);
    TPlainPollTimer timer;
    NoMenuItem menu;
    NoActivityView view;
    TSlotActivityState slotState(pm);
    TActivityMonitor leds(view, slotState);
    TBridgeControl control({pm, timer, log, menu, leds, &log});

    ResetVirtualPorts();
    const int failures = control.StartPorts();
    if (failures == -1) {
        err << "Could not start USB librairies!\n";
        return 1;
    }
    if (failures > 0) {
        control.StopPorts();
        err << "tessaron bridge: " << failures
            << (failures == 1 ? " virtual port" : " virtual ports") << " could not be created\n";
        return 1;
    }
    TBridgeLoop loop(pm, control.Pump(), timer, wake, signals.fd());
    loop.Run();
    control.StopPorts();
    return 0;
}

} // namespace tessaron::cli
