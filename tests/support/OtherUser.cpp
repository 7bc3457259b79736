#include "OtherUser.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tessaron::test {

namespace {

constexpr const char* kName = "tessaron-other";

bool lookUp(OtherUser& user)
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwnam_r(kName, &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
        return false;
    }
    user.uid = entry.pw_uid;
    user.gid = entry.pw_gid;
    user.name = kName;
    user.home = entry.pw_dir;
    return true;
}

} // namespace

bool OtherUser::get(std::string& why)
{
    if (::geteuid() != 0) {
        why = "needs root, to make a second user and run a process as it";
        return false;
    }
    // Test programs running side by side may both make it: whoever loses
    // (the user exists, or /etc/passwd is locked for a moment) looks again.
    for (int attempt = 0; attempt < 20 && !lookUp(*this); ++attempt) {
        [[maybe_unused]] const int status =
            std::system("useradd --system --no-create-home --shell /usr/sbin/nologin "
                        "tessaron-other >/dev/null 2>&1");
        if (!lookUp(*this)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (!lookUp(*this)) {
        why = "no second user: useradd tessaron-other failed";
        return false;
    }
    if (::mkdir(home.c_str(), 0700) == 0 && ::chown(home.c_str(), uid, gid) != 0) {
        why = "the second user's home folder " + home + " cannot be made its own";
        return false;
    }
    return true;
}

OtherUserProcess::OtherUserProcess(const OtherUser& user, const std::string& path)
{
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        return;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Raw system calls: the child of a threaded process changes only itself.
        char c = 'n';
        if (::syscall(SYS_setgroups, 0, nullptr) == 0 &&
            ::syscall(SYS_setresgid, user.gid, user.gid, user.gid) == 0 &&
            ::syscall(SYS_setresuid, user.uid, user.uid, user.uid) == 0 &&
            (path.empty() || ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK) >= 0)) {
            c = 'y';
        }
        (void)!::write(ready[1], &c, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char c = 'n';
    if (pid > 0 && ::read(ready[0], &c, 1) == 1 && c == 'y') {
        m_pid = pid;
    } else if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ::close(ready[0]);
}

OtherUserProcess::~OtherUserProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

} // namespace tessaron::test
