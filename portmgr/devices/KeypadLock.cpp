#include "KeypadLock.h"

#include "common/SingleInstanceLock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaron {

int LockKeypad(const std::string& identity, bool& held)
{
    held = false;
    std::string error;
    const std::string folder = SingleInstanceLock::lockFolder(error);
    if (folder.empty()) {
        return -1;
    }
    // An identity may hold any character: the file is named by its FNV-1a hash.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : identity) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    char name[40];
    std::snprintf(name, sizeof name, "/keypad-%016llx.lock", static_cast<unsigned long long>(hash));
    const int fd = ::open((folder + name).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
        held = errno == EWOULDBLOCK;
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace tessaron
