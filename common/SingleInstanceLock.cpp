#include "SingleInstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaron {

namespace {

// A folder that only this user can change: a real directory (not a link),
// owned by the user, writable by nobody else. Anything less would let another
// user hold or steal the lock.
bool privateFolder(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

SingleInstanceLock::SingleInstanceLock(std::string name) : m_name(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

std::string SingleInstanceLock::lockFolder(std::string& error)
{
    const char* own = std::getenv("TESSARON_LOCK_DIR");
    const std::string folder = (own != nullptr && own[0] == '/')
                                   ? std::string(own)
                                   : "/tmp/tessaron-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "Unable to create " + folder + ": " + std::strerror(errno);
        return {};
    }
    if (!privateFolder(folder)) {
        error = folder + " is not a private folder of this user";
        return {};
    }
    return folder;
}

SingleInstanceLock::Result SingleInstanceLock::acquire()
{
    if (held()) {
        return Result::Acquired;
    }
    m_error.clear();
    const std::string folder = lockFolder(m_error);
    if (folder.empty()) {
        return Result::Failed;
    }
    m_path = folder + "/" + m_name + ".lock";
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = "Unable to open " + m_path + ": " + std::strerror(errno);
        return Result::Failed;
    }
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return Result::AlreadyHeld;
        }
        m_error = "Unable to lock " + m_path + ": " + std::strerror(error);
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}

void SingleInstanceLock::release()
{
    if (m_fd >= 0) {
        // The file stays: removing it could let a third copy lock a new file
        // while a second one still waits on the old one.
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace tessaron
