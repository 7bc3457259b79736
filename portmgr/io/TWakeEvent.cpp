#include "TWakeEvent.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tessaron {

TWakeEvent::TWakeEvent() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TWakeEvent::~TWakeEvent()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void TWakeEvent::Signal()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
}

bool TWakeEvent::Clear()
{
    std::uint64_t count = 0;
    return ::read(m_fd, &count, sizeof count) == sizeof count && count > 0;
}

} // namespace tessaron
