#include "UucpLock.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tessaron {

namespace {

constexpr size_t kNames = 5;

// The name of device's lock below /dev: "ttyUSB0", "pts_3".
std::string standardName(const std::string& device)
{
    std::string name = device.rfind("/dev/", 0) == 0 ? device.substr(5) : device;
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    return name;
}

std::string lastPart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every name a program may have given the lock, each once.
std::array<std::string, kNames> lockNames(const std::string& device, const std::string& reachedBy)
{
    std::array<std::string, kNames> names;
    size_t count = 0;
    const auto add = [&](std::string name) {
        for (size_t i = 0; i < count; ++i) {
            if (names[i] == name) {
                return;
            }
        }
        if (!name.empty() && count < kNames) {
            names[count++] = std::move(name);
        }
    };
    add("LCK.." + standardName(device));
    add("LCK.." + lastPart(device));
    if (reachedBy.rfind("/dev/", 0) == 0) {
        add("LCK.." + standardName(reachedBy));
    }
    if (!reachedBy.empty()) {
        add("LCK.." + lastPart(reachedBy));
    }
    struct stat st
    {
    };
    if (::stat(device.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) {
        char svr4[48];
        std::snprintf(svr4, sizeof svr4, "LK.%03u.%03u.%03u", major(st.st_dev), major(st.st_rdev),
                      minor(st.st_rdev));
        add(svr4);
    }
    return names;
}

// The process a lock file names: ASCII digits after any spaces, or the four
// bytes of a binary int. 0 when it names none (or does not exist), -1 when it
// exists but cannot be read.
pid_t lockHolder(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES ? -1 : 0;
    }
    struct stat st
    {
    };
    char text[32];
    ssize_t n = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        do {
            n = ::read(fd, text, sizeof text);
        } while (n < 0 && errno == EINTR);
    }
    ::close(fd);
    if (n <= 0) {
        return 0;
    }
    bool ascii = true;
    for (ssize_t i = 0; i < n && ascii; ++i) {
        ascii = (text[i] >= '0' && text[i] <= '9') || text[i] == ' ' || text[i] == '\n';
    }
    if (n == sizeof(int) && !ascii) {
        int binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary > 0 ? static_cast<pid_t>(binary) : 0;
    }
    long pid = 0;
    ssize_t i = 0;
    while (i < n && text[i] == ' ') {
        ++i;
    }
    for (; i < n && text[i] >= '0' && text[i] <= '9' && pid < 100000000L; ++i) {
        pid = pid * 10 + (text[i] - '0');
    }
    return static_cast<pid_t>(pid);
}

} // namespace

TUucpLock& TUucpLock::operator=(TUucpLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_path = std::move(other.m_path);
        other.m_path.clear();
    }
    return *this;
}

std::string TUucpLock::Folder()
{
    const char* own = std::getenv("TESSARON_UUCP_LOCK_DIR");
    return (own != nullptr && own[0] == '/') ? std::string(own) : std::string("/run/lock");
}

bool TUucpLock::ProcessAlive(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

pid_t TUucpLock::Holder(const std::string& device, const std::string& reachedBy,
                        std::string* lockFile)
{
    const std::string folder = Folder() + "/";
    for (const std::string& name : lockNames(device, reachedBy)) {
        if (name.empty()) {
            break;
        }
        const pid_t pid = lockHolder(folder + name);
        if (pid == -1 || ProcessAlive(pid)) {
            if (lockFile != nullptr) {
                *lockFile = folder + name;
            }
            return pid;
        }
    }
    return 0;
}

bool TUucpLock::Take(const std::string& device, const std::string& reachedBy, pid_t& holder,
                     std::string* lockFile)
{
    Release();
    holder = Holder(device, reachedBy, lockFile);
    if (holder != 0) {
        return false;
    }
    const std::string path = Folder() + "/LCK.." + standardName(device);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        // Another program may have taken it since the look above.
        const pid_t now = errno == EEXIST ? lockHolder(path) : 0;
        if (now == -1 || ProcessAlive(now)) {
            holder = now;
            if (lockFile != nullptr) {
                *lockFile = path;
            }
            return false;
        }
        return true; // no folder we may write to, or a stale lock: go on without
    }
    // Whatever the umask (a hardened service has 0077), every user's programs
    // must be able to read who holds the device.
    ::fchmod(fd, 0644);
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(::getpid()));
    ssize_t written;
    do {
        written = ::write(fd, text, static_cast<size_t>(length));
    } while (written < 0 && errno == EINTR);
    ::close(fd);
    if (written != length) {
        ::unlink(path.c_str());
        return true;
    }
    m_path = path;
    return true;
}

void TUucpLock::Release()
{
    if (m_path.empty()) {
        return;
    }
    if (lockHolder(m_path) == ::getpid()) {
        ::unlink(m_path.c_str());
    }
    m_path.clear();
}

} // namespace tessaron
