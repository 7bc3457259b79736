#include "SingleInstanceLock.h"

#include "RuntimePlace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaron {

namespace {

enum class Locked
{
    Yes,
    Held,
    Failed,
};

// flock() without waiting on path; fd is the open file when locked.
Locked lockFile(const std::string& path, int& fd, std::string& error)
{
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "Unable to open " + path + ": " + std::strerror(errno);
        return Locked::Failed;
    }
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
        const int reason = errno;
        ::close(fd);
        fd = -1;
        if (reason == EWOULDBLOCK) {
            return Locked::Held;
        }
        error = "Unable to lock " + path + ": " + std::strerror(reason);
        return Locked::Failed;
    }
    return Locked::Yes;
}

void unlockFile(int& fd)
{
    if (fd >= 0) {
        // The file stays: removing it could let a third copy lock a new file
        // while a second one still waits on the old one.
        ::flock(fd, LOCK_UN);
        ::close(fd);
        fd = -1;
    }
}

} // namespace

SingleInstanceLock::SingleInstanceLock(std::string name) : m_name(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

std::string SingleInstanceLock::lockFolder(std::string& error)
{
    const RuntimePlace place = RuntimePlace::OfThisUser();
    if (!place.usable()) {
        error = place.error();
    }
    return place.folder();
}

SingleInstanceLock::Result SingleInstanceLock::acquire()
{
    if (held()) {
        return Result::Acquired;
    }
    m_error.clear();
    const RuntimePlace place = RuntimePlace::OfThisUser();
    if (!place.usable()) {
        m_error = place.error();
        return Result::Failed;
    }
    m_path = place.folder() + "/" + m_name + ".lock";
    switch (lockFile(m_path, m_fd, m_error)) {
    case Locked::Yes:
        break;
    case Locked::Held:
        return Result::AlreadyHeld;
    case Locked::Failed:
        return Result::Failed;
    }
    if (place.inLoginRuntime()) {
        // A home folder that cannot hold the lock (read-only, missing) only
        // means that no copy without a session can have taken it there.
        const RuntimePlace home = RuntimePlace::HomeOfThisUser();
        std::string ignored;
        if (home.usable() &&
            lockFile(home.folder() + "/" + m_name + ".lock", m_homeFd, ignored) == Locked::Held) {
            unlockFile(m_fd);
            return Result::AlreadyHeld;
        }
    }
    return Result::Acquired;
}

void SingleInstanceLock::release()
{
    unlockFile(m_homeFd);
    unlockFile(m_fd);
}

} // namespace tessaron
