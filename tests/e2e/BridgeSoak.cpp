// Soak test of `tessaron bridge`, run by scripts/soak-bridge.sh (not by CTest:
// it runs for TESSARON_SOAK_SECONDS): six simulated keypads unplugged and
// replugged at random, hosts that open, write, read and close their ports at
// random, and traffic both ways.
//
// Every byte sent while both ends stay connected must arrive once and in
// order. What was on its way when an end left abruptly may be lost, but never
// duplicated, reordered or handed to a later connection; bytes sent while an
// end was gone must never arrive. The bridge's descriptors, threads and memory
// must be back at their values after the warm-up, and it must stop cleanly,
// leaving no port behind and nothing on standard error (the sanitizers').
#include "BridgeProcess.h"
#include "tests/portmgr/PortSettingsText.h"
#include "tests/support/TempHome.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessaron::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kChannels = 6;
// Counted bytes cycle through this alphabet: no '@' (it starts a keypad
// command) and no '\' (the simulated keypads' commands unescape it).
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr long kAlphabetSize = sizeof kAlphabet - 1;
// Fewer bytes in flight than the alphabet has, so a byte's place is certain.
constexpr long kMaxInFlight = 48;
constexpr int kDrainMs = 8000; // generous: the bridge may run under a sanitizer
constexpr int kSettleMs = 300;
// What was on its way when an end left abruptly may still come this long.
constexpr auto kStragglers = std::chrono::milliseconds(1000);

