#include "BridgeHost.h"

#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeEvents.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/bridge/VirtualPorts.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"

#include <QSocketNotifier>

#include <ostream>

namespace tessaron {

namespace {

// The LED window is made after the host; until then the monitor draws nothing.
class LedRelay : public TActivityView
{
public:
    TActivityView* target = nullptr;

    int ScreenWidth() const override { return target ? target->ScreenWidth() : 0; }
    int ScreenHeight() const override { return target ? target->ScreenHeight() : 0; }
    void PlaceAt(int left, int top) override
    {
        if (target) {
            target->PlaceAt(left, top);
        }
    }
    void SetLed(TLedGroup group, int row, bool lit) override
    {
        if (target) {
            target->SetLed(group, row, lit);
        }
    }
    void SetUsbIdBox(int row, bool on) override
    {
        if (target) {
            target->SetUsbIdBox(row, on);
        }
    }
    void SetComIdBox(int row, bool on) override
    {
        if (target) {
            target->SetComIdBox(row, on);
        }
    }
    void EnableRowLabel(int row, bool enabled) override
    {
        if (target) {
            target->EnableRowLabel(row, enabled);
        }
    }
    void EnableIdBoxes(int row, bool enabled) override
    {
        if (target) {
            target->EnableIdBoxes(row, enabled);
        }
    }
    void SetTimerEnabled(bool enabled) override
    {
        if (target) {
            target->SetTimerEnabled(enabled);
        }
    }
    void Show() override
    {
        if (target) {
            target->Show();
        }
    }
    void Hide() override
    {
        if (target) {
            target->Hide();
        }
    }
};

} // namespace

class TBridgeHost::Parts : public TBridgeEvents
{
public:
    Parts(TBridgeHostListener& listener, std::ostream* log) : listener(&listener), log(log) {}

    void BridgingStarted() override
    {
        line("Corvandelle (Running)");
        if (listener != nullptr) {
            listener->BridgingStarted();
        }
    }
    void BridgingStopping() override
    {
        if (listener != nullptr) {
            listener->BridgingStopping();
        }
    }
    void BridgingStopped() override
    {
        line("Corvandelle (Stopped)");
        if (listener != nullptr) {
            listener->BridgingStopped();
        }
    }

    void PortCreated(int slot, const std::string& name) override
    {
        line(name + " created (keypad #" + std::to_string(slot + 1) + ")");
    }
    void PortFailed(int slot, const std::string& name, const std::string& reason) override
    {
        line(name + " could not be created (keypad #" + std::to_string(slot + 1) + ")" +
             (reason.empty() ? "" : ": " + reason));
    }
    void PortDeleted(int, const std::string& name) override { line(name + " deleted"); }
    void KeypadOpened(int slot, const std::string& identity) override
    {
        line("keypad #" + std::to_string(slot + 1) + " opened: " + identity);
    }
    void KeypadClosed(int slot, const std::string& identity, bool silent) override
    {
        line("keypad #" + std::to_string(slot + 1) + " closed: " + identity +
             (silent ? " (no report for a second)" : ""));
    }
    void HostOpened(int, const std::string& name) override { line(name + " opened by a host"); }
    void HostClosed(int, const std::string& name) override { line(name + " closed by its host"); }

    void line(const std::string& text)
    {
        if (log != nullptr) {
            *log << text << std::endl;
        }
    }

    // Null once the host goes: the core still stops bridging then, but the
    // shell's windows may be gone already.
    TBridgeHostListener* listener;
    std::ostream* log;

    // The slot table outlives the core, which closes the keypads it opened.
    TPortManager pm;
    TSlotActivityState slotState{pm};
    LedRelay ledRelay;
    TActivityMonitor leds{ledRelay, slotState};
    TBridgeControl control{pm, this, &leds};
    // The core's loop on Qt's: readable whenever Dispatch has something to do.
    QSocketNotifier notifier{control.PollFd(), QSocketNotifier::Read};
};

TBridgeHost::TBridgeHost(TBridgeHostListener& listener, std::ostream* log)
    : m_parts(std::make_unique<Parts>(listener, log))
{
    connect(&m_parts->notifier, &QSocketNotifier::activated, this,
            [this] { m_parts->control.Dispatch(); });
}

TBridgeHost::~TBridgeHost()
{
    m_parts->listener = nullptr;
    m_parts->ledRelay.target = nullptr;
}

TPortManager& TBridgeHost::Ports()
{
    return m_parts->pm;
}

TActivityMonitor& TBridgeHost::Leds()
{
    return m_parts->leds;
}

void TBridgeHost::SetLedWindow(TActivityView* view)
{
    m_parts->ledRelay.target = view;
}

int TBridgeHost::StartPorts()
{
    return m_parts->control.StartPorts();
}

void TBridgeHost::StopPorts()
{
    m_parts->control.StopPorts();
}

void TBridgeHost::ResetVirtualPorts()
{
    tessaron::ResetVirtualPorts();
}

void TBridgeHost::UnloadHidLibraries()
{
    tessaron::UnloadHidLibraries(m_parts->pm);
}

bool TBridgeHost::Bridging() const
{
    return m_parts->control.Running();
}

void TBridgeHost::SetSleep(std::function<void(int)> sleepMs)
{
    m_parts->control.SleepMs = sleepMs;
    m_parts->pm.SleepMs = std::move(sleepMs);
}

} // namespace tessaron
