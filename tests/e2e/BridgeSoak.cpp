// Soak test of `tessaron bridge` (scripts/soak-bridge.sh runs it): six
// simulated keypads unplugged and replugged at random, hosts that open, write,
// read and close their ports at random, and traffic both ways.
//
// Every byte sent while both ends stay connected must arrive once and in
// order. What was in flight when an end left abruptly may be lost, but never
// duplicated, reordered or handed to a later connection; bytes sent while an
// end was gone must never arrive at all. At the end the bridge's descriptors,
// threads and memory must be back where they were after the warm-up, and the
// bridge must stop cleanly, leaving no port behind and nothing on its
// standard error (where the sanitizers report).
//
// Usage: bridge_soak [--seconds N] [--seed S]
#include "tests/support/TempHome.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <random>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tessaron::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kChannels = 6;
// Counted bytes cycle through this alphabet (no '@', which starts a keypad
// command, and no '\', which the simulated keypads' commands unescape).
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr long kAlphabetSize = sizeof kAlphabet - 1;
// Bytes in flight per direction stay below the alphabet's size, so that a
// byte's place in the stream is never in doubt.
constexpr long kMaxInFlight = 48;
constexpr int kDrainMs = 8000; // generous: the bridge may run under a sanitizer
constexpr int kSettleMs = 300;
// After an abrupt leave, bytes that were on their way may still arrive for
// this long; later the stream goes on after them.
constexpr int kStragglersMs = 1000;

std::string g_failure;
const bool g_trace = std::getenv("TESSARON_SOAK_TRACE") != nullptr;

// With TESSARON_SOAK_TRACE set, every action and log line goes to standard error.
void trace(int channel, const std::string& what)
{
    if (g_trace) {
        static const Clock::time_point start = Clock::now();
        std::fprintf(stderr, "%8.3f %d %s\n",
                     std::chrono::duration<double>(Clock::now() - start).count(), channel + 1,
                     what.c_str());
    }
}

void fail(const std::string& why)
{
    if (g_failure.empty()) {
        g_failure = why;
        std::fprintf(stderr, "soak: FAILED: %s\n", why.c_str());
    }
}

// One direction of one channel.
struct Stream
{
    long sent = 0;
    long received = 0;
    long lossEnd = 0; // bytes before this one may have been lost
    long lost = 0;
    Clock::time_point abruptAt{};

    char Next() { return kAlphabet[sent++ % kAlphabetSize]; }
    long InFlight() const { return sent - received; }
    // Counted bytes may be sent once what an abrupt leave put in doubt is settled.
    bool Clear() const { return received >= lossEnd; }
    // An end left while bytes were on their way.
    void Abrupt()
    {
        lossEnd = sent;
        abruptAt = Clock::now();
    }
    // What has not come by now never comes.
    void Settle()
    {
        if (received < lossEnd &&
            Clock::now() - abruptAt > std::chrono::milliseconds(kStragglersMs)) {
            lost += lossEnd - received;
            received = lossEnd;
        }
    }

    void Accept(char b, const std::string& where)
    {
        if (std::strchr(kAlphabet, b) == nullptr || b == '\0') {
            fail(where + ": a byte that was sent while an end was gone arrived: " +
                 std::to_string(static_cast<unsigned char>(b)));
            return;
        }
        // A gap is allowed only over bytes that were in flight when an end left.
        const long last = std::min(received < lossEnd ? lossEnd : received, sent - 1);
        for (long q = received; q <= last; ++q) {
            if (kAlphabet[q % kAlphabetSize] == b) {
                lost += q - received;
                received = q + 1;
                return;
            }
        }
        fail(where + ": byte " + std::string(1, b) + " out of order, duplicated or never sent (" +
             std::to_string(received) + " of " + std::to_string(sent) + " received)");
        received = sent; // report once
    }
    long Verified() const { return received - lost; }
};

