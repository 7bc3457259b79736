#include "PortHolders.h"

#include "common/AtomicFile.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaron {

namespace {

// The descriptor's target when it is a node under /dev: only those are looked
// at, so a descriptor on a hung network file system never blocks the search.
bool holdsDevice(const std::string& fdPath, dev_t device)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(fdPath.c_str(), target, sizeof target - 1);
    if (n <= 5) {
        return false;
    }
    target[n] = '\0';
    struct stat st
    {
    };
    return std::strncmp(target, "/dev/", 5) == 0 && ::stat(target, &st) == 0 &&
           S_ISCHR(st.st_mode) && st.st_rdev == device;
}

bool processHolds(const std::string& pid, dev_t device)
{
    const std::string folder = "/proc/" + pid + "/fd";
    DIR* fds = ::opendir(folder.c_str());
    if (fds == nullptr) {
        return false; // gone, or another user's
    }
    bool found = false;
    while (dirent* e = ::readdir(fds)) {
        if (e->d_name[0] != '.' && holdsDevice(folder + "/" + e->d_name, device)) {
            found = true;
            break;
        }
    }
    ::closedir(fds);
    return found;
}

} // namespace

std::string DescribeProcess(pid_t pid)
{
    const std::string id = std::to_string(pid);
    std::string command;
    ReadWholeFile("/proc/" + id + "/comm", command);
    while (!command.empty() && command.back() == '\n') {
        command.pop_back();
    }
    return (command.empty() ? std::string("a program") : command) + " (pid " + id + ")";
}

pid_t FindPortHolder(const std::string& path, std::string& who)
{
    who.clear();
    struct stat port
    {
    };
    if (::stat(path.c_str(), &port) != 0 || !S_ISCHR(port.st_mode)) {
        return 0;
    }
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return 0;
    }
    const std::string self = std::to_string(::getpid());
    pid_t holder = 0;
    while (dirent* e = ::readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(e->d_name[0])) || self == e->d_name) {
            continue;
        }
        if (processHolds(e->d_name, port.st_rdev)) {
            holder = static_cast<pid_t>(std::stol(e->d_name));
            who = DescribeProcess(holder);
            break;
        }
    }
    ::closedir(proc);
    return holder;
}

} // namespace tessaron
