#include "TBridgePump.h"

#include "TActivityMonitor.h"
#include "TBridgeEvents.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/ByteRing.h"

#include <algorithm>
#include <cstdint>

namespace tessaron {

TBridgePump::TBridgePump(TPortManager& pm, TActivityMonitor* leds, TBridgeEvents* events)
    : m_pm(pm), m_leds(leds), m_events(events)
{
}

int TBridgePump::TmrKeypadPollTimer(bool lookForKeypads)
{
    // One system call for the state of all six ports instead of two per port:
    // most ticks find nothing to do, and this is most of what they cost.
    TVirtualPort* ports[MaxKeypads];
    for (int i = 0; i < MaxKeypads; ++i) {
        ports[i] = Port(i);
    }
    TVirtualPort::PollPorts(ports, MaxKeypads);
    // One listing tells whether any keypad is attached at all: six absent
    // keypads then cost one call, not six searches.
    if (lookForKeypads && KeypadsAbsent() && !UsbKeypadsAttached(m_pm)) {
        lookForKeypads = false;
    }
    m_moreWork = false;
    for (int i = 0; i < MaxKeypads; ++i) {
        pumpSlot(i, lookForKeypads);
    }
    return kInterval;
}

bool TBridgePump::KeypadsAbsent() const
{
    for (const TKeypadSlot& s : m_pm.KeypadSlots) {
        if (IsUsbSlot(s) && s.DevicePath[0] != '\0' && !(s.Flags & SlotOpen)) {
            return true;
        }
    }
    return false;
}

bool TBridgePump::KeypadsHeldElsewhere() const
{
    for (const TKeypadSlot& s : m_pm.KeypadSlots) {
        if (IsUsbSlot(s) && !(s.Flags & SlotOpen) && s.InUseElsewhere) {
            return true;
        }
    }
    return false;
}

bool TBridgePump::CreatePort(int slot)
{
    DeletePort(slot);
    const int comPort = m_pm.KeypadSlots[slot].ComPort;
    if (comPort <= 0) {
        return false;
    }
    m_portNames[slot] = "COM" + std::to_string(comPort);
    return m_ports[slot].CreatePort(m_portNames[slot]);
}

void TBridgePump::DeletePort(int slot)
{
    m_ports[slot].Delete();
    m_portNames[slot].clear();
    m_reportedOpen[slot] = false;
}

TVirtualPort* TBridgePump::Port(int slot)
{
    return m_portNames[slot].empty() ? nullptr : &m_ports[slot];
}

void TBridgePump::reportHost(int i, bool opened)
{
    if (opened != m_reportedOpen[i]) {
        m_reportedOpen[i] = opened;
        if (m_events != nullptr) {
            if (opened) {
                m_events->HostOpened(i, m_portNames[i]);
            } else {
                m_events->HostClosed(i, m_portNames[i]);
            }
        }
    }
}

void TBridgePump::pumpSlot(int i, bool lookForKeypads)
{
    TKeypadSlot& s = m_pm.KeypadSlots[i];
    TVirtualPort* port = Port(i);

    if (port != nullptr) {
        const bool opened = port->PortOpened();
        if (m_leds != nullptr) {
            m_leds->SetComId(i, opened);
        }
        reportHost(i, opened);
    }

    if ((s.Flags & SlotOpen) && s.ReadThread && s.ReadThread->SilentWaits > kSilentLimit) {
        CloseKeypad(m_pm, i);
        m_pm.UsbConnected[i] = false;
        lookForKeypads = true; // it may have been replugged meanwhile
        if (m_events != nullptr) {
            m_events->KeypadClosed(i, s.DevicePath, true);
        }
    }

    if ((s.Flags & SlotOpen) && s.ReadThread && s.WriteThread) {
        std::uint8_t in[kMaxIn];
        int n = 0;
        while (n < kMaxIn && s.ReadThread->Available() != 0) {
            if (m_leds != nullptr) {
                m_leds->FlashUsbRx(i);
            }
            in[n++] = s.ReadThread->PopByte();
        }
        if (n > 0 && s.ComPort > 0 && port != nullptr) {
            if (m_leds != nullptr && port->PortOpened()) {
                m_leds->FlashComTx(i);
            }
            port->Write(in, n);
        }

        const int pending = port != nullptr ? port->BytesPending() : 0;
        int got = 0;
        if (pending != 0) {
            // Take no more than the write ring can hold: bytes left in the
            // port wait for the next tick (and hold the host back once its
            // queue is full) instead of being refused by the ring and lost.
            const int room = RingSize - 1 - s.WriteThread->Pending();
            const int want = std::min(kMaxOut, room);
            if (want > 0) {
                if (m_leds != nullptr) {
                    m_leds->FlashComRx(i);
                    m_leds->FlashUsbTx(i);
                }
                std::uint8_t out[kMaxOut];
                got = port->Read(out, want);
                if (got > 0) {
                    s.WriteThread->Queue(got, out);
                }
            }
        }
        m_moreWork = m_moreWork || pending > got || s.ReadThread->Available() != 0;
        return;
    }

    // Not open: a host's bytes for an absent keypad are read and discarded.
    const int pending = port != nullptr ? port->BytesPending() : 0;
    if (pending != 0) {
        if (m_leds != nullptr) {
            m_leds->FlashComRx(i);
        }
        std::uint8_t discard[kMaxOut];
        m_moreWork = m_moreWork || pending > port->Read(discard, kMaxOut);
    }
    if (lookForKeypads && !OpenUsbKeypad(m_pm, i)) {
        m_pm.UsbConnected[i] = true;
        if (m_events != nullptr) {
            m_events->KeypadOpened(i, s.DevicePath);
        }
    }
}

} // namespace tessaron
