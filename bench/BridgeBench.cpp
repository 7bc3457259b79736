// The bridge's figures, side by side with socat relaying between two
// pseudo-terminals: latency from a keypad's input report to the host's read,
// sustained throughput each way at the per-tick limits with every byte checked,
// and the CPU time of an idle `tessaron bridge` serving six keypads and six
// hosts. TESSARON_BENCH_SECONDS shortens the throughput and CPU runs (60 and 10
// seconds by default). Run it with scripts/bench-bridge.sh.
#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeLoop.h"
#include "portmgr/bridge/TMenuItem.h"
#include "portmgr/bridge/TPollTimer.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/bridge/TTrayState.h"
#include "portmgr/bridge/TWakeEvent.h"
#include "portmgr/devices/PortManager.h"
#include "tests/fakes/FakeHid.h"
#include "tests/portmgr/bridge/BridgeTestSupport.h"
#include "tests/portmgr/bridge/FakeActivityView.h"
#include "tests/portmgr/bridge/PtyHost.h"
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

class NullTray : public TTrayState
{
public:
    void SetTrayState(const std::string&, bool) override {}
};
class NullMenu : public TMenuItem
{
public:
    void SetEnabled(bool) override {}
    void SetChecked(bool) override {}
};

// The bridge in this process, with the headless bridge's loop on a thread of
// its own standing for the main thread.
class InProcessBridge
{
public:
    explicit InProcessBridge(int keypads)
    {
        ::setenv("TESSARON_HIDAPI", TESSARON_FAKEHID_LIBRARY, 1);
        fakehid_reset();
        std::string ini = "[Port Settings]\r\n";
        for (int i = 1; i <= keypads; ++i) {
            const std::string path = "sim-" + std::to_string(i);
            ids.push_back(fakehid_add_device(0x16C0, 0x0604, path.c_str()));
            ini += "COM_Assignment_" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
            ini += "GUID_" + std::to_string(i) + "=" + path + "\r\n";
        }
        home.write("Corvandelle.ini", ini);
        ok = control.StartPorts() == 0;
        pump = std::thread([this] {
            loop.Run();
            ticks.store(loop.Ticks());
        });
    }
    ~InProcessBridge()
    {
        halt();
        control.StopPorts();
        fakehid_reset();
    }
    // Ends the loop (Ticks() is then final).
    void halt()
    {
        if (pump.joinable()) {
            stop.Signal();
            pump.join();
        }
    }
    std::string port(int n) { return home.file("ports/COM" + std::to_string(n)); }

    TWakeEvent wake; // outlives the keypads' threads
    TWakeEvent stop;
    TempHome home;
    TPortManager pm;
    FakeActivityView view;
    TSlotActivityState slotState{pm};
    TActivityMonitor leds{view, slotState};
    TPlainPollTimer timer;
    NullTray tray;
    NullMenu menu;
    TBridgeControl control{{pm, timer, tray, menu, leds, nullptr}};
    TBridgeLoop loop{pm, control.Pump(), timer, wake, stop.Fd()};
    std::vector<int> ids;
    bool ok = false;
    std::atomic<long> ticks{0};
    std::thread pump;
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

// Sleeps 0 to 5 ms, so that the reports fall on every phase of the pump's tick.
void jitter(std::minstd_rand& rng)
{
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 5000));
}

constexpr int kLatencySamples = 1000;

