#include "FileThread.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace tessaron {

namespace {

// Each kind's thread names, reader then writer: what the thread is called, and
// the at most 15 characters of it that Linux keeps.
struct TThreadNames
{
    char kind;
    const char* name[2];
    const char* systemName[2];
};
constexpr TThreadNames kNames[] = {
    {LinkUsb, {"USB Read Thread", "USB Write Thread"}, {"USB Read Thread", "USB Write Thrd"}},
    {LinkRs232, {"RS232 Read Thread", "RS232 Write Thread"}, {"RS232 Read Thrd", "RS232 Wrt Thrd"}},
    {LinkCdc, {"CDC Read Thread", "CDC Write Thread"}, {"CDC Read Thread", "CDC Write Thrd"}},
    {0, {"Read Thread", "Write Thread"}, {"Read Thread", "Write Thread"}}, // any other kind
};

const TThreadNames& namesFor(char kind)
{
    const TThreadNames* n = kNames;
    while (n->kind != 0 && n->kind != kind) {
        ++n;
    }
    return *n;
}

} // namespace

TFileThread::TFileThread(TDeviceHandle* handle, char kind, bool writer)
    : m_handle(handle), m_kind(kind), m_name(namesFor(kind).name[writer]),
      m_systemName(namesFor(kind).systemName[writer])
{
    m_event = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_event < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

TFileThread::~TFileThread()
{
    Stop();
    Join();
    ::close(m_event);
}

void TFileThread::Start()
{
    m_thread = std::thread(&TFileThread::Run, this);
}

void TFileThread::Run()
{
    ::pthread_setname_np(::pthread_self(), m_systemName);
    Execute();
    std::lock_guard<std::mutex> lock(m_endLock);
    m_ended = true;
    m_endChanged.notify_all();
}

void TFileThread::Stop()
{
    // Termination is requested before the event is signalled: a loop woken by the
    // event must already see the request, or it would wait again.
    m_terminated.store(true, std::memory_order_release);
    Signal();
}

void TFileThread::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

bool TFileThread::JoinWithin(int milliseconds)
{
    {
        std::unique_lock<std::mutex> lock(m_endLock);
        if (m_thread.joinable() &&
            !m_endChanged.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                   [this] { return m_ended; })) {
            return false;
        }
    }
    Join();
    return true;
}

void TFileThread::Signal()
{
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow, and then it is signalled anyway.
    [[maybe_unused]] ssize_t written = ::write(m_event, &one, sizeof one);
}

bool TFileThread::WaitEvent(int milliseconds)
{
    pollfd event{m_event, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&event, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) {
        return false;
    }
    std::uint64_t value;
    [[maybe_unused]] ssize_t got = ::read(m_event, &value, sizeof value);
    return true;
}

void TFileThread::Pause(int milliseconds)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!Terminated()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        WaitEvent(static_cast<int>(left));
    }
}

} // namespace tessaron
