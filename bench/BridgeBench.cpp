// The bridge's figures, side by side with socat relaying between two
// pseudo-terminals: latency of single bytes each way at a key press's pace,
// sustained throughput each way at the per-tick limits with every byte
// checked, how soon a replugged keypad is bridged again, and the CPU time of
// `tessaron bridge` while idle (six keypads with six idle hosts; six absent
// keypads) and of each bridge thread. TESSARON_BENCH_SECONDS shortens the
// throughput and CPU runs (60 and 10 seconds by default). Run it with
// scripts/bench-bridge.sh.
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/io/FileReadThread.h"
#include "portmgr/io/FileWriteThread.h"
#include "portmgr/io/TWakeEvent.h"
#include "tests/fakes/FakeHid.h"
#include "tests/portmgr/PortSettingsText.h"
#include "tests/portmgr/io/ThreadTestSupport.h"
#include "tests/support/PtyHost.h"
#include "tests/support/TempHome.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tessaron;
using namespace tessaron::test;
using Clock = std::chrono::steady_clock;

namespace {

int benchSeconds(int fallback)
{
    const char* s = std::getenv("TESSARON_BENCH_SECONDS");
    const int n = s != nullptr ? std::atoi(s) : 0;
    return n > 0 ? n : fallback;
}

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
    return v[i];
}

