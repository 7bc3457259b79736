#include "Pacer.h"

#include <chrono>

namespace tessaron {

bool TPacer::Pause(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (ms > 0) {
        m_cancelled.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_cancel; });
    }
    return !m_cancel;
}

void TPacer::Cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancel = true;
    }
    m_cancelled.notify_all();
}

bool TPacer::Cancelled() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cancel;
}

} // namespace tessaron
