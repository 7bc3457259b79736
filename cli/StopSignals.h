#pragma once

#include <csignal>

namespace tessaron::cli {

// SIGINT, SIGTERM and SIGHUP as a descriptor (a signalfd) while the object
// lives. They are blocked first, and threads started later inherit the mask,
// so the kernel hands them to nobody else: a long command (the bridge, a
// download) always ends cleanly. Signals that came are taken when it goes, and
// the old mask comes back.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool valid() const { return m_fd >= 0; }
    // Readable once a stop signal has come.
    int fd() const { return m_fd; }
    // Whether one has come (it stays readable: asking again says yes again).
    bool arrived() const;

private:
    sigset_t m_set;
    sigset_t m_old;
    int m_fd = -1;
};

} // namespace tessaron::cli
