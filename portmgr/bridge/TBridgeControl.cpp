#include "TBridgeControl.h"

#include "TBridgeEvents.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"

#include <cerrno>
#include <cstring>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/timerfd.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tessaron {

namespace {

constexpr int kStopWaitMs = 100;
constexpr int kSlotWaitMs = 20;

// What an epoll event stands for.
enum : std::uint64_t
{
    kTagWake = 1,
    kTagTimer = 2,
    kTagInotify = 3,
    kTagMaster = 16, // + slot
};

bool watch(int epoll, int fd, std::uint32_t events, std::uint64_t tag)
{
    epoll_event e{};
    e.events = events;
    e.data.u64 = tag;
    return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &e) == 0;
}

} // namespace

TBridgeControl::TBridgeControl(TPortManager& pm, TBridgeEvents* events, TActivityMonitor* leds)
    : SleepMs([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }), m_pm(pm),
      m_events(events), m_pump(pm, leds, events)
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    m_inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (m_epoll < 0 || m_timer < 0 || m_inotify < 0 || !m_wake.Valid() ||
        !watch(m_epoll, m_wake.Fd(), EPOLLIN, kTagWake) ||
        !watch(m_epoll, m_timer, EPOLLIN, kTagTimer) ||
        !watch(m_epoll, m_inotify, EPOLLIN, kTagInotify)) {
        const int error = errno;
        for (int fd : {m_epoll, m_timer, m_inotify}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
        throw std::system_error(error, std::generic_category(), "bridge event loop");
    }
}

TBridgeControl::~TBridgeControl()
{
    SleepMs = [](int) {};
    if (m_running) {
        StopPorts();
    }
    // Keypads opened while bridging ran signal the wake event, which goes now.
    for (int i = 0; i < MaxKeypads; ++i) {
        if (m_pm.KeypadSlots[i].ReadThread) {
            CloseKeypad(m_pm, i);
        }
    }
    m_pm.WakeFd = -1;
    ::close(m_inotify);
    ::close(m_timer);
    ::close(m_epoll);
}

int TBridgeControl::StartPorts()
{
    TPortManager& pm = m_pm;
    for (int i = 0; i < MaxKeypads; ++i) {
        forgetPort(i); // a start while running replaces every port
    }
    LoadSettings(pm);
    if (LoadHidLibraries(pm)) {
        return -1;
    }
    // Before the serial probe looks at ports/.
    for (int i = 0; i < MaxKeypads; ++i) {
        m_pump.DeletePort(i);
    }
    EnumerateKeypads(pm);
    pm.WakeFd = m_wake.Fd();
    for (TKeypadSlot& s : pm.KeypadSlots) {
        if (s.DevicePath[0] == '\0') {
            continue;
        }
        const int port = FindAssignedPort(pm, DevicePathOf(s));
        if (port != 0) {
            s.ComPort = port;
            ClaimAssignment(pm, DevicePathOf(s));
        }
    }
    // Absent remembered keypads get their ports too; the pump opens each when it comes.
    PlaceRememberedKeypads(pm, true);

    int failures = 0;
    for (int i = 0; i < MaxKeypads; ++i) {
        TKeypadSlot& s = pm.KeypadSlots[i];
        if (IsUsbSlot(s) && !OpenUsbKeypad(pm, i)) {
            pm.UsbConnected[i] = true;
            if (m_events != nullptr) {
                m_events->KeypadOpened(i, s.DevicePath);
            }
        }
        if (s.ComPort > 0) {
            if (m_pump.CreatePort(i)) {
                if (m_events != nullptr) {
                    m_events->PortCreated(i, m_pump.PortName(i));
                }
            } else {
                ++failures;
                if (m_events != nullptr) {
                    m_events->PortFailed(i, m_pump.PortName(i), m_pump.Port(i)->LastError());
                }
            }
        }
    }
    syncPorts();
    if (failures != 0) {
        return failures;
    }
    if (m_devWatch < 0) {
        m_devWatch =
            ::inotify_add_watch(m_inotify, DevFolder.c_str(), IN_CREATE | IN_ATTRIB | IN_MOVED_TO);
    }
    m_running = true;
    m_ticks = 0;
    m_tickDue = m_lookDue = m_retryDue = false;
    m_wake.Signal(); // the first tick comes at once
    if (m_events != nullptr) {
        m_events->BridgingStarted();
    }
    return 0;
}

