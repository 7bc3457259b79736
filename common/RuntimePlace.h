#pragma once

#include <string>
#include <sys/types.h>

namespace tessaron {

// The per-user folder of the single-instance lock, the keypad locks and
// Corvandelle's command socket. It depends on the user id only, never on the
// environment (cron, su and services lack XDG_RUNTIME_DIR and HOME or have
// others), so every copy of the programs a user runs meets the same locks:
//   - /run/user/<uid>/tessaron when the login manager's runtime folder
//     /run/user/<uid> exists, belongs to the user and has mode 0700;
//   - otherwise <home>/.local/state/tessaron, with the home folder that the
//     password database gives (no log-in session: cron, su, a package check).
// Never /tmp, where another user could take the name first. The folder is made
// (mode 0700) when missing and refused when it is not a private folder of the
// user; the error then names the path and what to do.
//
// Age-based cleaners never remove the locks or the socket while a program
// runs: systemd-tmpfiles does not age /run/user/<uid> (logind makes and
// removes it with the user's sessions), and ~/.local/state is no temporary
// folder that any cleaner looks at.
class RuntimePlace
{
public:
    // The choice for user uid, with runUserRoot in place of /run/user and home
    // the user's home folder from the password database ("" when there is none).
    static RuntimePlace Choose(uid_t uid, const std::string& runUserRoot, const std::string& home);
    // <home>/.local/state/tessaron alone, made with its parents when missing.
    static RuntimePlace InHome(uid_t uid, const std::string& home);

    // For this process's user. TESSARON_LOCK_DIR, when it names an absolute
    // path, takes the place of both (a test-only override: tests run copies of
    // the programs side by side, each with locks of its own).
    static RuntimePlace OfThisUser();
    // The place in this user's home folder, whether or not OfThisUser chose
    // it; not usable under TESSARON_LOCK_DIR.
    static RuntimePlace HomeOfThisUser();

    // The home folder that the password database gives uid, "" when none.
    static std::string PasswdHome(uid_t uid);

    bool usable() const { return !m_folder.empty(); }
    // The folder, "" when it cannot be used.
    const std::string& folder() const { return m_folder; }
    // Why it cannot be used, naming the path and what to do.
    const std::string& error() const { return m_error; }
    // Whether the folder is inside the login manager's runtime folder.
    bool inLoginRuntime() const { return m_loginRuntime; }

private:
    static RuntimePlace make(uid_t uid, const std::string& folder);

    std::string m_folder;
    std::string m_error;
    bool m_loginRuntime = false;
};

} // namespace tessaron
