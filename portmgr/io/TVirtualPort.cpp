#include "TVirtualPort.h"

#include "PortsLock.h"

#include "common/SuiteFolder.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tessaron {

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// "COM1" to "COM16" without leading zeros; anything else is no port name.
bool validPortName(const std::string& name)
{
    if (name.size() < 4 || name.size() > 5 || name.compare(0, 3, "COM") != 0 || name[3] == '0') {
        return false;
    }
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return false;
        }
        n = n * 10 + (name[i] - '0');
    }
    return n >= kFirstPort && n <= kLastPort;
}

// Field 22 of /proc/<pid>/stat: the process's start time in clock ticks since
// boot. With the pid it names one process for good, even after the pid is reused.
bool processStartTime(long pid, unsigned long long& start)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
    FILE* f = std::fopen(path, "re");
    if (f == nullptr) {
        return false;
    }
    char text[1024];
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    // The command name (field 2) may hold spaces and parentheses: count from the last ')'.
    const char* p = std::strrchr(text, ')');
    if (p == nullptr) {
        return false;
    }
    ++p;
    for (int field = 3; field < 22; ++field) {
        p = std::strchr(p + 1, ' ');
        if (p == nullptr) {
            return false;
        }
    }
    return std::sscanf(p, " %llu", &start) == 1;
}

// A marker names the process that made the link, and the terminal the link
// points at; while the link is being replaced, also the terminal it pointed at
// before (previous), so that a run killed half-way leaves a pair that the next
// start recognises either way.
struct Marker
{
    long pid = 0;
    unsigned long long start = 0;
    std::string slave;
    std::string previous;

    bool names(const std::string& target) const
    {
        return !target.empty() && (target == slave || target == previous);
    }
};

bool readMarker(const std::string& path, Marker& marker)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char text[PATH_MAX + 64];
    ssize_t n;
    do {
        n = ::read(fd, text, sizeof text - 1);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n <= 0) {
        return false;
    }
    text[n] = '\0';
    char slave[PATH_MAX];
    char previous[PATH_MAX];
    const int fields =
        std::sscanf(text, "%ld %llu %4095s %4095s", &marker.pid, &marker.start, slave, previous);
    if (fields < 3) {
        return false;
    }
    marker.slave = slave;
    marker.previous = fields == 4 ? previous : "";
    return true;
}

// exclusive: fails (EEXIST) when a marker is there already, whoever wrote it,
// so that two processes making the same port never overwrite each other's.
bool writeMarker(const std::string& path, const std::string& slave, bool exclusive,
                 const std::string& previous = std::string())
{
    unsigned long long start = 0;
    processStartTime(::getpid(), start);
    char text[2 * PATH_MAX + 64];
    const int len =
        std::snprintf(text, sizeof text, "%ld %llu %s%s%s\n", static_cast<long>(::getpid()), start,
                      slave.c_str(), previous.empty() ? "" : " ", previous.c_str());
    const int fd =
        ::open(path.c_str(),
               O_WRONLY | O_CREAT | (exclusive ? O_EXCL : O_TRUNC) | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    ssize_t n;
    do {
        n = ::write(fd, text, static_cast<size_t>(len));
    } while (n < 0 && errno == EINTR);
    const bool ok = n == len;
    ::close(fd);
    if (!ok) {
        ::unlink(path.c_str());
    }
    return ok;
}

// Whether the process that wrote the marker still runs: the same pid and the
// same start time (after a reboot a service easily gets an earlier run's pid).
bool ownerAlive(const Marker& m)
{
    if (m.pid <= 0) {
        return false;
    }
    unsigned long long start = 0;
    return processStartTime(m.pid, start) && start == m.start;
}

bool markerIsMine(const Marker& m, const std::string& slave)
{
    return m.pid == static_cast<long>(::getpid()) && ownerAlive(m) && m.names(slave);
}

// The link's target, "" when path is not a symbolic link.
std::string linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

// A pseudo-terminal in raw mode with no descriptor of its slave open: the
// master's descriptor (non-blocking), or -1.
int openPseudoTerminal(std::string& slaveName)
{
    termios raw{};
    ::cfmakeraw(&raw);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    int master = -1;
    int slave = -1;
    char name[PATH_MAX];
    if (::openpty(&master, &slave, name, &raw, nullptr) != 0) {
        return -1;
    }
    // Kernel quirk: the master reports POLLHUP only once its slave has been
    // opened and closed again (a slave that was never opened reads as held),
    // and then on every poll until a process opens the slave: each slave open
    // clears the master's "other side closed" state, so the hang-up is not
    // permanent, but nothing should wait on a master without a host (it would
    // wake at once, forever). openpty opens the slave; closing our only
    // descriptor of it now starts the port in the hang-up state. Keeping a
    // slave descriptor ourselves would hide every host's close instead.
    ::close(slave);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    slaveName = name;
    return master;
}

void setRaw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) == 0) {
        ::cfmakeraw(&t);
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &t);
    }
}

} // namespace

