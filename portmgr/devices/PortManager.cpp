#include "PortManager.h"

#include "SerialLine.h"

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
    if (Probe.Handle >= 0) {
        CloseComPort(Probe.Handle);
        Probe.Handle = -1;
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
    if (s.WriteThread) {
        s.WriteThread->Join();
    }
    if (s.ReadThread) {
        s.ReadThread->Join();
    }
    s.WriteThread.reset();
    s.ReadThread.reset();
    s.Handle.reset();
    s.Flags &= static_cast<std::uint8_t>(~SlotOpen);
}

bool StartSlotThreads(TKeypadSlot& s, std::unique_ptr<TDeviceHandle> handle, char kind)
{
    s.Handle = std::move(handle);
    try {
        s.ReadThread = std::make_unique<TFileReadThread>(s.Handle.get(), kind);
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
