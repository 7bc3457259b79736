#include "FileReadThread.h"

#include "DeviceHandle.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace tessaron {

namespace {

constexpr int UsbWaitMs = 50;
// One wait for a report spans at most this many 50 ms waits.
constexpr int MaxWaitsAtOnce = 4;
// After a failure (a device that is gone reports it on every call) the loop
// waits this long instead of asking again at once.
constexpr int FailurePauseMs = 50;

} // namespace

TFileReadThread::TFileReadThread(TDeviceHandle* handle, char kind, int dataSignal)
    : TFileThread(handle, kind, false), m_dataSignal(dataSignal)
{
    Start();
}

TFileReadThread::~TFileReadThread()
{
    Stop();
    Join();
}

int TFileReadThread::Available()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ring.Count();
}

std::uint8_t TFileReadThread::PopByte()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ring.PopByte();
}

void TFileReadThread::Store(const std::uint8_t* bytes, int n)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_ring.Append(bytes, n); // a batch that does not fit is dropped whole
    }
    SignalData();
}

void TFileReadThread::SignalData()
{
    if (m_dataSignal >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_dataSignal, &one, sizeof one);
    }
}

void TFileReadThread::CountSilence(int waits)
{
    const int before = SilentWaits.fetch_add(waits, std::memory_order_relaxed);
    if (before <= kSilentLimit && before + waits > kSilentLimit) {
        SignalData(); // the keypad is to be closed
    }
}

void TFileReadThread::Execute()
{
    if (Handle() == nullptr) {
        return;
    }
    switch (Kind()) {
    case LinkUsb:
        ReadUsb();
        break;
    case LinkRs232:
    case LinkCdc:
        ReadSerial();
        break;
    default:
        // Nothing is read for an unknown kind: wait for Stop.
        while (!Terminated()) {
            WaitEvent(-1);
        }
        break;
    }
}

void TFileReadThread::ReadUsb()
{
    using Clock = std::chrono::steady_clock;
    std::uint8_t received[ReportSize];
    std::uint8_t report[ReportSize];
    while (!Terminated()) {
        // Wait until the next report, or until the silence would reach its
        // limit, in one call (but see MaxWaitsAtOnce).
        const int waits = std::clamp(kSilentLimit + 1 - SilentWaits.load(std::memory_order_relaxed),
                                     1, MaxWaitsAtOnce);
        const Clock::time_point start = Clock::now();
        const int got = Handle()->ReadReport(received, sizeof received, waits * UsbWaitMs);
        if (got == 0) {
            // As many 50 ms waits as went by, and at least one.
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            CountSilence(
                std::max(1, static_cast<int>((elapsed.count() + UsbWaitMs / 2) / UsbWaitMs)));
            continue;
        }
        if (got < 0) {
            CountSilence(1);
            Pause(FailurePauseMs);
            continue;
        }
        // hidraw (and hidapi on every system) leaves out the report ID of a device
        // with unnumbered reports, so the keypad's report arrives as 8 bytes; a
        // numbered one keeps its ID and arrives whole.
        std::memset(report, 0, sizeof report);
        int length;
        if (got >= ReportSize) {
            std::memcpy(report, received, ReportSize);
            length = ReportSize;
        } else {
            std::memcpy(report + 1, received, static_cast<size_t>(got));
            length = got + 1;
        }
        SilentWaits.store(0, std::memory_order_relaxed);
        // A count above 7 claims more than the report holds: take the 7 it has.
        const int n = std::min({static_cast<int>(report[1]), MaxReportData, length - 2});
        if (n > 0) {
            Store(report + 2, n);
        }
    }
}

void TFileReadThread::ReadSerial()
{
    std::uint8_t buffer[ReportSize];
    const int fd = Handle()->Fd();
    while (!Terminated()) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {EventFd(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno != EINTR) {
                Pause(FailurePauseMs);
            }
            continue;
        }
        if (fds[1].revents & POLLIN) {
            WaitEvent(0); // consume it; the loop checks for Stop
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                Store(buffer, static_cast<int>(got));
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                // End of file or EIO: the other side of the line has gone.
                Pause(FailurePauseMs);
            }
            continue;
        }
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // A hung-up port reports so on every poll(): wait rather than spin.
            Pause(FailurePauseMs);
        }
    }
}

} // namespace tessaron