// state.range(0): pause between reports in ms (0: 0 to 5 ms at random).
void BM_LatencyBridge(benchmark::State& state)
{
    const int pauseMs = static_cast<int>(state.range(0));
    const int samplesWanted = pauseMs > 0 ? 200 : kLatencySamples;
    for (auto _ : state) {
        InProcessBridge bridge(1);
        PtyHost host(bridge.port(1));
        if (!bridge.ok || !host.isOpen()) {
            state.SkipWithError("bridge did not start");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1100)); // first tick after 1 s
        std::vector<double> samples;
        std::minstd_rand rng(1);
        int lost = 0;
        for (int i = 0; i < samplesWanted; ++i) {
            if (pauseMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            } else {
                jitter(rng);
            }
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

void BM_LatencySocat(benchmark::State& state)
{
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
        PtyHost keypadEnd(a);
        PtyHost host(b);
        if (!keypadEnd.isOpen() || !host.isOpen()) {
            state.SkipWithError("socat did not start (is it installed?)");
        } else {
            std::vector<double> samples;
            std::minstd_rand rng(1);
            int lost = 0;
            for (int i = 0; i < kLatencySamples; ++i) {
                jitter(rng);
                const unsigned char sent = static_cast<unsigned char>('A' + i % 26);
                const auto t0 = Clock::now();
                if (::write(keypadEnd.fd(), &sent, 1) != 1) {
                    ++lost;
                    continue;
                }
                unsigned char got = 0;
                if (!readOne(host.fd(), got) || got != sent) {
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
        PtyHost host(bridge.port(1));
        if (!bridge.ok || !host.isOpen()) {
            state.SkipWithError("bridge did not start");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
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
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        bridge.halt();
        // Ticks since the start of the loop: its first second has none.
        const double ticks = static_cast<double>(bridge.ticks.load());
        state.counters["seconds"] = seconds;
        state.counters["bytes_per_s"] = static_cast<double>(inWindow) / seconds;
        state.counters["limit_per_s"] = 16.0 * ticks / (elapsed + 0.1);
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
        PtyHost host(bridge.port(1));
        const int id = bridge.ids[0];
        if (!bridge.ok || !host.isOpen()) {
            state.SkipWithError("bridge did not start");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
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

// One tick of the pump over six open keypads whose hosts hold their ports open
// and send nothing: the work the main thread does 200 times a second.
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
        bridge.control.Pump().TmrKeypadPollTimer();
    }
}

// CPU time of all threads of a process so far, in seconds: the scheduler's
// nanosecond count of each thread (utime and stime only count 10 ms ticks).
double cpuSeconds(pid_t pid)
{
    const std::string folder = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) {
        return -1;
    }
    double total = 0;
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') {
            continue;
        }
        FILE* f = std::fopen((folder + "/" + e->d_name + "/schedstat").c_str(), "r");
        unsigned long long ns = 0;
        if (f != nullptr) {
            if (std::fscanf(f, "%llu", &ns) == 1) {
                total += static_cast<double>(ns) / 1e9;
            }
            std::fclose(f);
        }
    }
    ::closedir(d);
    return total;
}

// A real `tessaron bridge` with six simulated keypads (each sending its empty
// report every 100 ms, as keypads do) and six hosts holding the ports open.
void BM_IdleCpuSixKeypads(benchmark::State& state)
{
    const int seconds = benchSeconds(10);
    for (auto _ : state) {
        TempDir home;
        const std::string runtime = home.file("runtime");
        ::mkdir(runtime.c_str(), 0700);
        std::string setup;
        std::string ini = "[Port Settings]\r\n";
        for (int i = 1; i <= 6; ++i) {
            setup += "add 16c0:0604 sim-" + std::to_string(i) + "\n";
            ini += "COM_Assignment_" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
            ini += "GUID_" + std::to_string(i) + "=sim-" + std::to_string(i) + "\r\n";
        }
        WriteFile(home.file("setup"), setup);
        WriteFile(home.file("Corvandelle.ini"), ini);

        const std::string envHome = "TESSARON_HOME=" + home.path();
        const std::string envRuntime = "TESSARON_LOCK_DIR=" + runtime;
        const std::string envHid = std::string("TESSARON_HIDAPI=") + TESSARON_FAKEHID_LIBRARY;
        const std::string envSetup = "TESSARON_FAKEHID_SETUP=" + home.file("setup");
        char* envp[] = {const_cast<char*>(envHome.c_str()), const_cast<char*>(envRuntime.c_str()),
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
            std::this_thread::sleep_for(std::chrono::seconds(2)); // past the first tick
            const double cpu0 = cpuSeconds(pid);
            const auto t0 = Clock::now();
            std::this_thread::sleep_for(std::chrono::seconds(seconds));
            const double cpu1 = cpuSeconds(pid);
            const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
            state.counters["seconds"] = wall;
            state.counters["cpu_percent"] = 100.0 * (cpu1 - cpu0) / wall;
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
        const int talkingId = fakehid_add_device(0x16C0, 0x0604, "/dev/hidraw-talking");
        auto talking = TDeviceHandle::ForHid(hid_open_path("/dev/hidraw-talking"),
                                             hid_open_path("/dev/hidraw-talking"), FakeHidCalls());
        PtyPair quiet;
        PtyPair hungUp;
        ::close(hungUp.master);
        hungUp.master = -1;
        (void)talkingId;
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

} // namespace

BENCHMARK(BM_IdleThreadCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LatencyBridge)
    ->Arg(0)
    ->Arg(150)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_LatencySocat)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ThroughputKeypadToHost)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ThroughputHostToKeypad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PumpTickIdleSixKeypads)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleCpuSixKeypads)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
