#pragma once

#include <condition_variable>
#include <mutex>

namespace tessaron {

// The pause between the bytes of a download, and the way to stop one: a wait
// that Cancel() ends at once, from any thread.
class TPacer
{
public:
    virtual ~TPacer() = default;

    // Waits ms milliseconds; false when cancelled (before or during the wait).
    virtual bool Pause(int ms);
    void Cancel();
    bool Cancelled() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cancelled;
    bool m_cancel = false;
};

} // namespace tessaron
