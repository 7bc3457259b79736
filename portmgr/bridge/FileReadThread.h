#pragma once

#include "ByteRing.h"
#include "FileThread.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace tessaron {

// Reads what a keypad sends into a 1024-byte ring that the main thread empties.
//
// USB: waits for an input report in 50 ms steps. Every step that ends without a
// report adds 1 to SilentWaits, every report sets it back to 0; bytes 2 to 1 + n
// of the report (n = byte 1, at most 7) go to the ring, all or nothing.
// Serial: poll()s the port and the event together, so a quiet port costs
// nothing; each read's bytes go to the ring, all or nothing.
class TFileReadThread final : public TFileThread
{
public:
    // Starts reading at once. Throws std::system_error when no thread can be made.
    TFileReadThread(TDeviceHandle* handle, char kind);
    ~TFileReadThread() override;

    // Bytes held.
    int Available();
    // The oldest byte, or 0 when the ring is empty.
    std::uint8_t PopByte();

    // Consecutive 50 ms waits without a USB report. Written by this thread only;
    // the bridge pump reads it without the lock.
    std::atomic<int> SilentWaits{0};

    // An eventfd that this thread signals after storing bytes (-1: none), so an
    // event loop can sleep until data comes instead of polling the ring. The
    // descriptor must outlive the thread.
    std::atomic<int> DataSignal{-1};

private:
    void Execute() override;
    void ReadUsb();
    void ReadSerial();
    void Store(const std::uint8_t* bytes, int n);

    std::mutex m_lock;
    TByteRing m_ring;
};

} // namespace tessaron