// TESSARON_SOAK_TRACE=1: every step on standard error.
void trace(int channel, const std::string& what)
{
    static const bool on = std::getenv("TESSARON_SOAK_TRACE") != nullptr;
    static const Clock::time_point start = Clock::now();
    if (on) {
        std::fprintf(stderr, "%8.3f %d %s\n",
                     std::chrono::duration<double>(Clock::now() - start).count(), channel + 1,
                     what.c_str());
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
    // Counted bytes go out only once what an abrupt leave put in doubt is settled.
    bool Clear() const { return received >= lossEnd; }
    void Abrupt()
    {
        lossEnd = sent;
        abruptAt = Clock::now();
    }
    void Settle()
    {
        if (received < lossEnd && Clock::now() - abruptAt > kStragglers) {
            lost += lossEnd - received;
            received = lossEnd;
        }
    }
    void Accept(char b, const std::string& where)
    {
        // A gap is allowed only over bytes that were in flight when an end left.
        const long last = std::min(std::max(received, lossEnd), sent - 1);
        for (long q = received; b != '\0' && std::strchr(kAlphabet, b) != nullptr && q <= last;
             ++q) {
            if (kAlphabet[q % kAlphabetSize] == b) {
                lost += q - received;
                received = q + 1;
                return;
            }
        }
        ADD_FAILURE() << where << ": byte " << static_cast<int>(static_cast<unsigned char>(b))
                      << " was sent to an absent end, out of order, duplicated or never sent ("
                      << received << " of " << sent << " received)";
        received = sent; // report once
    }
};

struct Channel
{
    int host = -1;
    bool plugged = true;
    bool keypadOpen = false; // the bridge has it open since it was plugged in
    bool hostSeen = false;   // the bridge's log says a host has the port
    Clock::time_point settled{};
    Stream toHost;
    Stream toKeypad;
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
    Soak(BridgeProcess& bridge, std::string home, unsigned seed)
        : m_bridge(bridge), m_keypads(bridge.controlSocket()), m_home(std::move(home)), m_rng(seed)
    {
    }

    // Until bridging runs with every keypad open.
    bool WaitStarted()
    {
        return m_bridge.waitForLine("Corvandelle (Running)", 30000) && WaitFor([&] {
                   return std::all_of(m_ch, m_ch + kChannels,
                                      [](const Channel& ch) { return ch.keypadOpen; });
               });
    }

    void Run(Clock::time_point end)
    {
        while (Clock::now() < end && !::testing::Test::HasFailure()) {
            Step();
            Act(static_cast<int>(m_rng() % kChannels));
        }
    }

    // Every keypad plugged in and open, every host gone, nothing moving.
    void Quiesce()
    {
        for (int c = 0; c < kChannels; ++c) {
            if (m_ch[c].host >= 0) {
                CloseHost(c, false);
            }
            if (!m_ch[c].plugged) {
                Plug(c);
            }
        }
        EXPECT_TRUE(WaitFor([&] {
            return std::all_of(m_ch, m_ch + kChannels,
                               [](const Channel& ch) { return ch.keypadOpen && !ch.hostSeen; });
        })) << "every keypad open and every host gone";
        const auto quiet = Clock::now() + std::chrono::seconds(2);
        while (Clock::now() < quiet) {
            Step();
        }
    }

    void Report() const
    {
        long verified[2] = {};
        long lost[2] = {};
        for (const Channel& ch : m_ch) {
            verified[0] += ch.toHost.received - ch.toHost.lost;
            verified[1] += ch.toKeypad.received - ch.toKeypad.lost;
            lost[0] += ch.toHost.lost;
            lost[1] += ch.toKeypad.lost;
        }
        std::printf("keypad -> host: %ld bytes arrived once and in order, %ld lost in flight when "
                    "an end left abruptly\n"
                    "host -> keypad: %ld bytes arrived once and in order, %ld lost in flight when "
                    "an end left abruptly\n"
                    "%d replugs, %d host sessions (%d ended abruptly, %d in exclusive mode), %d "
                    "bytes sent to an absent end (none arrived)\n",
                    verified[0], lost[0], verified[1], lost[1], m_replugs, m_sessions, m_abrupt,
                    m_exclusive, m_strays);
    }

private:
    // Reads the hosts, the keypads' reports, the bridge's log and which
    // keypads the bridge has open.
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
        const bool periodic = Clock::now() > m_nextCheck;
        for (int c = 0; c < kChannels; ++c) {
            Channel& ch = m_ch[c];
            char buffer[512];
            ssize_t got;
            while (ch.host >= 0 && (got = ::read(ch.host, buffer, sizeof buffer)) > 0) {
                for (ssize_t i = 0; i < got; ++i) {
                    ch.toHost.Accept(buffer[i], "COM" + std::to_string(c + 1));
                }
            }
            if (ch.toKeypad.InFlight() > 0 || periodic) {
                for (const auto& r : m_keypads.outputs(c + 1, true)) {
                    ASSERT_TRUE(r.size() == 9 && r[0] == 0 && r[1] >= 1 && r[1] <= 7)
                        << "a malformed report for keypad " << c + 1;
                    for (int i = 0; i < r[1]; ++i) {
                        ch.toKeypad.Accept(static_cast<char>(r[2 + i]),
                                           "keypad " + std::to_string(c + 1));
                    }
                }
            }
            ch.toHost.Settle();
            ch.toKeypad.Settle();
        }
        if (periodic) {
            m_nextCheck = Clock::now() + std::chrono::milliseconds(500);
        }
        ASSERT_TRUE(m_bridge.running()) << "the bridge ended during the run";
        const std::vector<std::string> lines = m_bridge.lines(m_linesSeen);
        m_linesSeen += lines.size();
        for (const std::string& line : lines) {
            trace(-1, "log: " + line);
            int slot = 0;
            if (std::sscanf(line.c_str(), "COM%d ", &slot) == 1 && slot >= 1 && slot <= kChannels) {
                if (line.find(" opened by a host") != std::string::npos) {
                    m_ch[slot - 1].hostSeen = true;
                } else if (line.find(" closed by its host") != std::string::npos) {
                    m_ch[slot - 1].hostSeen = false;
                }
            }
        }
        // The simulated library knows which keypads are open (the log may lag).
        if (Clock::now() > m_nextList) {
            for (const std::string& line : m_keypads.command("list")) {
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

    template <typename F>
    bool WaitFor(F condition)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(kDrainMs);
        while (!condition()) {
            if (Clock::now() > end || ::testing::Test::HasFailure()) {
                return false;
            }
            Step();
        }
        return true;
    }

    // Lets what is on its way arrive, for an orderly leave.
    void Drain(int c)
    {
        Channel& ch = m_ch[c];
        EXPECT_TRUE(WaitFor([&] {
            return ch.toHost.InFlight() == 0 && ch.toKeypad.InFlight() == 0;
        })) << "the bytes of channel "
            << c + 1 << " did not all arrive";
    }

    void Act(int c)
    {
        Channel& ch = m_ch[c];
        const unsigned dice = m_rng() % 1000;
        const bool settled = Clock::now() >= ch.settled;
        if (ch.host >= 0 && ch.plugged && ch.keypadOpen) {
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
        trace(c, (toHost ? "type " : "write ") + text);
        if (toHost) {
            m_keypads.command("type " + std::to_string(c + 1) + " " + text);
        } else {
            EXPECT_EQ(::write(ch.host, text.data(), text.size()), static_cast<ssize_t>(n));
        }
    }

    void OpenHost(int c)
    {
        Channel& ch = m_ch[c];
        ch.host = ::open((m_home + "/ports/COM" + std::to_string(c + 1)).c_str(),
                         O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(ch.host, 0) << "a host could not open COM" << c + 1 << ": "
                              << std::strerror(errno);
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
        trace(c, abrupt ? "host closes abruptly" : "host closes");
        ::close(ch.host);
        ch.host = -1;
        ch.settled = Clock::now() + std::chrono::milliseconds(kSettleMs);
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
        trace(c, abrupt ? "unplug abruptly" : "unplug");
        m_keypads.command("unplug " + std::to_string(c + 1));
        ch.plugged = false;
        ch.keypadOpen = false; // until the bridge opens it again
        ch.settled = Clock::now() + std::chrono::milliseconds(kSettleMs);
    }

    void Plug(int c)
    {
        trace(c, "plug");
        m_keypads.command("plug " + std::to_string(c + 1));
        m_ch[c].plugged = true;
        ++m_replugs;
    }

    // Bytes sent while the other end is gone: they must never arrive.
    void SendStray(int c)
    {
        Channel& ch = m_ch[c];
        const std::string stray(1 + m_rng() % 8, '#');
        if (ch.host >= 0 && !ch.plugged && !ch.keypadOpen) {
            EXPECT_GT(::write(ch.host, stray.data(), stray.size()), 0);
        } else if (ch.host < 0 && ch.plugged && ch.keypadOpen) {
            m_keypads.command("type " + std::to_string(c + 1) + " " + stray);
        } else {
            return;
        }
        trace(c, "to an absent end: " + stray);
        m_strays += static_cast<int>(stray.size());
        ch.settled = Clock::now() + std::chrono::milliseconds(kSettleMs);
    }

    BridgeProcess& m_bridge;
    FakeHidClient m_keypads;
    std::string m_home;
    std::minstd_rand m_rng;
    Channel m_ch[kChannels];
    size_t m_linesSeen = 0;
    Clock::time_point m_nextCheck{};
    Clock::time_point m_nextList{};
    int m_replugs = 0;
    int m_sessions = 0;
    int m_abrupt = 0;
    int m_exclusive = 0;
    int m_strays = 0;
};

long envNumber(const char* name, long fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atol(value) : fallback;
}

} // namespace

TEST(BridgeSoak, BytesArriveOnceAndInOrderAndNothingLeaks)
{
    const long seconds = std::max(5L, envNumber("TESSARON_SOAK_SECONDS", 60));
    const auto seed = static_cast<unsigned>(envNumber("TESSARON_SOAK_SEED", ::time(nullptr)));
    const long rssSlackKb = envNumber("TESSARON_SOAK_RSS_SLACK_KB", 2048);
    std::printf("soak: %ld s, seed %u (TESSARON_SOAK_SEED repeats it)\n", seconds, seed);
    std::signal(SIGPIPE, SIG_IGN);

    TempHome home;
    const std::string lockDir = home.path() + "/lock";
    ::mkdir(lockDir.c_str(), 0700);
    std::string keypads;
    for (int i = 1; i <= kChannels; ++i) {
        keypads += "add 16c0:0604 sim-" + std::to_string(i) + "\n";
    }
    home.write("Corvandelle.ini", PortSettingsText(NumberedKeypads(kChannels)));
    BridgeProcess bridge(home.path(), lockDir);
    bridge.setUp({keypads});
    ASSERT_TRUE(bridge.start());
    Soak soak(bridge, home.path(), seed);
    ASSERT_TRUE(soak.WaitStarted()) << bridge.errorOutput();

    // After a warm-up, so that what the first connections allocate for good
    // counts as the starting point.
    const auto start = Clock::now();
    soak.Run(start + std::chrono::seconds(std::min(10L, seconds / 6)));
    soak.Quiesce();
    const Usage before = usageOf(bridge.pid());
    soak.Run(start + std::chrono::seconds(seconds));
    soak.Quiesce();
    const Usage after = usageOf(bridge.pid());
    bridge.signal(SIGTERM);
    const int status = bridge.wait(30000);

    soak.Report();
    std::printf("descriptors %d -> %d, threads %d -> %d, memory %ld kB -> %ld kB\n", before.fds,
                after.fds, before.threads, after.threads, before.rssKb, after.rssKb);
    EXPECT_EQ(after.fds, before.fds);
    EXPECT_EQ(after.threads, before.threads);
    EXPECT_LE(after.rssKb, before.rssKb + rssSlackKb);
    EXPECT_EQ(status, 0) << "the bridge did not stop cleanly";
    EXPECT_EQ(bridge.errorOutput(), "");
    if (DIR* d = ::opendir(home.file("ports").c_str())) {
        while (dirent* e = ::readdir(d)) { // the lock file of ports/ stays
            EXPECT_TRUE(std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0 ||
                        std::strcmp(e->d_name, ".lock") == 0)
                << "ports/" << e->d_name << " left behind";
        }
        ::closedir(d);
    }
}
