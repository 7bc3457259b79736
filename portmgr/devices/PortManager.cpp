#include "PortManager.h"

#include "portmgr/io/SerialLine.h"

#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace tessaron {

TPortManager::TPortManager()
{
    const char* sysfs = std::getenv("TESSARON_SYSFS");
    SysfsRoot = (sysfs != nullptr && *sysfs != '\0') ? sysfs : "/sys";
    SleepMs = [](int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    };
}

TPortManager::~TPortManager()
{
    SleepMs = [](int) {};
    for (int i = 0; i < MaxKeypads; ++i) {
        CloseSlot(*this, i, 0);
    }
    Probe.Handle.Close();
    JoinRetired();
}

void TPortManager::Retire(std::unique_ptr<TFileWriteThread> writer,
                          std::unique_ptr<TDeviceHandle> handle)
{
    reapRetired(false);
    TRetired& r = m_retired.emplace_back();
    r.Thread =
        std::thread([w = std::move(writer), h = std::move(handle), &done = r.Done]() mutable {
            w.reset(); // joins the thread
            h.reset();
            done.store(true, std::memory_order_release);
        });
}

void TPortManager::JoinRetired()
{
    reapRetired(true);
}

bool TPortManager::HasRetired()
{
    reapRetired(false);
    return !m_retired.empty();
}

void TPortManager::reapRetired(bool all)
{
    for (auto it = m_retired.begin(); it != m_retired.end();) {
        if (all || it->Done.load(std::memory_order_acquire)) {
            it->Thread.join();
            it = m_retired.erase(it);
        } else {
            ++it;
        }
    }
}

int FilledSlots(const TPortManager& pm)
{
    int filled = 0;
    for (const TKeypadSlot& slot : pm.KeypadSlots) {
        if (slot.Flags != 0) {
            ++filled;
        }
    }
    return filled;
}

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < MaxKeypads;
}

} // namespace tessaron

namespace tessaron {

namespace {

// How long closing a slot waits for its write thread before leaving it to a
// thread of its own.
constexpr int WriteJoinMs = 300;

} // namespace

void CloseSlot(TPortManager& pm, int slot, int waitMs)
{
    if (!ValidSlot(slot)) {
        return;
    }
    TKeypadSlot& s = pm.KeypadSlots[slot];
    if (s.WriteThread) {
        s.WriteThread->Stop();
    }
    if (s.ReadThread) {
        s.ReadThread->Stop();
    }
    if (waitMs > 0) {
        pm.SleepMs(waitMs);
    }
    // The read thread's waits are bounded; a write can hang as long as the
    // kernel lets it (5 s for a USB keypad that stopped answering).
    if (s.ReadThread) {
        s.ReadThread->Join();
    }
    s.ReadThread.reset();
    if (s.WriteThread && !s.WriteThread->JoinWithin(WriteJoinMs)) {
        pm.Retire(std::move(s.WriteThread), std::move(s.Handle));
    }
    s.WriteThread.reset();
    s.Handle.reset();
    s.Flags &= static_cast<std::uint8_t>(~SlotOpen);
}

bool StartSlotThreads(TPortManager& pm, TKeypadSlot& s, std::unique_ptr<TDeviceHandle> handle,
                      char kind)
{
    s.Handle = std::move(handle);
    try {
        s.ReadThread = std::make_unique<TFileReadThread>(s.Handle.get(), kind, pm.WakeFd);
        s.WriteThread = std::make_unique<TFileWriteThread>(s.Handle.get(), kind);
    } catch (const std::system_error&) {
        s.WriteThread.reset();
        s.ReadThread.reset();
        s.Handle.reset();
        return false;
    }
    s.Flags |= SlotOpen;
    return true;
}

} // namespace tessaron