struct Channel
{
    int host = -1;
    bool plugged = true;
    bool keypadOpen = false; // the bridge has it open since it was plugged in
    bool hostSeen = false;   // as the bridge's log says
    Clock::time_point settled{};
    Stream toHost;
    Stream toKeypad;
};

class Bridge
{
public:
    bool Start(const std::string& home, const std::string& lockDir)
    {
        m_control = lockDir + "/fakehid.sock";
        const std::string setup = home + "/keypads.txt";
        std::string keypads;
        std::string ini = "[Port Settings]\r\n";
        for (int i = 1; i <= kChannels; ++i) {
            keypads += "add 16c0:0604 sim-" + std::to_string(i) + "\n";
            ini += "COM_Assignment_" + std::to_string(i) + "=" + std::to_string(i) + "\r\nGUID_" +
                   std::to_string(i) + "=sim-" + std::to_string(i) + "\r\n";
        }
        WriteFile(setup, keypads);
        WriteFile(home + "/Corvandelle.ini", ini);
        int out[2];
        int err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
            return false;
        }
        ::setenv("TESSARON_HOME", home.c_str(), 1);
        ::setenv("TESSARON_LOCK_DIR", lockDir.c_str(), 1);
        ::setenv("TESSARON_HIDAPI", TESSARON_FAKEHID_LIBRARY, 1);
        ::setenv("TESSARON_FAKEHID_SETUP", setup.c_str(), 1);
        ::setenv("TESSARON_FAKEHID_CONTROL", m_control.c_str(), 1);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::execl(TESSARON_TOOL, TESSARON_TOOL, "bridge", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        m_out = out[0];
        m_err = err[0];
        ::fcntl(m_out, F_SETFL, O_NONBLOCK);
        ::fcntl(m_err, F_SETFL, O_NONBLOCK);
        return m_pid > 0;
    }

    // Log lines that came since the last call.
    std::vector<std::string> Lines()
    {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(m_out, buffer, sizeof buffer)) > 0) {
            m_partial.append(buffer, static_cast<size_t>(n));
        }
        while ((n = ::read(m_err, buffer, sizeof buffer)) > 0) {
            m_stderr.append(buffer, static_cast<size_t>(n));
        }
        std::vector<std::string> lines;
        size_t end;
        while ((end = m_partial.find('\n')) != std::string::npos) {
            lines.push_back(m_partial.substr(0, end));
            m_partial.erase(0, end + 1);
        }
        return lines;
    }

    // One command to the simulated keypads; the reply lines before "ok".
    std::vector<std::string> Command(const std::string& line)
    {
        if (m_socket < 0) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::snprintf(address.sun_path, sizeof address.sun_path, "%s", m_control.c_str());
            for (int attempt = 0; attempt < 1000 && m_socket < 0; ++attempt) {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                    m_socket = fd;
                } else {
                    ::close(fd);
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
            if (m_socket < 0) {
                fail("no control socket at " + m_control);
                return {};
            }
        }
        const std::string sent = line + "\n";
        if (::write(m_socket, sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) {
            fail("control socket: " + line);
            return {};
        }
        std::vector<std::string> reply;
        std::string pending;
        char buffer[4096];
        for (;;) {
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                std::string l = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (l == "ok" || l.rfind("error:", 0) == 0) {
                    return reply;
                }
                reply.push_back(std::move(l));
            }
            pollfd p{m_socket, POLLIN, 0};
            if (::poll(&p, 1, 30000) <= 0) {
                fail("no reply to " + line);
                return reply;
            }
            const ssize_t n = ::read(m_socket, buffer, sizeof buffer);
            if (n <= 0) {
                fail("control socket closed at " + line);
                return reply;
            }
            pending.append(buffer, static_cast<size_t>(n));
        }
    }

    bool Alive()
    {
        int status = 0;
        if (m_pid > 0 && ::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_status = status;
            return false;
        }
        return m_pid > 0;
    }
    // SIGTERM, then its exit status (-1: killed by a signal, or it hung).
    int Stop()
    {
        if (m_socket >= 0) {
            ::close(m_socket);
            m_socket = -1;
        }
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            const auto end = Clock::now() + std::chrono::seconds(30);
            while (Alive() && Clock::now() < end) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (m_pid > 0) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &m_status, 0);
                m_pid = -1;
                return -1;
            }
        }
        Lines();
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }
    pid_t Pid() const { return m_pid; }
    const std::string& Stderr() const { return m_stderr; }

