#include "BridgeHost.h"

#include "portmgr/bridge/FileReadThread.h"
#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeEvents.h"
#include "portmgr/bridge/TBridgePump.h"
#include "portmgr/bridge/TMenuItem.h"
#include "portmgr/bridge/TPollTimer.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/bridge/TTrayState.h"
#include "portmgr/bridge/TVirtualPort.h"
#include "portmgr/bridge/TWakeEvent.h"
#include "portmgr/bridge/VirtualPorts.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"

#include <QSocketNotifier>

#include <ostream>

namespace tessaron {

namespace {

// While nothing moves, the pump rests: it ticks every kRestMs, but at once when
// a keypad or a host sends data (the same rest as the headless bridge's loop).
constexpr int kRestAfterIdleTicks = 20;
constexpr int kRestMs = 50;

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

// The LED-window flag and its menu item are the shell's: the core never sees them.
class NoMenuItem : public TMenuItem
{
public:
    void SetEnabled(bool) override {}
    void SetChecked(bool) override {}
};

} // namespace

class TBridgeHost::Parts : public TPollTimer, public TTrayState, public TBridgeEvents
{
public:
    Parts(TBridgeHost& host, TBridgeHostListener& listener, std::ostream* log)
        : host(host), listener(listener), log(log)
    {
    }

    // TmrKeypadPoll.
    void SetInterval(int milliseconds) override { interval = milliseconds; }
    void SetEnabled(bool on) override
    {
        enabled = on;
        host.m_idleTicks = 0;
        host.stopResting();
        if (on) {
            host.m_lastTick = Clock::now();
            host.m_timer.start(interval);
        } else {
            host.m_timer.stop();
        }
    }

    void SetTrayState(const std::string& text, bool connected) override
    {
        line(text);
        if (connected) {
            listener.BridgingStarted();
        } else {
            listener.BridgingStopped();
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

    TBridgeHost& host;
    TBridgeHostListener& listener;
    std::ostream* log;
    int interval = 2000;
    bool enabled = false;

    // Before the slot table: the keypads' read threads signal it until they end.
    TWakeEvent wakeEvent;
    TPortManager pm;
    TSlotActivityState slotState{pm};
    LedRelay ledRelay;
    TActivityMonitor leds{ledRelay, slotState};
    NoMenuItem menu;
    TBridgeControl control{{pm, *this, *this, menu, leds, this}};
    std::unique_ptr<QSocketNotifier> wakeNotifier;
    std::vector<int> restFds;
};

TBridgeHost::TBridgeHost(TBridgeHostListener& listener, std::ostream* log)
    : m_parts(std::make_unique<Parts>(*this, listener, log))
{
    m_timer.setObjectName(QStringLiteral("TmrKeypadPoll"));
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TBridgeHost::tick);
    if (m_parts->wakeEvent.Valid()) {
        m_parts->wakeNotifier =
            std::make_unique<QSocketNotifier>(m_parts->wakeEvent.Fd(), QSocketNotifier::Read);
        m_parts->wakeNotifier->setEnabled(false);
        connect(m_parts->wakeNotifier.get(), &QSocketNotifier::activated, this, &TBridgeHost::wake);
    }
}

TBridgeHost::~TBridgeHost()
{
    m_timer.stop();
    stopResting();
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
    m_parts->listener.BridgingStopping();
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
    return m_parts->enabled;
}

bool TBridgeHost::Resting() const
{
    return m_idleTicks >= kRestAfterIdleTicks;
}

void TBridgeHost::SetSleep(std::function<void(int)> sleepMs)
{
    m_parts->control.SleepMs = sleepMs;
    m_parts->pm.SleepMs = std::move(sleepMs);
}

void TBridgeHost::tick()
{
    m_lastTick = Clock::now();
    m_parts->control.Pump().TmrKeypadPollTimer();
    ++m_ticks;
    // Keypads opened since the last tick wake the pump too.
    for (TKeypadSlot& s : m_parts->pm.KeypadSlots) {
        if (s.ReadThread && m_parts->wakeEvent.Valid() &&
            s.ReadThread->DataSignal.load(std::memory_order_relaxed) != m_parts->wakeEvent.Fd()) {
            s.ReadThread->DataSignal.store(m_parts->wakeEvent.Fd(), std::memory_order_release);
        }
    }
    m_idleTicks = m_parts->control.Pump().LastTickBusy() ? 0 : m_idleTicks + 1;
    scheduleNext();
}

void TBridgeHost::scheduleNext()
{
    if (!m_parts->enabled) {
        return;
    }
    if (Resting() && m_parts->wakeNotifier) {
        rest();
        m_timer.start(kRestMs);
    } else {
        stopResting();
        m_timer.start(m_parts->interval);
    }
}

// Waits on keypad data and on the bytes of every host that holds its port open
// (a port without a host reports a hang-up all the time, so it cannot be
// waited on; its host is seen at the next tick).
void TBridgeHost::rest()
{
    std::vector<int> fds;
    for (const TKeypadSlot& s : m_parts->pm.KeypadSlots) {
        if (s.VirtualPort && s.VirtualPort->PortCreated() && s.VirtualPort->HostAttached()) {
            fds.push_back(s.VirtualPort->PollFd());
        }
    }
    if (fds != m_parts->restFds) {
        m_restNotifiers.clear();
        for (int fd : fds) {
            auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            connect(notifier.get(), &QSocketNotifier::activated, this, &TBridgeHost::wake);
            m_restNotifiers.push_back(std::move(notifier));
        }
        m_parts->restFds = fds;
    }
    for (auto& n : m_restNotifiers) {
        n->setEnabled(true);
    }
    m_parts->wakeNotifier->setEnabled(true);
}

// Data came while resting: tick at once, but never sooner than 5 ms after the
// last tick.
void TBridgeHost::wake()
{
    for (auto& n : m_restNotifiers) {
        n->setEnabled(false); // deleted later, never inside their own signal
    }
    if (m_parts->wakeNotifier) {
        m_parts->wakeNotifier->setEnabled(false);
    }
    m_parts->wakeEvent.Clear();
    m_idleTicks = 0;
    if (!m_parts->enabled) {
        return;
    }
    const auto due = m_lastTick + std::chrono::milliseconds(TBridgePump::kInterval);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
    m_timer.start(left > 0 ? static_cast<int>(left) : 0);
}

void TBridgeHost::stopResting()
{
    m_restNotifiers.clear();
    m_parts->restFds.clear();
    if (m_parts->wakeNotifier) {
        m_parts->wakeNotifier->setEnabled(false);
    }
}

} // namespace tessaron
