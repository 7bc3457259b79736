#include "BridgeHost.h"

#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeLog.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"

#include <QSocketNotifier>

namespace tessaron {

class TBridgeHost::Parts : public TBridgeLog
{
public:
    Parts(TBridgeHostListener& listener, TActivityView& ledWindow, std::ostream* log)
        : TBridgeLog(log), listener(&listener), leds(ledWindow, slotState)
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
    TActivityMonitor leds;
    TBridgeControl control{pm, this, &leds};
    // The core's loop on Qt's: readable whenever Dispatch has something to do.
    QSocketNotifier notifier{control.PollFd(), QSocketNotifier::Read};
};

TBridgeHost::TBridgeHost(TBridgeHostListener& listener, TActivityView& ledWindow, std::ostream* log)
    : m_parts(std::make_unique<Parts>(listener, ledWindow, log))
{
    connect(&m_parts->notifier, &QSocketNotifier::activated, this,
            [this] { m_parts->control.Dispatch(); });
}

TBridgeHost::~TBridgeHost()
{
    m_parts->listener = nullptr;
}

TPortManager& TBridgeHost::Ports()
{
    return m_parts->pm;
}

TActivityMonitor& TBridgeHost::Leds()
{
    return m_parts->leds;
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
    TVirtualPort::ResetBus();
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
