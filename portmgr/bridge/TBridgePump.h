#pragma once

#include "portmgr/devices/KeypadSlots.h"
#include "portmgr/io/FileReadThread.h"
#include "portmgr/io/TVirtualPort.h"

#include <string>

namespace tessaron {

class TActivityMonitor;
class TBridgeEvents;
class TPortManager;

// The bridge pump, TmrKeypadPoll's handler: on each tick it moves bytes
// between every open keypad's bridge threads and the slot's virtual port, at
// most 16 bytes in and 7 bytes out per slot, closes a USB keypad that has gone
// silent and reopens keypads that come back. It holds the slots' virtual
// ports while bridging runs. Main thread only. When ticks come is
// TBridgeControl's matter.
class TBridgePump
{
public:
    static constexpr int kInterval = 5;           // ms at least between ticks
    static constexpr int kMaxIn = 16;             // keypad to host, bytes per tick and slot
    static constexpr int kMaxOut = MaxReportData; // host to keypad: one USB output report
    static constexpr int kSilentLimit = TFileReadThread::kSilentLimit; // 50 ms waits

    // leds and events may be null (no window, nobody listening).
    TBridgePump(TPortManager& pm, TActivityMonitor* leds, TBridgeEvents* events);

    // One tick. lookForKeypads: also try to open the keypads of present slots
    // that are closed (a keypad closed for silence in this tick is tried at
    // once in any case). Returns the interval (5 ms) that the next tick keeps
    // at least.
    int TmrKeypadPollTimer(bool lookForKeypads = true);

    // Whether the last tick left bytes behind for the next one (more than 16
    // in a ring, host bytes beyond the 7 it took).
    bool MoreWork() const { return m_moreWork; }
    // Whether a present USB slot's keypad is not open.
    bool KeypadsAbsent() const;
    // Whether one of them could not be opened because another holder has it.
    bool KeypadsHeldElsewhere() const;

    void SetActivityMonitor(TActivityMonitor* leds) { m_leds = leds; }

    // Makes the slot's port "COM" + its ComPort afresh (the old one goes
    // first). With no port assigned (ComPort 0 or less) the slot has no port
    // and the result is false; otherwise the result is whether the port exists
    // now: one that could not be made stays, with its LastError, until DeletePort.
    bool CreatePort(int slot);
    // Deletes the slot's port (its link in ports/ goes with it).
    void DeletePort(int slot);
    // The slot's port, null when it has none.
    TVirtualPort* Port(int slot);
    // Its name ("COM1" to "COM16"), "" when the slot has no port.
    const std::string& PortName(int slot) const { return m_portNames[slot]; }

private:
    void pumpSlot(int i, bool lookForKeypads);
    void reportHost(int i, bool opened);

    TPortManager& m_pm;
    TActivityMonitor* m_leds;
    TBridgeEvents* m_events;
    TVirtualPort m_ports[MaxKeypads];
    std::string m_portNames[MaxKeypads];
    // For the events only: whether a host was last reported on the slot's port.
    bool m_reportedOpen[MaxKeypads] = {};
    bool m_moreWork = false;
};

} // namespace tessaron