private:
    pid_t m_pid = -1;
    int m_status = 0;
    int m_out = -1;
    int m_err = -1;
    int m_socket = -1;
    std::string m_control;
    std::string m_partial;
    std::string m_stderr;
};

struct Usage
{
    int fds = 0;
    int threads = 0;
    long rssKb = 0;
};

Usage usageOf(pid_t pid)
{
    Usage u;
    const std::string proc = "/proc/" + std::to_string(pid);
    if (DIR* d = ::opendir((proc + "/fd").c_str())) {
        while (dirent* e = ::readdir(d)) {
            u.fds += e->d_name[0] != '.' ? 1 : 0;
        }
        ::closedir(d);
    }
    const std::string status = ReadFile(proc + "/status");
    const auto field = [&status](const char* name) {
        const size_t at = status.find(name);
        return at == std::string::npos ? 0L : std::atol(status.c_str() + at + std::strlen(name));
    };
    u.threads = static_cast<int>(field("Threads:"));
    u.rssKb = field("VmRSS:");
    return u;
}

class Soak
{
public:
    Soak(Bridge& bridge, std::string home, unsigned seed)
        : m_bridge(bridge), m_home(std::move(home)), m_rng(seed)
    {
    }

    // Until bridging runs with every keypad open.
    void WaitStarted()
    {
        const auto end = Clock::now() + std::chrono::seconds(30);
        while (!m_running && g_failure.empty()) {
            if (Clock::now() > end) {
                fail("the bridge did not start bridging:\n" + m_bridge.Stderr());
                return;
            }
            Step();
        }
        WaitFor(
            [&] {
                return std::all_of(m_ch, m_ch + kChannels,
                                   [](const Channel& ch) { return ch.keypadOpen; });
            },
            "every keypad opened");
        // Bytes move from the first tick on, which may come a second after the start.
        const auto firstTick = Clock::now() + std::chrono::milliseconds(1500);
        while (Clock::now() < firstTick) {
            Step();
        }
    }

    // Random actions until end.
    void Run(Clock::time_point end)
    {
        while (Clock::now() < end && g_failure.empty()) {
            Step();
            Act(static_cast<int>(m_rng() % kChannels));
        }
    }

    // All keypads plugged in and open, every host gone, nothing moving.
    void Quiesce()
    {
        for (int c = 0; c < kChannels && g_failure.empty(); ++c) {
            if (m_ch[c].host >= 0) {
                CloseHost(c, false);
            }
            if (!m_ch[c].plugged) {
                Plug(c);
            }
        }
        WaitFor(
            [&] {
                for (const Channel& ch : m_ch) {
                    if (!ch.keypadOpen || ch.hostSeen) {
                        return false;
                    }
                }
                return true;
            },
            "every keypad open and every host gone");
        const auto quiet = Clock::now() + std::chrono::seconds(2);
        while (Clock::now() < quiet) {
            Step();
        }
    }