// A byte sequence that any loss, duplicate or swap breaks.
class Sequence
{
public:
    explicit Sequence(unsigned seed) : m_rng(seed) {}
    unsigned char next()
    {
        static const char kAlphabet[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        return static_cast<unsigned char>(kAlphabet[m_rng() % 62]);
    }

private:
    std::minstd_rand m_rng;
};

// The bridge in this process, its loop on a thread of its own standing for
// the front end's main thread: poll() on the core's descriptor, Dispatch().
class InProcessBridge
{
public:
    explicit InProcessBridge(int keypads)
    {
        ::setenv("TESSARON_HIDAPI", TESSARON_FAKEHID_LIBRARY, 1);
        fakehid_reset();
        const auto assignments = NumberedKeypads(keypads);
        for (const auto& [path, port] : assignments) {
            ids.push_back(fakehid_add_device(0x16C0, 0x0604, path.c_str()));
        }
        home.write("Corvandelle.ini", PortSettingsText(assignments));
        ok = control.StartPorts() == 0;
        loop = std::thread([this] {
            pollfd fds[2] = {{control.PollFd(), POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
            while (::poll(fds, 2, -1) >= 0 && !(fds[1].revents & POLLIN)) {
                if (fds[0].revents & POLLIN) {
                    control.Dispatch();
                }
            }
        });
    }
    ~InProcessBridge()
    {
        halt();
        control.StopPorts();
        fakehid_reset();
    }
    // Ends the loop (Ticks() is then final and the core is the caller's).
    void halt()
    {
        if (loop.joinable()) {
            stop.Signal();
            loop.join();
        }
    }
    std::string port(int n) { return home.file("ports/COM" + std::to_string(n)); }

    TWakeEvent stop;
    TempHome home;
    TPortManager pm;
    TBridgeControl control{pm};
    std::vector<int> ids;
    bool ok = false;
    std::thread loop;
};

// Waits for one byte on fd; false after a second without one.
bool readOne(int fd, unsigned char& byte)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 1000) == 1 && ::read(fd, &byte, 1) == 1;
}

void reportLatency(benchmark::State& state, const std::vector<double>& samples, int lost)
{
    state.counters["samples"] = static_cast<double>(samples.size());
    state.counters["lost"] = lost;
    if (!samples.empty()) {
        state.counters["median_ms"] = percentile(samples, 0.5);
        state.counters["p99_ms"] = percentile(samples, 0.99);
        state.counters["max_ms"] = *std::max_element(samples.begin(), samples.end());
    }
}

constexpr int kLatencySamples = 1000;

// Key presses come 6 to 14 ms apart, host messages 12 to 20 ms apart (the
// write thread sends one report per 10 ms).
void pause(std::minstd_rand& rng, int fromMs, int toMs)
{
    const int us =
        fromMs * 1000 + static_cast<int>(rng() % static_cast<unsigned>((toMs - fromMs) * 1000));
    std::this_thread::sleep_for(std::chrono::microseconds(us));
}

bool startBridge(benchmark::State& state, InProcessBridge& bridge, PtyHost& host)
{
    host.open(bridge.port(1));
    if (!bridge.ok || !host.isOpen()) {
        state.SkipWithError("bridge did not start");
        return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return true;
}

void BM_LatencyKeypadToHost(benchmark::State& state)
{
    for (auto _ : state) {
        InProcessBridge bridge(1);
        PtyHost host;
        if (!startBridge(state, bridge, host)) {
            return;
        }
        std::vector<double> samples;
        std::minstd_rand rng(1);
        int lost = 0;
        for (int i = 0; i < kLatencySamples; ++i) {
            pause(rng, 6, 14);
            const unsigned char sent = static_cast<unsigned char>('A' + i % 26);
            const auto t0 = Clock::now();
            fakehid_type(bridge.ids[0], &sent, 1); // one input report carrying one byte
            unsigned char got = 0;
            if (!readOne(host.fd(), got) || got != sent) {
                ++lost;
                continue;
            }
            samples.push_back(ms(Clock::now() - t0));
        }
        reportLatency(state, samples, lost);
    }
}

void BM_LatencyHostToKeypad(benchmark::State& state)
{
    for (auto _ : state) {
        InProcessBridge bridge(1);
        PtyHost host;
        if (!startBridge(state, bridge, host)) {
            return;
        }
        const int id = bridge.ids[0];
        std::vector<double> samples;
        std::minstd_rand rng(2);
        int lost = 0;
        for (int i = 0; i < kLatencySamples; ++i) {
            pause(rng, 12, 20);
            const int before = fakehid_output_count(id);
            const auto t0 = Clock::now();
            host.write(std::string(1, static_cast<char>('A' + i % 26)));
            if (fakehid_wait_outputs(id, before + 1, 1000) <= before) {
                ++lost;
                continue;
            }
            samples.push_back(ms(Clock::now() - t0));
        }
        reportLatency(state, samples, lost);
    }
}

// socat relaying between two pseudo-terminals, at either pace
// (state.range(0): 6 for 6 to 14 ms apart, 12 for 12 to 20 ms).
void BM_LatencySocat(benchmark::State& state)
{
    const int fromMs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TempDir dir;
        const std::string a = dir.file("a");
        const std::string b = dir.file("b");
        const pid_t pid = ::fork();
        if (pid == 0) {
            const std::string left = "PTY,raw,echo=0,link=" + a;
            const std::string right = "PTY,raw,echo=0,link=" + b;
            ::execlp("socat", "socat", left.c_str(), right.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        struct stat st
        {
        };
        const auto until = Clock::now() + std::chrono::seconds(5);
        while ((::lstat(a.c_str(), &st) != 0 || ::lstat(b.c_str(), &st) != 0) &&
               Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        PtyHost from(a);
        PtyHost to(b);
        if (!from.isOpen() || !to.isOpen()) {
            state.SkipWithError("socat did not start (is it installed?)");
        } else {
            std::vector<double> samples;
            std::minstd_rand rng(1);
            int lost = 0;
            for (int i = 0; i < kLatencySamples; ++i) {
                pause(rng, fromMs, fromMs + 8);
                const unsigned char sent = static_cast<unsigned char>('A' + i % 26);
                const auto t0 = Clock::now();
                unsigned char got = 0;
                if (::write(from.fd(), &sent, 1) != 1 || !readOne(to.fd(), got) || got != sent) {
                    ++lost;
                    continue;
                }
                samples.push_back(ms(Clock::now() - t0));
            }
            reportLatency(state, samples, lost);
        }
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
}

// Keypad to host: the keypad always has more to send than one tick takes
// (but never so much that its 1024-byte ring would refuse a report), so every
// tick moves its limit of 16 bytes.
void BM_ThroughputKeypadToHost(benchmark::State& state)
{
    const int seconds = benchSeconds(60);
    for (auto _ : state) {
        InProcessBridge bridge(1);
        PtyHost host;
        if (!startBridge(state, bridge, host)) {
            return;
        }
        std::atomic<long> typed{0};
        std::atomic<long> received{0};
        std::atomic<bool> done{false};
        std::thread keypad([&] {
            Sequence seq(7);
            unsigned char chunk[56];
            while (!done.load()) {
                if (typed.load() - received.load() > 600) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                for (unsigned char& c : chunk) {
                    c = seq.next();
                }
                fakehid_type(bridge.ids[0], chunk, sizeof chunk);
                typed.fetch_add(sizeof chunk);
            }
        });
        Sequence expect(7);
        long wrong = 0;
        const auto start = Clock::now();
        const auto end = start + std::chrono::seconds(seconds);
        long inWindow = 0;
        for (;;) {
            const bool inTime = Clock::now() < end;
            if (!inTime && !done.load()) {
                inWindow = received.load();
                done.store(true);
                keypad.join();
            }
            if (!inTime && received.load() >= typed.load()) {
                break;
            }
            pollfd p{host.fd(), POLLIN, 0};
            if (::poll(&p, 1, inTime ? 100 : 3000) != 1) {
                if (!inTime) {
                    break; // nothing more comes: the rest is lost
                }
                continue;
            }
            unsigned char buffer[512];
            const ssize_t n = ::read(host.fd(), buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                wrong += buffer[i] != expect.next() ? 1 : 0;
            }
            received.fetch_add(n > 0 ? n : 0);
        }
        bridge.halt();
        state.counters["seconds"] = seconds;
        state.counters["bytes_per_s"] = static_cast<double>(inWindow) / seconds;
        state.counters["ticks_per_s"] = static_cast<double>(bridge.control.Ticks()) /
                                        std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["lost"] = static_cast<double>(typed.load() - received.load());
        state.counters["out_of_order"] = static_cast<double>(wrong);
    }
}

// Host to keypad: the host always has bytes waiting in the port; the pump takes
// at most 7 a tick, and the keypad's write thread sends one report of 7 per 10 ms.
void BM_ThroughputHostToKeypad(benchmark::State& state)
{
    const int seconds = benchSeconds(60);
    for (auto _ : state) {
        InProcessBridge bridge(1);
        PtyHost host;
        if (!startBridge(state, bridge, host)) {
            return;
        }
        const int id = bridge.ids[0];
        std::atomic<long> written{0};
        std::atomic<long> delivered{0};
        std::atomic<bool> done{false};
        std::thread writer([&] {
            Sequence seq(11);
            std::string chunk(64, ' ');
            while (!done.load()) {
                if (written.load() - delivered.load() > 600) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                for (char& c : chunk) {
                    c = static_cast<char>(seq.next());
                }
                host.write(chunk);
                written.fetch_add(static_cast<long>(chunk.size()));
            }
        });
        Sequence expect(11);
        long wrong = 0;
        long badReports = 0;
        int seen = 0;
        long inWindow = 0;
        const auto start = Clock::now();
        const auto end = start + std::chrono::seconds(seconds);
        auto quietSince = Clock::now();
        for (;;) {
            const bool inTime = Clock::now() < end;
            if (!inTime && !done.load()) {
                inWindow = delivered.load();
                done.store(true);
                writer.join();
                quietSince = Clock::now();
            }
            const int count = fakehid_output_count(id);
            for (; seen < count; ++seen) {
                unsigned char report[16];
                const int length = fakehid_output(id, seen, report, sizeof report);
                if (length != 9 || report[0] != 0 || report[1] < 1 || report[1] > 7) {
                    ++badReports;
                    continue;
                }
                for (int i = 0; i < report[1]; ++i) {
                    wrong += report[2 + i] != expect.next() ? 1 : 0;
                }
                delivered.fetch_add(report[1]);
                quietSince = Clock::now();
            }
            if (!inTime && (delivered.load() >= written.load() ||
                            Clock::now() - quietSince > std::chrono::seconds(3))) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        state.counters["seconds"] = seconds;
        state.counters["bytes_per_s"] = static_cast<double>(inWindow) / seconds;
        state.counters["reports_per_s"] = static_cast<double>(seen) / seconds;
        state.counters["lost"] = static_cast<double>(written.load() - delivered.load());
        state.counters["out_of_order"] = static_cast<double>(wrong);
        state.counters["bad_reports"] = static_cast<double>(badReports);
    }
}

// How soon a replugged keypad is bridged again, from the moment it is plugged
// in to its first byte at the host: plugged in after the bridge closed it
// (state.range(0) 0), or plugged in again at once, before the bridge noticed
// that it went (1). Without device reports the simulated keypads are looked
// for every 250 ms.
void BM_ReplugBridgedAgain(benchmark::State& state)
{
    const bool quick = state.range(0) != 0;
    constexpr int kReplugs = 10;
    for (auto _ : state) {
        InProcessBridge bridge(1);
        PtyHost host;
        if (!startBridge(state, bridge, host)) {
            return;
        }
        const int id = bridge.ids[0];
        std::vector<double> samples;
        std::minstd_rand rng(3);
        for (int r = 0; r < kReplugs; ++r) {
            fakehid_unplug(id);
            // Closed after about a second of silence; or plugged in within 300 ms.
            std::this_thread::sleep_for(std::chrono::milliseconds(quick ? 300 : 1400));
            std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 250));
            host.drain(10);
            fakehid_plug(id, nullptr);
            const auto t0 = Clock::now();
            const unsigned char key = 'r';
            unsigned char got = 0;
            bool arrived = false;
            while (!arrived && Clock::now() - t0 < std::chrono::seconds(5)) {
                fakehid_type(id, &key, 1); // lost until the bridge has it open
                pollfd p{host.fd(), POLLIN, 0};
                arrived = ::poll(&p, 1, 5) == 1 && ::read(host.fd(), &got, 1) == 1;
            }
            if (!arrived) {
                state.SkipWithError("a replugged keypad was not bridged within 5 s");
                return;
            }
            samples.push_back(ms(Clock::now() - t0));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        state.counters["replugs"] = kReplugs;
        state.counters["median_ms"] = percentile(samples, 0.5);
        state.counters["max_ms"] = *std::max_element(samples.begin(), samples.end());
    }
}

// One tick of the pump over six open keypads whose hosts hold their ports open
// and send nothing.
void BM_PumpTickIdleSixKeypads(benchmark::State& state)
{
    InProcessBridge bridge(6);
    std::vector<std::unique_ptr<PtyHost>> hosts;
    for (int i = 1; i <= 6; ++i) {
        hosts.push_back(std::make_unique<PtyHost>(bridge.port(i)));
    }
    bridge.halt(); // this loop ticks instead
    if (!bridge.ok) {
        state.SkipWithError("bridge did not start");
        return;
    }
    for (auto _ : state) {
        bridge.control.Pump().TmrKeypadPollTimer(false);
    }
}

// CPU time of all threads of a process so far, in seconds: the scheduler's
// nanosecond count of each thread (utime and stime only count 10 ms ticks).
// -1 when it cannot be read.
double cpuSeconds(pid_t pid)
{
    const std::string folder = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) {
        return -1;
    }
    double total = 0;
    int threads = 0;
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') {
            continue;
        }
        FILE* f = std::fopen((folder + "/" + e->d_name + "/schedstat").c_str(), "r");
        unsigned long long ns = 0;
        if (f != nullptr) {
            if (std::fscanf(f, "%llu", &ns) == 1) {
                total += static_cast<double>(ns) / 1e9;
                ++threads;
            }
            std::fclose(f);
        }
    }
    ::closedir(d);
    return threads > 0 ? total : -1;
}

// A real `tessaron bridge` while nothing moves: state.range(0) 0 with six
// simulated keypads open (each sending its empty report every 100 ms, as
// keypads do) and six hosts holding the ports open; 1 with six remembered
// keypads that are absent.
void BM_IdleCpuBridge(benchmark::State& state)
{
    const bool absent = state.range(0) != 0;
    const int seconds = benchSeconds(10);
    for (auto _ : state) {
        TempDir home;
        const std::string lockDir = home.file("lock");
        ::mkdir(lockDir.c_str(), 0700);
        std::string setup;
        for (int i = 1; i <= 6 && !absent; ++i) {
            setup += "add 16c0:0604 sim-" + std::to_string(i) + "\n";
        }
        WriteFile(home.file("setup"), setup);
        WriteFile(home.file("Corvandelle.ini"), PortSettingsText(NumberedKeypads(6)));

        const std::string envHome = "TESSARON_HOME=" + home.path();
        const std::string envLock = "TESSARON_LOCK_DIR=" + lockDir;
        const std::string envHid = std::string("TESSARON_HIDAPI=") + TESSARON_FAKEHID_LIBRARY;
        const std::string envSetup = "TESSARON_FAKEHID_SETUP=" + home.file("setup");
        char* envp[] = {const_cast<char*>(envHome.c_str()), const_cast<char*>(envLock.c_str()),
                        const_cast<char*>(envHid.c_str()), const_cast<char*>(envSetup.c_str()),
                        nullptr};
        char* argv[] = {const_cast<char*>(TESSARON_TOOL), const_cast<char*>("bridge"), nullptr};
        const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            ::execve(TESSARON_TOOL, argv, envp);
            ::_exit(127);
        }
        ::close(devNull);

        std::vector<std::unique_ptr<PtyHost>> hosts;
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (hosts.size() < 6 && Clock::now() < until) {
            auto host = std::make_unique<PtyHost>(
                home.file("ports/COM" + std::to_string(hosts.size() + 1)));
            if (host->isOpen()) {
                hosts.push_back(std::move(host));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        if (hosts.size() < 6) {
            state.SkipWithError("the bridge did not make its six ports");
        } else {
            if (absent) {
                hosts.clear(); // nobody uses the ports of absent keypads
            }
            std::this_thread::sleep_for(std::chrono::seconds(2));
            const double cpu0 = cpuSeconds(pid);
            const auto t0 = Clock::now();
            std::this_thread::sleep_for(std::chrono::seconds(seconds));
            const double cpu1 = cpuSeconds(pid);
            const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
            if (cpu0 < 0 || cpu1 < 0) {
                state.SkipWithError("the bridge's CPU time cannot be read");
            } else {
                state.counters["seconds"] = wall;
                state.counters["cpu_percent"] = 100.0 * (cpu1 - cpu0) / wall;
            }
        }
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
}

// CPU time a thread has used so far, in seconds (the scheduler's count); -1
// when it cannot be read.
double threadCpuSeconds(pthread_t thread)
{
    clockid_t clock;
    timespec t{};
    if (::pthread_getcpuclockid(thread, &clock) != 0 || ::clock_gettime(clock, &t) != 0) {
        return -1;
    }
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// What one bridge thread costs while nothing moves: a USB reader on a silent
// keypad and on one sending its empty report every 100 ms, a USB writer, and
// the serial threads on a quiet and on a hung-up port. Percent of one core.
void BM_IdleThreadCpu(benchmark::State& state)
{
    const int seconds = benchSeconds(5);
    for (auto _ : state) {
        FakeUsbKeypad silent("/dev/hidraw-silent");
        fakehid_set_idle_interval(silent.id, 0);
        fakehid_add_device(0x16C0, 0x0604, "/dev/hidraw-talking");
        auto talking = TDeviceHandle::ForHid(hid_open_path("/dev/hidraw-talking"),
                                             hid_open_path("/dev/hidraw-talking"), FakeHidCalls());
        PtyPair quiet;
        PtyPair hungUp;
        ::close(hungUp.master);
        hungUp.master = -1;
        struct Measured
        {
            const char* name;
            std::unique_ptr<TFileThread> thread;
        };
        Measured threads[] = {
            {"usb_read_silent", std::make_unique<TFileReadThread>(silent.handle.get(), LinkUsb)},
            {"usb_read_empty_reports", std::make_unique<TFileReadThread>(talking.get(), LinkUsb)},
            {"usb_write", std::make_unique<TFileWriteThread>(silent.handle.get(), LinkUsb)},
            {"serial_read_quiet", std::make_unique<TFileReadThread>(quiet.slave.get(), LinkRs232)},
            {"serial_read_hung_up",
             std::make_unique<TFileReadThread>(hungUp.slave.get(), LinkRs232)},
            {"serial_write", std::make_unique<TFileWriteThread>(quiet.slave.get(), LinkRs232)},
        };
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        double before[6];
        for (int i = 0; i < 6; ++i) {
            before[i] = threadCpuSeconds(threads[i].thread->NativeHandle());
        }
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        for (int i = 0; i < 6; ++i) {
            const double after = threadCpuSeconds(threads[i].thread->NativeHandle());
            if (before[i] < 0 || after < 0) {
                state.SkipWithError("a thread's CPU time cannot be read");
                return;
            }
            state.counters[std::string(threads[i].name) + "_cpu_percent"] =
                100.0 * (after - before[i]) / wall;
        }
        for (Measured& m : threads) {
            m.thread.reset();
        }
    }
}

// The floor under BM_IdleCpuBridge/0: six threads that only wake every 100 ms
// (as six keypads' reports wake their read threads) and do nothing else.
void BM_IdleWakeFloor(benchmark::State& state)
{
    const int seconds = benchSeconds(10);
    for (auto _ : state) {
        std::atomic<bool> done{false};
        std::vector<std::thread> threads;
        for (int i = 0; i < 6; ++i) {
            threads.emplace_back([&done] {
                while (!done.load()) {
                    ::poll(nullptr, 0, 100);
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        double before = 0;
        for (std::thread& t : threads) {
            before += threadCpuSeconds(t.native_handle());
        }
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        double after = 0;
        for (std::thread& t : threads) {
            after += threadCpuSeconds(t.native_handle());
        }
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        done.store(true);
        for (std::thread& t : threads) {
            t.join();
        }
        state.counters["cpu_percent"] = 100.0 * (after - before) / wall;
    }
}

} // namespace

BENCHMARK(BM_LatencyKeypadToHost)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LatencyHostToKeypad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LatencySocat)->Arg(6)->Arg(12)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ThroughputKeypadToHost)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ThroughputHostToKeypad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ReplugBridgedAgain)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_PumpTickIdleSixKeypads)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleCpuBridge)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_IdleWakeFloor)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_IdleThreadCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
