#pragma once

#include <chrono>

namespace tessaron {

class TBridgePump;
class TPlainPollTimer;
class TPortManager;
class TWakeEvent;

// The headless bridge's main loop: runs the pump at the interval of its timer
// (1000 ms to the first tick, then the 5 ms the pump sets) until a stop is
// signalled or the timer is switched off.
//
// A 5 ms timer costs a virtual machine more than half a percent of a core in
// wake-ups alone. So once 20 ticks in a row (100 ms) found nothing to move,
// the loop rests: it ticks every 50 ms, but at once (and never sooner than
// 5 ms after the last tick) when a keypad's read thread stores bytes or a host
// writes to its port. Data therefore waits no longer than with the 5 ms timer;
// only a host opening a port, a keypad coming back and the silent-keypad close
// are seen up to 50 ms later while everything is quiet.
class TBridgeLoop
{
public:
    static constexpr int kRestAfterIdleTicks = 20;
    static constexpr int kRestMs = 50;

    // wake must outlive the keypads' threads (they signal it); stopFd is a
    // descriptor that becomes readable when the loop is to end (a signalfd).
    TBridgeLoop(TPortManager& pm, TBridgePump& pump, TPlainPollTimer& timer, TWakeEvent& wake,
                int stopFd);

    void Run();
    long Ticks() const { return m_ticks; }
    bool Resting() const { return m_idleTicks >= kRestAfterIdleTicks; }

private:
    using Clock = std::chrono::steady_clock;
    // Waits for the next tick; false when the stop came first.
    bool waitForTick(Clock::time_point last, Clock::time_point due);
    // Waits until due or the stop; false on the stop.
    bool waitUntil(Clock::time_point due);
    void lendWakeToReaders();

    TPortManager& m_pm;
    TBridgePump& m_pump;
    TPlainPollTimer& m_timer;
    TWakeEvent& m_wake;
    int m_stopFd;
    int m_idleTicks = 0;
    long m_ticks = 0;
};

} // namespace tessaron