    void Report(FILE* out) const
    {
        long verified[2] = {};
        long lost[2] = {};
        for (const Channel& ch : m_ch) {
            verified[0] += ch.toHost.Verified();
            verified[1] += ch.toKeypad.Verified();
            lost[0] += ch.toHost.lost;
            lost[1] += ch.toKeypad.lost;
        }
        std::fprintf(out,
                     "keypad -> host: %ld bytes arrived once and in order, %ld in flight lost "
                     "when an end left abruptly\n",
                     verified[0], lost[0]);
        std::fprintf(out,
                     "host -> keypad: %ld bytes arrived once and in order, %ld in flight lost "
                     "when an end left abruptly\n",
                     verified[1], lost[1]);
        std::fprintf(out,
                     "%d replugs, %d host sessions (%d ended abruptly, %d in exclusive mode), "
                     "%d bytes sent to an absent end (none arrived)\n",
                     m_replugs, m_sessions, m_abrupt, m_exclusive, m_strays);
    }

private:
    // Reads the hosts, the keypads' reports and the bridge's log.
    void Step()
    {
        pollfd fds[kChannels];
        int n = 0;
        for (const Channel& ch : m_ch) {
            if (ch.host >= 0) {
                fds[n++] = pollfd{ch.host, POLLIN, 0};
            }
        }
        ::poll(fds, static_cast<nfds_t>(n), 5);
        for (int c = 0; c < kChannels; ++c) {
            Channel& ch = m_ch[c];
            char buffer[512];
            ssize_t got;
            while (ch.host >= 0 && (got = ::read(ch.host, buffer, sizeof buffer)) > 0) {
                trace(c, "host reads " + std::string(buffer, static_cast<size_t>(got)));
                for (ssize_t i = 0; i < got; ++i) {
                    ch.toHost.Accept(buffer[i], "COM" + std::to_string(c + 1));
                }
            }
            if (ch.toKeypad.InFlight() > 0 || Clock::now() > m_nextDrain) {
                DrainKeypad(c);
            }
            ch.toHost.Settle();
            ch.toKeypad.Settle();
        }
        if (Clock::now() > m_nextDrain) {
            m_nextDrain = Clock::now() + std::chrono::milliseconds(500);
        }
        if (!m_bridge.Alive()) {
            fail("the bridge ended during the run");
        }
        for (const std::string& line : m_bridge.Lines()) {
            trace(-1, "log: " + line);
            m_running = m_running || line == "Corvandelle (Running)";
            int slot = 0;
            if (std::sscanf(line.c_str(), "COM%d ", &slot) != 1 || slot < 1 || slot > kChannels) {
                continue;
            }
            if (line.find(" opened by a host") != std::string::npos) {
                m_ch[slot - 1].hostSeen = true;
            } else if (line.find(" closed by its host") != std::string::npos) {
                m_ch[slot - 1].hostSeen = false;
            }
        }
        // Whether the bridge has a keypad open since it was last plugged in:
        // the simulated library knows (its log line may come late).
        if (Clock::now() > m_nextList) {
            for (const std::string& line : m_bridge.Command("list")) {
                int id = 0;
                const size_t open = line.find(" open=");
                if (std::sscanf(line.c_str(), "%d ", &id) == 1 && id >= 1 && id <= kChannels &&
                    open != std::string::npos) {
                    m_ch[id - 1].keypadOpen =
                        m_ch[id - 1].plugged && std::atoi(line.c_str() + open + 6) > 0;
                }
            }
            m_nextList = Clock::now() + std::chrono::milliseconds(20);
        }
    }

    void DrainKeypad(int c)
    {
        for (const std::string& line : m_bridge.Command("drain " + std::to_string(c + 1))) {
            unsigned bytes[9] = {};
            const int n = std::sscanf(line.c_str(), "%x %x %x %x %x %x %x %x %x", &bytes[0],
                                      &bytes[1], &bytes[2], &bytes[3], &bytes[4], &bytes[5],
                                      &bytes[6], &bytes[7], &bytes[8]);
            if (n != 9 || bytes[0] != 0 || bytes[1] < 1 || bytes[1] > 7) {
                fail("keypad " + std::to_string(c + 1) + " received a malformed report: " + line);
                continue;
            }
            for (unsigned i = 0; i < bytes[1]; ++i) {
                m_ch[c].toKeypad.Accept(static_cast<char>(bytes[2 + i]),
                                        "keypad " + std::to_string(c + 1));
            }
        }
    }

