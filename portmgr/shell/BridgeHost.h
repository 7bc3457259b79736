#pragma once

#include <QObject>

#include <functional>
#include <iosfwd>
#include <memory>

namespace tessaron {

class TActivityMonitor;
class TActivityView;
class TPortManager;

// What the tray program does when bridging changes state.
class TBridgeHostListener
{
public:
    virtual ~TBridgeHostListener() = default;
    // Every port exists and the pump runs: tray "Corvandelle (Running)", the
    // connected icon, "Show Activity LEDs" enabled.
    virtual void BridgingStarted() = 0;
    // A stop begins, nothing is closed yet: the LED window goes now.
    virtual void BridgingStopping() = 0;
    // Tray "Corvandelle (Stopped)" with the disconnected icon.
    virtual void BridgingStopped() = 0;
};

// Corvandelle's one place of contact with the bridge core: it owns the slot
// table and the core, hangs the core's event loop on Qt's (one descriptor,
// one QSocketNotifier), and turns what the core reports into the listener's
// calls and, optionally, log lines. The LED window is the shell's; the host
// only lends it to the pump. Main thread only.
class TBridgeHost : public QObject
{
    Q_OBJECT

public:
    // ledWindow: where the activity monitor shows the LEDs; it must outlive the
    // host. log: one line per bridge event (as `tessaron bridge` prints them),
    // or null. Throws std::system_error when the core's descriptors cannot be made.
    TBridgeHost(TBridgeHostListener& listener, TActivityView& ledWindow,
                std::ostream* log = nullptr);
    ~TBridgeHost() override;

    TPortManager& Ports();
    // The activity monitor's logic.
    TActivityMonitor& Leds();

    // -1: hidapi cannot be loaded. Otherwise the number of virtual ports that
    // could not be created; 0 means bridging runs. After a failure the caller
    // calls StopPorts.
    int StartPorts();
    // Stops the pump, deletes the ports, closes the keypads, clears the claims.
    void StopPorts();
    void ResetVirtualPorts();
    void UnloadHidLibraries();

    bool Bridging() const;

    // Every fixed wait of StopPorts (milliseconds); tests record them.
    void SetSleep(std::function<void(int)> sleepMs);

private:
    class Parts;

    std::unique_ptr<Parts> m_parts;
};

} // namespace tessaron
