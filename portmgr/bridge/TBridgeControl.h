#pragma once

#include "TBridgePump.h"
#include "portmgr/io/TWakeEvent.h"

#include <chrono>
#include <functional>
#include <string>

namespace tessaron {

class TActivityMonitor;
class TBridgeEvents;
class TPortManager;

// The bridge core that both front ends drive (`tessaron bridge` and the tray
// program): starting and stopping bridging for all keypads, and the event loop
// that runs the pump only when something happens. It knows nothing of trays,
// menus or windows; it reports through TBridgeEvents. One thread only: the one
// that calls StartPorts, StopPorts and Dispatch.
//
// The loop is one pollable descriptor, PollFd(), and Dispatch(), which handles
// whatever is ready without blocking. A front end waits on PollFd() in its
// own loop (poll(), or a QSocketNotifier on Qt's loop) and calls Dispatch()
// whenever it is readable. Behind it:
//   - keypad bytes and a keypad falling silent: the read threads signal an
//     eventfd;
//   - host bytes, and a host closing its port: the pseudo-terminal's master
//     (edge-triggered, so bytes the pump leaves for later do not spin it);
//   - a host opening its port: inotify on the pseudo-terminal's slave node;
//   - keypads coming back: inotify on /dev for new or changed hidraw nodes, or,
//     where no such report can come (a HID library other than the system's,
//     or a keypad that another program holds), a retry every 250 ms;
//   - a timerfd that keeps ticks that move data at least 5 ms apart while
//     bytes are left over, and times the retry.
// Otherwise nothing wakes up. A first byte after a quiet spell moves at once.
//
// On Qt's loop, for example:
//   QSocketNotifier notifier(control.PollFd(), QSocketNotifier::Read);
//   QObject::connect(&notifier, &QSocketNotifier::activated, [&] { control.Dispatch(); });
class TBridgeControl
{
public:
    static constexpr int kRetryMs = 250;

    // leds: the activity monitor the pump flashes (may be null). Throws
    // std::system_error when the loop's descriptors cannot be made.
    explicit TBridgeControl(TPortManager& pm, TBridgeEvents* events = nullptr,
                            TActivityMonitor* leds = nullptr);
    // Stops bridging and closes every keypad it opened.
    ~TBridgeControl();
    TBridgeControl(const TBridgeControl&) = delete;
    TBridgeControl& operator=(const TBridgeControl&) = delete;

    // Loads the settings, refills the slot table, gives each keypad its
    // remembered port (remembered keypads that are absent get a slot and a port
    // all the same), opens the USB keypads and creates the virtual ports.
    // Returns the number of ports that could not be created: with 0 bridging
    // runs (BridgingStarted; the pump runs at once); otherwise it does not, and
    // the ports that were made stay until StopPorts. -1 when hidapi cannot be
    // loaded (the caller says kUsbStartFailedMessage).
    int StartPorts();
    // BridgingStopping, then the pump stops, every virtual port is deleted,
    // every keypad closed and the claims cleared; then BridgingStopped.
    // Harmless when stopped.
    void StopPorts();
    bool Running() const { return m_running; }

    // Readable whenever Dispatch has something to do; valid for the object's life.
    int PollFd() const { return m_epoll; }
    // Handles what is ready (events are drained also while stopped). Never blocks.
    void Dispatch();

    void SetActivityMonitor(TActivityMonitor* leds) { m_pump.SetActivityMonitor(leds); }
    TBridgePump& Pump() { return m_pump; }

    // Every fixed wait of StopPorts goes through here (milliseconds).
    std::function<void(int)> SleepMs;
    // Where new hidraw nodes appear; tests point it at a folder of their own
    // before StartPorts.
    std::string DevFolder = "/dev";
    // The retry of absent keypads where no device report can come.
    int RetryMs = kRetryMs;
    long Ticks() const { return m_ticks; }

private:
    using Clock = std::chrono::steady_clock;

    void tick(Clock::time_point now, bool lookForKeypads);
    void syncPorts();
    void forgetPort(int slot);
    void armTimer();
    bool retryNeeded();
    void readInotify(bool& tick, bool& look);

    TPortManager& m_pm;
    TBridgeEvents* m_events;
    TBridgePump m_pump;
    TWakeEvent m_wake;
    int m_epoll = -1;
    int m_timer = -1;
    int m_inotify = -1;
    int m_devWatch = -1;
    bool m_running = false;
    long m_ticks = 0;

    Clock::time_point m_lastTick{};
    // A tick is due then (bytes left over, or an event within 5 ms of the last tick).
    bool m_tickDue = false;
    Clock::time_point m_tickAt{};
    bool m_lookDue = false; // the next tick looks for absent keypads
    bool m_retryDue = false;
    Clock::time_point m_retryAt{};
    bool m_timerArmed = false;
    Clock::time_point m_timerAt{};

    // What the loop watches of each slot's port.
    struct TWatchedPort
    {
        int master = -1;
        int watch = -1; // inotify watch of the slave node
        std::string slave;
    };
    TWatchedPort m_watched[6];
};

} // namespace tessaron