std::string TVirtualPort::MarkerPath(const std::string& name)
{
    return SuitePath("ports/." + name + ".owner");
}

TVirtualPort::~TVirtualPort()
{
    Delete();
}

void TVirtualPort::fail(const std::string& what, int error)
{
    m_error = what;
    if (error != 0) {
        m_error += ": ";
        m_error += std::strerror(error);
    }
}

bool TVirtualPort::CreatePort(const std::string& name)
{
    m_error.clear();
    if (!validPortName(name)) {
        fail("\"" + name + "\" is not a port name (COM1 to COM16)", 0);
        return false;
    }
    if (PortCreated()) {
        fail("this object already holds " + m_name, 0);
        return false;
    }
    const TPortsLock lock(TPortsLock::Mode::Exclusive, true);
    if (!lock.Held()) {
        fail(lock.Error(), 0);
        return false;
    }
    const std::string link = SuitePath("ports/" + name);
    struct stat st
    {
    };
    if (::lstat(link.c_str(), &st) == 0) {
        fail(link + " is taken", 0);
        return false;
    }

    std::string slaveName;
    const int master = openPseudoTerminal(slaveName);
    if (master < 0) {
        fail("Unable to open a pseudo-terminal", errno);
        return false;
    }
    const std::string marker = MarkerPath(name);
    // The marker first, then the link: a run killed in between leaves a marker
    // without a link, which ResetBus clears; never a link it cannot tell from
    // one of the user's.
    if (!writeMarker(marker, slaveName, true)) {
        const int error = errno;
        ::close(master);
        fail(error == EEXIST ? link + " is taken" : "Unable to write " + marker,
             error == EEXIST ? 0 : error);
        return false;
    }
    if (::symlink(slaveName.c_str(), link.c_str()) != 0) {
        const int error = errno;
        ::unlink(marker.c_str());
        ::close(master);
        fail(error == EEXIST ? link + " is taken" : "Unable to create " + link,
             error == EEXIST ? 0 : error);
        return false;
    }
    m_master = master;
    m_hostAttached = false;
    m_name = name;
    m_link = link;
    m_slave = slaveName;
    return true;
}

void TVirtualPort::Delete()
{
    if (!PortCreated()) {
        return;
    }
    // Without the lock (held too long by another program) the link goes all
    // the same: only what is still ours is removed, the link first, and no
    // other program removes a live port's pair.
    const TPortsLock lock(TPortsLock::Mode::Exclusive, false);
    // Remove only what is still ours: a user may have replaced the link.
    if (linkTarget(m_link) == m_slave) {
        ::unlink(m_link.c_str());
    }
    const std::string marker = MarkerPath(m_name);
    Marker m;
    if (readMarker(marker, m) && markerIsMine(m, m_slave)) {
        ::unlink(marker.c_str());
    }
    ::close(m_master);
    m_master = -1;
    m_holdover.clear();
    m_hostAttached = false;
    m_openedSnapshot = false;
    m_pendingSnapshot = false;
    m_name.clear();
    m_link.clear();
    m_slave.clear();
}

