#pragma once

namespace tessaron {

// An eventfd that worker threads signal to wake an event loop. It must outlive
// every thread that may signal it.
class TWakeEvent
{
public:
    TWakeEvent();
    ~TWakeEvent();
    TWakeEvent(const TWakeEvent&) = delete;
    TWakeEvent& operator=(const TWakeEvent&) = delete;

    int Fd() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Signal();
    // Takes every signal given so far; true when there was one.
    bool Clear();

private:
    int m_fd = -1;
};

} // namespace tessaron
