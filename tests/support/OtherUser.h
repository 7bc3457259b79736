#pragma once

#include <string>
#include <sys/types.h>

namespace tessaron::test {

// A second local user, for tests of what belongs to another user:
// "tessaron-other", made with useradd on first use and kept for later runs
// (a system user without a shell; its home folder is made when missing). Only
// root may make it and run processes as it.
struct OtherUser
{
    uid_t uid = 0;
    gid_t gid = 0;
    std::string name;
    std::string home;

    // False, with why set (the reason a test skips), when there is none to be had.
    bool get(std::string& why);
};

// A process of another user that holds path open (or, with path empty, only
// runs) until the object goes.
class OtherUserProcess
{
public:
    OtherUserProcess(const OtherUser& user, const std::string& path);
    ~OtherUserProcess();
    OtherUserProcess(const OtherUserProcess&) = delete;
    OtherUserProcess& operator=(const OtherUserProcess&) = delete;

    // It runs (and holds path open).
    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

} // namespace tessaron::test