bool TVirtualPort::PortOpened()
{
    if (!PortCreated()) {
        return false;
    }
    if (m_openedSnapshot) {
        m_openedSnapshot = false;
        noteAttached(m_snapshotAttached);
        return m_snapshotAttached;
    }
    pollfd p{m_master, 0, 0};
    int r;
    do {
        r = ::poll(&p, 1, 0);
    } while (r < 0 && errno == EINTR);
    noteAttached(r >= 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0);
    return m_hostAttached;
}

void TVirtualPort::noteAttached(bool attached)
{
    if (m_hostAttached && !attached) {
        discardHostBound();
    }
    m_hostAttached = attached;
}

void TVirtualPort::PollPorts(TVirtualPort* const* ports, int count)
{
    constexpr int kMaxPolled = 16;
    pollfd fds[kMaxPolled];
    TVirtualPort* polled[kMaxPolled];
    int n = 0;
    for (int i = 0; i < count && n < kMaxPolled; ++i) {
        if (ports[i] != nullptr && ports[i]->PortCreated()) {
            fds[n] = pollfd{ports[i]->m_master, POLLIN, 0};
            polled[n++] = ports[i];
        }
    }
    if (n == 0) {
        return;
    }
    int r;
    do {
        r = ::poll(fds, static_cast<nfds_t>(n), 0);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
        return; // no snapshot: each port asks for itself
    }
    for (int i = 0; i < n; ++i) {
        TVirtualPort& port = *polled[i];
        port.m_snapshotAttached = (fds[i].revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
        port.m_snapshotReadable = (fds[i].revents & POLLIN) != 0;
        port.m_openedSnapshot = true;
        port.m_pendingSnapshot = true;
    }
}

// The slave's input queue outlives a host's close: what the last host did not
// read, or what arrived just as it closed, would be handed to the next host.
// Flush it (through a brief descriptor of our own: the master cannot reach the
// slave's line discipline) and put back the raw settings a host may have changed.
void TVirtualPort::discardHostBound()
{
    ::tcflush(m_master, TCOFLUSH);
    // A host may have left the terminal in exclusive mode (TIOCEXCL, which many
    // serial libraries set): it outlives the host and turns away every later
    // one. A privileged bridge gets in all the same and clears it; any other
    // is turned away too and makes the port afresh instead.
    const int fd = ::open(m_slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::ioctl(fd, TIOCNXCL);
        ::tcflush(fd, TCIFLUSH);
        setRaw(fd);
        ::close(fd);
    } else if (errno == EBUSY) {
        Renew();
    } else {
        setRaw(m_master);
    }
}

bool TVirtualPort::Renew()
{
    if (!PortCreated()) {
        return false;
    }
    const TPortsLock lock(TPortsLock::Mode::Exclusive, false);
    if (!lock.Held()) {
        return false;
    }
    std::string slave;
    const int master = openPseudoTerminal(slave);
    if (master < 0) {
        return false;
    }
    // In this order, so that a run killed at any point leaves a pair that
    // ResetBus recognises: the marker, replaced whole by a rename, names the
    // new terminal and the old one before the link moves; then the link is
    // replaced whole, by a rename too.
    const std::string marker = MarkerPath(m_name);
    const std::string newMarker = marker + ".new";
    const std::string newLink = m_link + ".new";
    ::unlink(newLink.c_str());
    if (!writeMarker(newMarker, slave, false, m_slave) ||
        ::rename(newMarker.c_str(), marker.c_str()) != 0) {
        ::unlink(newMarker.c_str());
        ::close(master);
        return false;
    }
    if (::symlink(slave.c_str(), newLink.c_str()) != 0 ||
        ::rename(newLink.c_str(), m_link.c_str()) != 0) {
        // The marker still names the old terminal, where the link still points.
        ::unlink(newLink.c_str());
        ::close(master);
        return false;
    }
    std::uint8_t buffer[256];
    ssize_t n;
    while ((n = ::read(m_master, buffer, sizeof buffer)) > 0) {
        m_holdover.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
    }
    ::close(m_master);
    m_master = master;
    m_slave = slave;
    return true;
}

int TVirtualPort::Write(const std::uint8_t* bytes, int count)
{
    if (bytes == nullptr || count <= 0) {
        return 0;
    }
    m_openedSnapshot = false; // ask the kernel: bytes must not reach a host that left
    if (!PortOpened()) {
        return 0;
    }
    int done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_master, bytes + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            break; // EAGAIN: the host is not reading; the rest is lost
        }
        done += static_cast<int>(n);
    }
    return done;
}

