#pragma once

#include "ByteRing.h"
#include "FileThread.h"

#include <cstdint>
#include <mutex>

namespace tessaron {

// Sends the bytes queued by the main thread to a keypad, at most 7 at a time and
// at most one chunk per 10 ms: as one 9-byte output report for a USB keypad
// (0x00, n, data, zeros), as the bare bytes for a serial one. Between chunks it
// waits on its event without any time limit, so an idle keypad costs nothing.
class TFileWriteThread final : public TFileThread
{
public:
    // Starts at once. Throws std::system_error when no thread can be made.
    TFileWriteThread(TDeviceHandle* handle, char kind);
    ~TFileWriteThread() override;

    // Bytes held.
    int Pending();
    // Appends the n bytes if all of them fit (count + n < 1024), then signals the
    // thread whether or not they were taken. Returns whether they were taken.
    bool Queue(int n, const std::uint8_t* bytes);

private:
    void Execute() override;
    int TakeChunk(std::uint8_t* out, int n);

    std::mutex m_lock;
    TByteRing m_ring;
};

} // namespace tessaron
