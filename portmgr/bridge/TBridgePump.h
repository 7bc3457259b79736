#pragma once

namespace tessaron {

class TActivityMonitor;
class TBridgeEvents;
class TPollTimer;
class TPortManager;
class TVirtualPort;

// The bridge pump, TmrKeypadPoll's handler: on each tick it moves bytes
// between every open keypad's bridge threads and the slot's virtual port, at
// most 16 bytes in and 7 bytes out per slot, closes a USB keypad that has gone
// silent and reopens keypads that come back. Main thread only.
class TBridgePump
{
public:
    static constexpr int kInterval = 5;         // ms between ticks
    static constexpr int kFirstInterval = 1000; // ms to the first tick
    static constexpr int kMaxIn = 16;           // keypad to host, bytes per tick and slot
    static constexpr int kMaxOut = 7;           // host to keypad: one USB output report
    static constexpr int kSilentLimit = 20;     // 50 ms waits without a report

    // timer, leds and events may be null (no window, nobody listening).
    TBridgePump(TPortManager& pm, TPollTimer* timer, TActivityMonitor* leds, TBridgeEvents* events);

    // One tick. Returns the interval to the next one (5 ms), which it also sets
    // on the timer.
    int TmrKeypadPollTimer();

    // Forgets what was reported about the slot's host (its port is going away).
    void ForgetPort(int slot);

    // Whether the last tick moved a byte, or opened or closed a keypad, or saw a
    // host come or go.
    bool LastTickBusy() const { return m_busy; }

private:
    void pumpSlot(int i);
    void reportHost(int i, bool opened);

    TPortManager& m_pm;
    TPollTimer* m_timer;
    TActivityMonitor* m_leds;
    TBridgeEvents* m_events;
    // For the event log only: which port a host was last reported on.
    const TVirtualPort* m_reportedPort[6] = {};
    bool m_reportedOpen[6] = {};
    bool m_busy = false;
};

} // namespace tessaron
