#pragma once

#include <string>
#include <sys/types.h>

namespace tessaron {

// The one lock over ports/ of the suite folder. Every change to its links and
// owner markers (creating, replacing and deleting a virtual port, clearing
// what runs that died left) holds it exclusively; the serial probe holds it
// shared from its look at a link until the device behind it is open, so that
// no port is made under its feet. Every program of the suite takes it:
// Corvandelle, `tessaron bridge`, `tessaron keypads` and the sibling programs.
//
// It is flock() on ports/.lock, a file that only its owner may open. A lock on
// the folder's own descriptor would do the same, but anyone who may list the
// folder may open it, and so hold the lock for ever. The kernel drops a lock
// when its holder ends, however it ends: a killed bridge never blocks the next.
//
// ports/ is checked before it is used: a folder (or a link to one) owned by
// this user that nobody else may write to. Links there are opened as serial
// ports and their keystrokes forwarded, so a folder that another user may
// change is refused, with the reason in Error().
class TPortsLock
{
public:
    enum class Mode
    {
        Shared,
        Exclusive,
    };

    // Checks ports/ (making it first when create is set and it is missing)
    // and waits a moment at most for the lock.
    TPortsLock(Mode mode, bool create);
    ~TPortsLock();
    TPortsLock(const TPortsLock&) = delete;
    TPortsLock& operator=(const TPortsLock&) = delete;

    bool Held() const { return m_fd >= 0; }
    // ports/ does not exist (and create was not set): there is nothing to lock.
    bool Missing() const { return m_missing; }
    // Why the lock is not held: the folder is refused, or cannot be made or locked.
    const std::string& Error() const { return m_error; }

    // "" when folder may be used as ports/; otherwise why not, in a sentence.
    static std::string CheckFolder(const std::string& folder);

    // How long a lock that another program holds is waited for (it is only
    // ever held for a few file operations).
    static constexpr int kWaitMs = 3000;

private:
    int m_fd = -1;
    bool m_missing = false;
    std::string m_error;
};

// The user's login name for messages, or "uid <n>" when it has none.
std::string UserName(uid_t uid);

} // namespace tessaron
