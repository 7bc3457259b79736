#pragma once

#include "ByteRing.h"
#include "FileThread.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace tessaron {

// Reads what a keypad sends into a 1024-byte ring that the main thread empties.
//
// USB: SilentWaits counts the 50 ms waits that ended without an input report;
// every report sets it back to 0, and bytes 2 to 1 + n of a report (n = byte 1,
// at most 7) go to the ring, all or nothing. A wait for a report may span
// several of those 50 ms (at most 200 ms, so that Stop is seen soon) and then
// counts for each of them: an idle keypad that reports every 100 ms wakes the
// thread for its reports only.
// Serial: poll()s the port and the event together, so a quiet port costs
// nothing; each read's bytes go to the ring, all or nothing.
//
// The thread signals dataSignal (an eventfd, -1 for none; it must outlive the
// thread) after storing bytes and when SilentWaits passes kSilentLimit, so an
// event loop sleeps until there is something to do instead of polling.
class TFileReadThread final : public TFileThread
{
public:
    // A USB keypad that stays silent for more waits than this is closed.
    static constexpr int kSilentLimit = 20;

    // Starts reading at once. Throws std::system_error when no thread can be made.
    TFileReadThread(TDeviceHandle* handle, char kind, int dataSignal = -1);
    ~TFileReadThread() override;

    // Bytes held.
    int Available();
    // The oldest byte, or 0 when the ring is empty.
    std::uint8_t PopByte();

    // Consecutive 50 ms waits without a USB report. Written by this thread only;
    // the bridge pump reads it without the lock.
    std::atomic<int> SilentWaits{0};

private:
    void Execute() override;
    void ReadUsb();
    void ReadSerial();
    void Store(const std::uint8_t* bytes, int n);
    void CountSilence(int waits);
    void SignalData();

    const int m_dataSignal;
    std::mutex m_lock;
    TByteRing m_ring;
};

} // namespace tessaron