    template <typename F>
    bool WaitFor(F condition, const std::string& what)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(kDrainMs);
        while (!condition()) {
            if (Clock::now() > end || !g_failure.empty()) {
                fail("timed out waiting for " + what);
                return false;
            }
            Step();
        }
        return true;
    }

    bool Connected(const Channel& ch) const { return ch.host >= 0 && ch.plugged && ch.keypadOpen; }

    // Lets what is on its way arrive, for an orderly leave.
    void Drain(int c)
    {
        Channel& ch = m_ch[c];
        WaitFor([&] { return ch.toHost.InFlight() == 0 && ch.toKeypad.InFlight() == 0; },
                "the bytes of channel " + std::to_string(c + 1));
    }

    void Act(int c)
    {
        Channel& ch = m_ch[c];
        const unsigned dice = m_rng() % 1000;
        const bool settled = Clock::now() >= ch.settled;
        if (Connected(ch)) {
            // A connection lasts some seconds, with traffic all along.
            if (dice < 992) {
                Send(c, dice % 2 == 0);
            } else if (dice < 997) {
                CloseHost(c, m_rng() % 3 == 0);
            } else {
                Unplug(c, m_rng() % 3 == 0);
            }
        } else if (ch.host < 0 && settled && dice < 300) {
            OpenHost(c);
        } else if (!ch.plugged && settled && dice < 600) {
            Plug(c);
        } else if (dice < 650 && settled) {
            SendStray(c);
        } else if (dice < 660 && ch.host >= 0) {
            CloseHost(c, m_rng() % 3 == 0);
        } else if (dice < 670 && ch.plugged) {
            Unplug(c, m_rng() % 3 == 0);
        }
    }

    void Send(int c, bool toHost)
    {
        Channel& ch = m_ch[c];
        Stream& stream = toHost ? ch.toHost : ch.toKeypad;
        const long n = 1 + static_cast<long>(m_rng() % 16);
        if (!stream.Clear() || stream.InFlight() + n > kMaxInFlight) {
            return;
        }
        std::string text;
        for (long i = 0; i < n; ++i) {
            text += stream.Next();
        }
        if (toHost) {
            m_bridge.Command("type " + std::to_string(c + 1) + " " + text);
            trace(c, "type " + text);
        } else {
            if (::write(ch.host, text.data(), text.size()) != static_cast<ssize_t>(n)) {
                fail("COM" + std::to_string(c + 1) + ": the host's write failed");
            }
            trace(c, "write " + text);
        }
    }

    void Unplug(int c, bool abrupt)
    {
        Channel& ch = m_ch[c];
        if (abrupt) {
            ch.toHost.Abrupt();
            ch.toKeypad.Abrupt();
        } else {
            Drain(c);
        }
        m_bridge.Command("unplug " + std::to_string(c + 1));
        trace(c, abrupt ? "unplug abruptly" : "unplug");
        ch.plugged = false;
        ch.keypadOpen = false; // until the bridge opens it again
        ch.settled = Clock::now() + std::chrono::milliseconds(kSettleMs);
    }

    void OpenHost(int c)
    {
        Channel& ch = m_ch[c];
        const std::string path = m_home + "/ports/COM" + std::to_string(c + 1);
        ch.host = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (ch.host < 0) {
            fail("a host could not open " + path + ": " + std::strerror(errno));
            return;
        }
        ++m_sessions;
        trace(c, "host opens");
        // Many serial libraries take the port for themselves.
        if (m_rng() % 4 == 0) {
            ::ioctl(ch.host, TIOCEXCL);
            ++m_exclusive;
        }
    }

    void CloseHost(int c, bool abrupt)
    {
        Channel& ch = m_ch[c];
        if (abrupt) {
            ch.toHost.Abrupt();
            ch.toKeypad.Abrupt();
            ++m_abrupt;
        } else {
            Drain(c);
        }
        ::close(ch.host);
        trace(c, abrupt ? "host closes abruptly" : "host closes");
        ch.host = -1;
        ch.settled = Clock::now() + std::chrono::milliseconds(kSettleMs);
    }

    void Plug(int c)
    {
        m_bridge.Command("plug " + std::to_string(c + 1));
        trace(c, "plug");
        m_ch[c].plugged = true;
        ++m_replugs;
    }

    // Bytes sent while the other end is gone: they must never arrive.
    void SendStray(int c)
    {
        Channel& ch = m_ch[c];
        const std::string stray(1 + m_rng() % 8, '#');
        if (ch.host >= 0 && !ch.plugged && !ch.keypadOpen) {
            if (::write(ch.host, stray.data(), stray.size()) > 0) {
                m_strays += static_cast<int>(stray.size());
            }
            trace(c, "host writes to an absent keypad " + stray);
        } else if (ch.host < 0 && ch.plugged && ch.keypadOpen) {
            m_bridge.Command("type " + std::to_string(c + 1) + " " + stray);
            m_strays += static_cast<int>(stray.size());
            trace(c, "keypad types to an absent host " + stray);
        } else {
            return;
        }
        ch.settled = Clock::now() + std::chrono::milliseconds(kSettleMs);
    }

    Bridge& m_bridge;
    std::string m_home;
    std::minstd_rand m_rng;
    Channel m_ch[kChannels];
    Clock::time_point m_nextDrain{};
    Clock::time_point m_nextList{};
    bool m_running = false;
    int m_replugs = 0;
    int m_sessions = 0;
    int m_abrupt = 0;
    int m_exclusive = 0;
    int m_strays = 0;
};

} // namespace