int TVirtualPort::BytesPending()
{
    if (!PortCreated()) {
        return 0;
    }
    if (!m_holdover.empty()) {
        return static_cast<int>(m_holdover.size());
    }
    if (m_pendingSnapshot) {
        m_pendingSnapshot = false;
        if (!m_snapshotReadable) {
            return 0;
        }
    }
    int n = 0;
    if (::ioctl(m_master, FIONREAD, &n) != 0 || n < 0) {
        return 0;
    }
    return n;
}

int TVirtualPort::Read(std::uint8_t* buffer, int count)
{
    if (buffer == nullptr || count <= 0 || !PortCreated()) {
        return 0;
    }
    if (!m_holdover.empty()) {
        const size_t n = std::min(m_holdover.size(), static_cast<size_t>(count));
        std::memcpy(buffer, m_holdover.data(), n);
        m_holdover.erase(0, n);
        return static_cast<int>(n);
    }
    ssize_t n;
    do {
        n = ::read(m_master, buffer, static_cast<size_t>(count));
    } while (n < 0 && errno == EINTR);
    // EAGAIN: nothing there; EIO: no host and nothing left.
    return n > 0 ? static_cast<int>(n) : 0;
}

bool TVirtualPort::IsVirtualPortLink(const std::string& name, bool& alive)
{
    Marker m;
    alive = false;
    if (!readMarker(MarkerPath(name), m) || !m.names(linkTarget(SuitePath("ports/" + name)))) {
        return false;
    }
    alive = ownerAlive(m);
    return true;
}

int TVirtualPort::ResetBus()
{
    // A ports/ that is missing has nothing to clear; one that is refused is
    // never touched.
    const TPortsLock lock(TPortsLock::Mode::Exclusive, false);
    if (!lock.Held()) {
        return 0;
    }
    int removed = 0;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const std::string name = "COM" + std::to_string(n);
        const std::string marker = MarkerPath(name);
        struct stat st
        {
        };
        if (::lstat(marker.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        Marker m;
        const bool readable = readMarker(marker, m);
        if (readable && ownerAlive(m)) {
            continue; // a live port, ours or another running program's
        }
        // The link goes when the marker names where it points (either terminal
        // of a replacement that was cut short). A marker that cannot be read
        // was cut short by a power cut: a link of it to a pseudo-terminal
        // (what virtual ports are) goes too. Then the halves of a replacement,
        // and the marker last, so that a reset cut short is finished by the next.
        const std::string link = SuitePath("ports/" + name);
        const std::string target = linkTarget(link);
        const bool ours = readable ? m.names(target) : target.rfind("/dev/pts/", 0) == 0;
        if (ours && ::unlink(link.c_str()) == 0) {
            ++removed;
        }
        const std::string newLink = link + ".new";
        if (readable && m.names(linkTarget(newLink))) {
            ::unlink(newLink.c_str());
        }
        ::unlink((marker + ".new").c_str());
        ::unlink(marker.c_str());
    }
    return removed;
}

} // namespace tessaron
