#include "FileWriteThread.h"

#include "DeviceHandle.h"
#include "SerialLine.h"

#include <algorithm>
#include <cstring>

namespace tessaron {

namespace {

constexpr int ChunkPauseMs = 10;
// How long a serial write may wait for room in the port's output queue.
constexpr int SerialWriteWaitMs = 100;

} // namespace

TFileWriteThread::TFileWriteThread(TDeviceHandle* handle, char kind)
    : TFileThread(handle, kind, true)
{
    Start();
}

TFileWriteThread::~TFileWriteThread()
{
    Stop();
    Join();
}

int TFileWriteThread::Pending()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ring.Count();
}

bool TFileWriteThread::Queue(int n, const std::uint8_t* bytes)
{
    bool taken;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        taken = m_ring.Append(bytes, n);
    }
    Signal();
    return taken;
}

int TFileWriteThread::TakeChunk(std::uint8_t* out, int n)
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ring.Take(out, n);
}

void TFileWriteThread::Execute()
{
    std::uint8_t buffer[ReportSize];
    while (!Terminated()) {
        const int n = std::min(Pending(), MaxReportData);
        if (n <= 0) {
            WaitEvent(-1); // Queue or Stop ends the wait
            continue;
        }
        std::memset(buffer, 0, sizeof buffer);
        if (Kind() == LinkUsb) {
            buffer[0] = 0x00; // report ID
            buffer[1] = static_cast<std::uint8_t>(TakeChunk(buffer + 2, n));
            if (Handle() != nullptr) {
                Handle()->WriteReport(buffer, ReportSize); // a failed write is lost
            }
        } else {
            const int taken = TakeChunk(buffer, n);
            if ((Kind() == LinkRs232 || Kind() == LinkCdc) && Handle() != nullptr) {
                // The port is non-blocking (its reads are poll()ed): wait a little
                // for room in the output queue, then give up on what is left.
                WriteWithin(Handle()->Fd(), buffer, taken, SerialWriteWaitMs, &TerminationFlag());
            }
        }
        Pause(ChunkPauseMs);
    }
}

} // namespace tessaron