int main(int argc, char** argv)
{
    int seconds = 60;
    unsigned seed = static_cast<unsigned>(::time(nullptr));
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) {
            seconds = std::max(5, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        }
    }
    const char* slack = std::getenv("TESSARON_SOAK_RSS_SLACK_KB");
    const long rssSlackKb = slack != nullptr ? std::atol(slack) : 2048;
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("soak: %d s, seed %u\n", seconds, seed);
    std::fflush(stdout);

    TempDir home;
    TempDir lockDir;
    Bridge bridge;
    if (!bridge.Start(home.path(), lockDir.path())) {
        fail("the bridge did not start");
        return 1;
    }
    Soak soak(bridge, home.path(), seed);
    soak.WaitStarted();
    const auto start = Clock::now();
    // Warm-up, so that what the first connections allocate for good counts as
    // the starting point.
    soak.Run(start + std::chrono::seconds(std::min(10, seconds / 6)));
    soak.Quiesce();
    const Usage before = usageOf(bridge.Pid());
    soak.Run(start + std::chrono::seconds(seconds));
    soak.Quiesce();
    const Usage after = usageOf(bridge.Pid());
    const int status = bridge.Stop();

    soak.Report(stdout);
    std::printf("descriptors %d -> %d, threads %d -> %d, memory %ld kB -> %ld kB\n", before.fds,
                after.fds, before.threads, after.threads, before.rssKb, after.rssKb);
    if (after.fds != before.fds || after.threads != before.threads) {
        fail("the bridge's descriptors or threads did not return to their starting values");
    }
    if (after.rssKb > before.rssKb + rssSlackKb) {
        fail("the bridge's memory grew by more than " + std::to_string(rssSlackKb) + " kB");
    }
    if (status != 0) {
        fail("the bridge did not stop cleanly (status " + std::to_string(status) + ")");
    }
    if (!bridge.Stderr().empty()) {
        fail("the bridge wrote to standard error:\n" + bridge.Stderr());
    }
    if (DIR* d = ::opendir((home.path() + "/ports").c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
                fail(std::string("ports/") + e->d_name + " left behind");
            }
        }
        ::closedir(d);
    }
    std::printf("soak: %s\n", g_failure.empty() ? "passed" : "FAILED");
    return g_failure.empty() ? 0 : 1;
}