void TBridgeControl::StopPorts()
{
    TPortManager& pm = m_pm;
    if (m_events != nullptr) {
        m_events->BridgingStopping();
    }
    m_running = false;
    m_tickDue = m_lookDue = m_retryDue = false;
    armTimer();
    // The keypads' threads start ending now, so that each close below finds them done.
    for (TKeypadSlot& s : pm.KeypadSlots) {
        if (s.WriteThread) {
            s.WriteThread->Stop();
        }
        if (s.ReadThread) {
            s.ReadThread->Stop();
        }
    }
    SleepMs(kStopWaitMs);
    for (int i = 0; i < MaxKeypads; ++i) {
        TKeypadSlot& s = pm.KeypadSlots[i];
        if (const TVirtualPort* port = m_pump.Port(i)) {
            const std::string name = m_pump.PortName(i);
            const bool existed = port->PortCreated();
            forgetPort(i);
            m_pump.DeletePort(i);
            if (existed && m_events != nullptr) {
                m_events->PortDeleted(i, name);
            }
        }
        SleepMs(kSlotWaitMs);
        const bool wasOpen = (s.Flags & SlotOpen) != 0;
        CloseKeypad(pm, i);
        if (wasOpen && m_events != nullptr) {
            m_events->KeypadClosed(i, s.DevicePath, false);
        }
        SleepMs(kSlotWaitMs);
    }
    for (TPortAssignment& a : pm.PortAssignments) {
        a.InUse = false;
    }
    if (m_devWatch >= 0) {
        ::inotify_rm_watch(m_inotify, m_devWatch);
        m_devWatch = -1;
    }
    pm.WakeFd = -1;
    if (m_events != nullptr) {
        m_events->BridgingStopped();
    }
}

void TBridgeControl::Dispatch()
{
    bool due = false;
    bool look = false;
    epoll_event events[16];
    int n;
    do {
        n = ::epoll_wait(m_epoll, events, 16, 0);
        for (int i = 0; i < n; ++i) {
            switch (events[i].data.u64) {
            case kTagWake:
                m_wake.Clear();
                due = true;
                break;
            case kTagTimer: {
                std::uint64_t expirations;
                [[maybe_unused]] const ssize_t r =
                    ::read(m_timer, &expirations, sizeof expirations);
                break;
            }
            case kTagInotify:
                readInotify(due, look);
                break;
            default: // a host wrote to its port, or closed it
                due = true;
                break;
            }
        }
    } while (n == 16);
    if (!m_running) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (m_retryDue && now >= m_retryAt) {
        m_retryDue = false;
        look = true;
    }
    m_lookDue = m_lookDue || look;
    due = due || look || (m_tickDue && now >= m_tickAt);
    if (due) {
        // Ticks stay 5 ms apart, so that the per-tick limits bound the rate.
        const Clock::time_point earliest =
            m_lastTick + std::chrono::milliseconds(TBridgePump::kInterval);
        if (m_ticks > 0 && now < earliest) {
            m_tickAt = m_tickDue ? std::min(m_tickAt, earliest) : earliest;
            m_tickDue = true;
        } else {
            tick(now, m_lookDue);
        }
    }
    armTimer();
}

