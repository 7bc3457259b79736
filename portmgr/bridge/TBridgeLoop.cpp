#include "TBridgeLoop.h"

#include "TBridgePump.h"
#include "TPollTimer.h"
#include "TVirtualPort.h"
#include "TWakeEvent.h"
#include "portmgr/devices/PortManager.h"

#include <cerrno>
#include <poll.h>

namespace tessaron {

namespace {

int millisecondsUntil(std::chrono::steady_clock::time_point t)
{
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(t - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

TBridgeLoop::TBridgeLoop(TPortManager& pm, TBridgePump& pump, TPlainPollTimer& timer,
                         TWakeEvent& wake, int stopFd)
    : m_pm(pm), m_pump(pump), m_timer(timer), m_wake(wake), m_stopFd(stopFd)
{
}

void TBridgeLoop::Run()
{
    Clock::time_point last = Clock::now();
    while (m_timer.Enabled()) {
        const Clock::time_point due = last + std::chrono::milliseconds(m_timer.Interval());
        if (!waitForTick(last, due)) {
            return;
        }
        last = Clock::now();
        m_pump.TmrKeypadPollTimer();
        ++m_ticks;
        lendWakeToReaders();
        m_idleTicks = m_pump.LastTickBusy() ? 0 : m_idleTicks + 1;
    }
}

// Keypads opened since the last tick get the wake event too.
void TBridgeLoop::lendWakeToReaders()
{
    for (TKeypadSlot& s : m_pm.KeypadSlots) {
        if (s.ReadThread &&
            s.ReadThread->DataSignal.load(std::memory_order_relaxed) != m_wake.Fd()) {
            s.ReadThread->DataSignal.store(m_wake.Fd(), std::memory_order_release);
        }
    }
}

bool TBridgeLoop::waitUntil(Clock::time_point due)
{
    for (;;) {
        pollfd stop{m_stopFd, POLLIN, 0};
        const int r = ::poll(&stop, 1, millisecondsUntil(due));
        if (r > 0) {
            return false;
        }
        if (r == 0 || errno != EINTR) {
            return true;
        }
    }
}

bool TBridgeLoop::waitForTick(Clock::time_point last, Clock::time_point due)
{
    if (!Resting() || !m_wake.Valid()) {
        return waitUntil(due);
    }
    // Resting: the stop, keypad data, and bytes from every host that holds its
    // port open (a port without a host reports a hang-up all the time, so it
    // cannot be waited on; its host is seen at the next tick).
    pollfd fds[2 + MaxKeypads];
    int n = 0;
    fds[n++] = pollfd{m_stopFd, POLLIN, 0};
    fds[n++] = pollfd{m_wake.Fd(), POLLIN, 0};
    for (const TKeypadSlot& s : m_pm.KeypadSlots) {
        if (s.VirtualPort && s.VirtualPort->PortCreated() && s.VirtualPort->HostAttached()) {
            fds[n++] = pollfd{s.VirtualPort->PollFd(), POLLIN, 0};
        }
    }
    const Clock::time_point restEnd = last + std::chrono::milliseconds(kRestMs);
    int r;
    do {
        r = ::poll(fds, static_cast<nfds_t>(n), millisecondsUntil(restEnd));
    } while (r < 0 && errno == EINTR);
    if (r > 0 && (fds[0].revents & POLLIN)) {
        return false;
    }
    if (r > 0) {
        m_wake.Clear();
        m_idleTicks = 0;
        return waitUntil(due); // ticks stay at least 5 ms apart
    }
    return true;
}

} // namespace tessaron
