#pragma once

#include <string>

namespace tessaron {

// What a second copy of Corvandelle (or a second `tessaron bridge`) says.
inline constexpr const char* kAlreadyRunningMessage = "Corvandelle is already running!";

// A per-user single-instance lock: flock() on "<name>.lock" in the user's
// runtime place (see RuntimePlace), which depends only on the user id, so two
// copies can never both hold it. The kernel drops the lock when its holder
// ends, however it ends, so a crashed run never blocks the next one. The lock
// is held by this object's open file: a second object, in this process or
// another, does not get it while the first one holds it.
//
// When the runtime place is the login manager's /run/user/<uid>, the lock is
// taken in the home folder's place as well: a copy started before the user
// logged in (cron at boot) chose that place, and a copy started in the session
// must still meet it.
class SingleInstanceLock
{
public:
    enum class Result
    {
        Acquired,
        AlreadyHeld, // another holder has it
        Failed,      // no lock folder or file could be used; see error()
    };

    explicit SingleInstanceLock(std::string name = "Corvandelle");
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    Result acquire();
    void release();
    bool held() const { return m_fd >= 0; }

    // The lock file (set by acquire) and the reason of a failure.
    const std::string& path() const { return m_path; }
    const std::string& error() const { return m_error; }

    // The folder the lock files live in (RuntimePlace::OfThisUser), made when
    // missing. "" with error set (the path and what to do) when it cannot be used.
    static std::string lockFolder(std::string& error);

private:
    std::string m_name;
    std::string m_path;
    std::string m_error;
    int m_fd = -1;
    int m_homeFd = -1;
};

} // namespace tessaron
