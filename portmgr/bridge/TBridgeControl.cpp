#include "TBridgeControl.h"

#include "TActivityMonitor.h"
#include "TBridgeEvents.h"
#include "TMenuItem.h"
#include "TPollTimer.h"
#include "TTrayState.h"
#include "TVirtualPort.h"
#include "VirtualPorts.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"

#include <chrono>
#include <string_view>
#include <thread>

namespace tessaron {

namespace {

constexpr int kStopWaitMs = 100;
constexpr int kSlotWaitMs = 20;

bool slotHolds(const TPortManager& pm, std::string_view identity)
{
    for (const TKeypadSlot& s : pm.KeypadSlots) {
        if (s.Flags != 0 && DevicePathOf(s) == identity) {
            return true;
        }
    }
    return false;
}

} // namespace

TBridgeControl::TBridgeControl(Parts parts)
    : SleepMs([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
      m_parts(parts), m_pump(parts.pm, &parts.TmrKeypadPoll, &parts.leds, parts.events)
{
}

// Remembered keypads that are not attached now: each gets the first free slot,
// so that its port exists and the pump opens it as soon as it is plugged in.
// One that finds no free slot is skipped; the slots of attached keypads are
// never taken over.
void TBridgeControl::fillRememberedKeypads()
{
    TPortManager& pm = m_parts.pm;
    for (const TPortAssignment& a : pm.PortAssignments) {
        if (a.ComPort == 0 || a.InUse || a.Identity.empty()) {
            continue;
        }
        // The same identity twice in the file: one slot is enough.
        if (slotHolds(pm, a.Identity)) {
            continue;
        }
        TKeypadSlot* free = nullptr;
        for (TKeypadSlot& s : pm.KeypadSlots) {
            if (s.Flags == 0) {
                free = &s;
                break;
            }
        }
        if (free == nullptr || !SetDevicePath(*free, a.Identity)) {
            continue;
        }
        free->Flags = SlotPresent;
        free->ComPort = FindAssignedPort(pm, a.Identity);
        ClaimAssignment(pm, a.Identity);
    }
}

int TBridgeControl::StartPorts()
{
    TPortManager& pm = m_parts.pm;
    LoadSettings(pm);
    if (EnumerateKeypads(pm) == -1) {
        return -1;
    }
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
    fillRememberedKeypads();

    int failures = 0;
    for (int i = 0; i < MaxKeypads; ++i) {
        TKeypadSlot& s = pm.KeypadSlots[i];
        m_pump.ForgetPort(i);
        if (IsUsbSlot(s) && !OpenUsbKeypad(pm, i)) {
            pm.UsbConnected[i] = true;
            if (m_parts.events != nullptr) {
                m_parts.events->KeypadOpened(i, s.DevicePath);
            }
        }
        if (s.ComPort > 0) {
            if (CreateVirtualPort(s)) {
                if (m_parts.events != nullptr) {
                    m_parts.events->PortCreated(i, s.PortName);
                }
            } else {
                ++failures;
                if (m_parts.events != nullptr) {
                    m_parts.events->PortFailed(
                        i, s.PortName, s.VirtualPort ? s.VirtualPort->LastError() : std::string());
                }
            }
        }
    }
    if (failures != 0) {
        return failures;
    }
    m_parts.TmrKeypadPoll.SetInterval(TBridgePump::kFirstInterval);
    m_parts.TmrKeypadPoll.SetEnabled(true);
    m_parts.tray.SetTrayState("Corvandelle (Running)", true);
    m_parts.mnuShowActivity.SetEnabled(true);
    return 0;
}

void TBridgeControl::StopPorts()
{
    TPortManager& pm = m_parts.pm;
    if (LedWindowFlag) {
        m_parts.leds.HideLeds();
        m_parts.mnuShowActivity.SetChecked(false);
        m_parts.mnuShowActivity.SetEnabled(false);
    }
    m_parts.TmrKeypadPoll.SetEnabled(false);
    SleepMs(kStopWaitMs);
    for (int i = 0; i < MaxKeypads; ++i) {
        TKeypadSlot& s = pm.KeypadSlots[i];
        if (s.VirtualPort) {
            const std::string name = s.PortName;
            const bool existed = s.VirtualPort->PortCreated();
            DeleteVirtualPort(s);
            m_pump.ForgetPort(i);
            if (existed && m_parts.events != nullptr) {
                m_parts.events->PortDeleted(i, name);
            }
        }
        SleepMs(kSlotWaitMs);
        const bool wasOpen = (s.Flags & SlotOpen) != 0;
        CloseKeypad(pm, i);
        if (wasOpen && m_parts.events != nullptr) {
            m_parts.events->KeypadClosed(i, s.DevicePath, false);
        }
        SleepMs(kSlotWaitMs);
    }
    for (TPortAssignment& a : pm.PortAssignments) {
        a.InUse = false;
    }
    m_parts.tray.SetTrayState("Corvandelle (Stopped)", false);
}

void TBridgeControl::mnuShowActivityClick()
{
    LedWindowFlag = !LedWindowFlag;
    m_parts.mnuShowActivity.SetChecked(LedWindowFlag);
    if (LedWindowFlag) {
        m_parts.leds.ShowLeds();
    } else {
        m_parts.leds.HideLeds();
    }
}

} // namespace tessaron
