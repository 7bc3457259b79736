// STAND-IN, see PortHolders.h.
#include "PortHolders.h"

#include "common/SuiteFolder.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tessaron {

namespace {

std::string readSmallFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return {};
    }
    char text[4096];
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string();
}

std::string commandName(long pid)
{
    std::string name = readSmallFile("/proc/" + std::to_string(pid) + "/comm");
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) {
        name.pop_back();
    }
    return name;
}

// Field 22 of /proc/<pid>/stat: the start time, which with the pid names one
// process for good.
bool startTime(long pid, unsigned long long& start)
{
    const std::string text = readSmallFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    const char* p = text.c_str() + close + 1;
    for (int field = 3; field < 22; ++field) {
        p = std::strchr(p + 1, ' ');
        if (p == nullptr) {
            return false;
        }
    }
    return std::sscanf(p, " %llu", &start) == 1;
}

// The pseudo-terminal index of /dev/pts/N, -1 for any other device.
int ptsIndex(const struct stat& info)
{
    // Unix98 pty slaves: majors 136 to 143.
    const unsigned major = ::major(info.st_rdev);
    if (!S_ISCHR(info.st_mode) || major < 136 || major > 143) {
        return -1;
    }
    return static_cast<int>((major - 136) * 256 + ::minor(info.st_rdev));
}

bool isNumber(const char* s)
{
    if (*s == '\0') {
        return false;
    }
    for (; *s != '\0'; ++s) {
        if (!std::isdigit(static_cast<unsigned char>(*s))) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<TPortHolder> ProcessesHoldingDevice(const std::string& devicePath)
{
    std::vector<TPortHolder> holders;
    struct stat device;
    if (::stat(devicePath.c_str(), &device) != 0 || !S_ISCHR(device.st_mode)) {
        return holders;
    }
    const int pts = ptsIndex(device);
    const long self = static_cast<long>(::getpid());
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return holders;
    }
    while (dirent* p = ::readdir(proc)) {
        if (!isNumber(p->d_name)) {
            continue;
        }
        const long pid = std::strtol(p->d_name, nullptr, 10);
        if (pid == self) {
            continue;
        }
        const std::string fdFolder = std::string("/proc/") + p->d_name + "/fd";
        DIR* fds = ::opendir(fdFolder.c_str());
        if (fds == nullptr) {
            continue; // gone, or another user's
        }
        bool holds = false;
        bool master = false;
        while (dirent* f = ::readdir(fds)) {
            if (!isNumber(f->d_name)) {
                continue;
            }
            const std::string fdPath = fdFolder + "/" + f->d_name;
            struct stat info;
            if (::stat(fdPath.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) {
                continue;
            }
            if (info.st_rdev == device.st_rdev) {
                holds = true;
                continue;
            }
            if (pts < 0) {
                continue;
            }
            // A master (ptmx) says which terminal it drives in its fdinfo.
            char target[PATH_MAX];
            const ssize_t n = ::readlink(fdPath.c_str(), target, sizeof target - 1);
            if (n <= 0) {
                continue;
            }
            target[n] = '\0';
            if (std::strcmp(target, "/dev/ptmx") != 0 &&
                std::strcmp(target, "/dev/pts/ptmx") != 0) {
                continue;
            }
            const std::string info2 =
                readSmallFile(std::string("/proc/") + p->d_name + "/fdinfo/" + f->d_name);
            const size_t at = info2.find("tty-index:");
            if (at != std::string::npos && std::atoi(info2.c_str() + at + 10) == pts) {
                master = true;
            }
        }
        ::closedir(fds);
        if (holds && !master) {
            holders.push_back({pid, commandName(pid)});
        }
    }
    ::closedir(proc);
    return holders;
}

bool ReadPortOwner(int n, TPortOwner& owner)
{
    const std::string text = readSmallFile(SuitePath("ports/.COM" + std::to_string(n) + ".owner"));
    char slave[PATH_MAX];
    owner = TPortOwner();
    if (text.empty() ||
        std::sscanf(text.c_str(), "%ld %llu %4095s", &owner.Pid, &owner.StartTime, slave) != 3) {
        return false;
    }
    owner.Slave = slave;
    unsigned long long start = 0;
    owner.Alive = owner.Pid > 0 && startTime(owner.Pid, start) && start == owner.StartTime;
    if (owner.Alive) {
        owner.Program = commandName(owner.Pid);
    }
    return true;
}

} // namespace tessaron
