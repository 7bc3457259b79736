#include "RuntimePlace.h"

#include "PrivateFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessaron {

namespace {

const char* lockDirOverride()
{
    const char* own = std::getenv("TESSARON_LOCK_DIR");
    return (own != nullptr && own[0] == '/') ? own : nullptr;
}

// What the user can do about a folder that is there but not private.
std::string advice(const PrivateFolder& check)
{
    if (check.verdict() == PrivateFolder::Verdict::WritableByOthers) {
        return "Make it private: chmod 700 '" + check.path() + "'";
    }
    return "Move it away or remove it (as root if need be); it is made afresh at the next start";
}

} // namespace

RuntimePlace RuntimePlace::make(uid_t uid, const std::string& folder)
{
    RuntimePlace place;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        place.m_error = "Unable to create " + folder + ": " + std::strerror(errno) +
                        ". Make it a folder of your own: mkdir -p -m 700 '" + folder + "'";
        return place;
    }
    const PrivateFolder check = PrivateFolder::Check(folder, uid);
    if (!check.isPrivate()) {
        place.m_error = check.problem() + ". " + advice(check);
        return place;
    }
    place.m_folder = folder;
    return place;
}

RuntimePlace RuntimePlace::InHome(uid_t uid, const std::string& home)
{
    if (home.empty() || home[0] != '/') {
        RuntimePlace place;
        place.m_error = "user id " + std::to_string(uid) +
                        " has no home folder in the password database and no /run/user/" +
                        std::to_string(uid) + " of a log-in session. Give the user a home folder";
        return place;
    }
    std::string base = home;
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    if (base == "/") {
        base.clear();
    }
    // The home folder itself is never made; the folders below it are the
    // user's own, private as the XDG base directory rules ask.
    for (const char* sub : {"/.local", "/.local/state"}) {
        const std::string parent = base + sub;
        if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) {
            RuntimePlace place;
            place.m_error = "Unable to create " + parent + ": " + std::strerror(errno) +
                            ". Make it a folder of your own: mkdir -p -m 700 '" + base +
                            "/.local/state/tessaron'";
            return place;
        }
    }
    return make(uid, base + "/.local/state/tessaron");
}

RuntimePlace RuntimePlace::Choose(uid_t uid, const std::string& runUserRoot,
                                  const std::string& home)
{
    // logind makes /run/user/<uid> for the user's first session, owned by the
    // user with mode 0700; anything else there is not to be trusted.
    const std::string runtime = runUserRoot + "/" + std::to_string(uid);
    struct stat st
    {
    };
    if (::lstat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
        (st.st_mode & 07777) == 0700) {
        RuntimePlace place = make(uid, runtime + "/tessaron");
        place.m_loginRuntime = true;
        return place;
    }
    return InHome(uid, home);
}

std::string RuntimePlace::PasswdHome(uid_t uid)
{
    struct passwd entry;
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

RuntimePlace RuntimePlace::OfThisUser()
{
    if (const char* own = lockDirOverride()) {
        return make(::getuid(), own);
    }
    const uid_t uid = ::getuid();
    return Choose(uid, "/run/user", PasswdHome(uid));
}

RuntimePlace RuntimePlace::HomeOfThisUser()
{
    if (lockDirOverride() != nullptr) {
        return {};
    }
    const uid_t uid = ::getuid();
    return InHome(uid, PasswdHome(uid));
}

} // namespace tessaron
