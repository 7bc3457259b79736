#include "BridgeHost.h"

#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeLog.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/bridge/VirtualPorts.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"

#include <QSocketNotifier>

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

class TBridgeHost::Parts : public TBridgeLog
{
public:
    Parts(TBridgeHostListener& listener, std::ostream* log) : TBridgeLog(log), listener(&listener)
    {
    }

    void BridgingStarted() override
    {
        TBridgeLog::BridgingStarted();
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
        TBridgeLog::BridgingStopped();
        if (listener != nullptr) {
            listener->BridgingStopped();
        }
    }

    // Null once the host goes: the core still stops bridging then, but the
    // shell's windows may be gone already.
    TBridgeHostListener* listener;

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
