#include "PortsLock.h"

#include "common/PrivateFolder.h"
#include "common/SuiteFolder.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tessaron {

std::string UserName(uid_t uid)
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        entry.pw_name != nullptr && entry.pw_name[0] != '\0') {
        return entry.pw_name;
    }
    return "uid " + std::to_string(uid);
}

std::string TPortsLock::CheckFolder(const std::string& folder)
{
    // Where links lead: a link to a folder of the user's own is as good.
    char real[PATH_MAX];
    if (::realpath(folder.c_str(), real) == nullptr) {
        return folder + " cannot be used: " + std::strerror(errno) + ".";
    }
    const PrivateFolder check = PrivateFolder::Check(real, ::getuid());
    switch (check.verdict()) {
    case PrivateFolder::Verdict::Private:
        return {};
    case PrivateFolder::Verdict::OtherOwner:
        return folder + " belongs to " + UserName(check.owner()) +
               ", not to you, so no port in it is used. Remove it; it is made afresh.";
    case PrivateFolder::Verdict::WritableByOthers: {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(check.mode()));
        return folder + " may be changed by other users (mode " + mode +
               "), so no port in it is used. Make it yours alone: chmod go-w '" + folder + "'";
    }
    default:
        return folder + " is not a folder, so no port in it is used.";
    }
}

TPortsLock::TPortsLock(Mode mode, bool create)
{
    const std::string folder = SuitePath("ports");
    struct stat st
    {
    };
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT || !create) {
            m_missing = errno == ENOENT;
            if (!m_missing) {
                m_error = folder + " cannot be used: " + std::strerror(errno) + ".";
            }
            return;
        }
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            m_error = "Unable to create " + folder + ": " + std::strerror(errno);
            return;
        }
    }
    m_error = CheckFolder(folder);
    if (!m_error.empty()) {
        return;
    }
    const std::string path = folder + "/.lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = "Unable to open " + path + ": " + std::strerror(errno);
        return;
    }
    const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    // Polled rather than blocking: a holder that was stopped (Ctrl+Z) must not
    // hang a bridge for ever.
    while (::flock(fd, operation) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= end) {
            m_error = errno == EWOULDBLOCK ? path + " is held by another program of the suite"
                                           : "Unable to lock " + path + ": " + std::strerror(errno);
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_fd = fd;
}

TPortsLock::~TPortsLock()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

} // namespace tessaron