void TBridgeControl::tick(Clock::time_point now, bool lookForKeypads)
{
    m_pump.TmrKeypadPollTimer(lookForKeypads);
    ++m_ticks;
    m_lastTick = now;
    m_lookDue = false;
    m_tickDue = m_pump.MoreWork();
    m_tickAt = now + std::chrono::milliseconds(TBridgePump::kInterval);
    syncPorts();
    if (!retryNeeded()) {
        m_retryDue = false;
    } else if (!m_retryDue || lookForKeypads) {
        m_retryDue = true;
        m_retryAt = now + std::chrono::milliseconds(RetryMs);
    }
}

// Absent keypads are looked for on the system's reports of new HID devices;
// without such reports they are looked for every RetryMs instead.
bool TBridgeControl::retryNeeded()
{
    if (!m_pump.KeypadsAbsent()) {
        return false;
    }
    return m_pm.Hid.Name() != THidLibrary::DefaultName || m_devWatch < 0 ||
           m_pump.KeypadsHeldElsewhere() || m_pm.HasRetired();
}

void TBridgeControl::readInotify(bool& due, bool& look)
{
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = ::read(m_inotify, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_Q_OVERFLOW) {
                due = look = true;
            } else if (e->wd == m_devWatch) {
                look = look || (e->len > 0 && std::strncmp(e->name, "hidraw", 6) == 0);
            } else if (!(e->mask & IN_IGNORED)) {
                due = true; // a host opened or closed a port
            }
        }
    }
}

// Watches each slot's port as it is now: its master for the host's bytes and
// close, its slave node for a host's open. A port made afresh (a host left it
// in exclusive mode) has a new slave.
void TBridgeControl::syncPorts()
{
    for (int i = 0; i < MaxKeypads; ++i) {
        const TVirtualPort* port = m_pump.Port(i);
        const bool created = port != nullptr && port->PortCreated();
        const int master = created ? port->PollFd() : -1;
        TWatchedPort& w = m_watched[i];
        if (master == w.master && (!created || port->SlavePath() == w.slave)) {
            continue;
        }
        // The old master is closed already: epoll has let it go by itself.
        if (w.watch >= 0) {
            ::inotify_rm_watch(m_inotify, w.watch);
        }
        w = TWatchedPort{};
        if (!created) {
            continue;
        }
        // Edge-triggered: bytes that the pump leaves for a later tick, and a
        // master without a host (it reports a hang-up all the time), wake
        // the loop once, not over and over.
        if (watch(m_epoll, master, EPOLLIN | EPOLLET, kTagMaster + static_cast<unsigned>(i))) {
            w.master = master;
        }
        w.slave = port->SlavePath();
        w.watch = ::inotify_add_watch(m_inotify, w.slave.c_str(), IN_OPEN | IN_CLOSE);
    }
}

// Stops watching a slot's port before it is deleted.
void TBridgeControl::forgetPort(int slot)
{
    TWatchedPort& w = m_watched[slot];
    if (w.master >= 0) {
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, w.master, nullptr);
    }
    if (w.watch >= 0) {
        ::inotify_rm_watch(m_inotify, w.watch);
    }
    w = TWatchedPort{};
}

void TBridgeControl::armTimer()
{
    bool armed = false;
    Clock::time_point at{};
    if (m_tickDue) {
        at = m_tickAt;
        armed = true;
    }
    if (m_retryDue && (!armed || m_retryAt < at)) {
        at = m_retryAt;
        armed = true;
    }
    if (armed == m_timerArmed && (!armed || at == m_timerAt)) {
        return; // as it is already
    }
    m_timerArmed = armed;
    m_timerAt = at;
    itimerspec expiry{};
    if (armed) {
        // steady_clock is CLOCK_MONOTONIC; a time already past fires at once.
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch());
        expiry.it_value.tv_sec = static_cast<time_t>(ns.count() / 1000000000);
        expiry.it_value.tv_nsec = static_cast<long>(ns.count() % 1000000000);
        if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0) {
            expiry.it_value.tv_nsec = 1;
        }
    }
    ::timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &expiry, nullptr);
}

} // namespace tessaron
