#pragma once

#include "TBridgePump.h"

#include <functional>

namespace tessaron {

class TActivityMonitor;
class TBridgeEvents;
class TMenuItem;
class TPollTimer;
class TPortManager;
class TTrayState;

// Starting and stopping bridging for all keypads, as the tray program's main
// form does it, over the parts that the form owns: the slot table, the pump's
// timer, the tray icon, the menu item "Show Activity LEDs" and the LED window.
// Main thread only.
class TBridgeControl
{
public:
    struct Parts
    {
        TPortManager& pm;
        TPollTimer& TmrKeypadPoll;
        TTrayState& tray;
        TMenuItem& mnuShowActivity;
        TActivityMonitor& leds;
        TBridgeEvents* events = nullptr;
    };

    explicit TBridgeControl(Parts parts);

    // Loads the settings, refills the slot table, gives each keypad its
    // remembered port (remembered keypads that are absent get a slot and a port
    // all the same), opens the USB keypads and creates the virtual ports.
    // Returns the number of ports that could not be created: with 0 bridging
    // runs (timer armed for 1000 ms, tray "Corvandelle (Running)"); otherwise
    // the timer stays off and the tray as it was. -1 when hidapi cannot be
    // loaded (the caller says "Could not start USB librairies!").
    int StartPorts();
    // Stops the pump, deletes every virtual port, closes every keypad, clears the
    // claims; the tray shows "Corvandelle (Stopped)". Harmless when stopped.
    void StopPorts();

    // The menu item "Show Activity LEDs": toggles the LED-window flag, its check
    // mark and the window.
    void mnuShowActivityClick();
    // The LED-window flag: the user has chosen "Show Activity LEDs".
    bool LedWindowFlag = false;

    TBridgePump& Pump() { return m_pump; }
    // Every fixed wait of StopPorts goes through here (milliseconds).
    std::function<void(int)> SleepMs;

private:
    void fillRememberedKeypads();

    Parts m_parts;
    TBridgePump m_pump;
};

} // namespace tessaron
