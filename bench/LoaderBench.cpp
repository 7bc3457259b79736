// The loader's pacing: the byte stream of a download image against a keypad at
// the far end of a pseudo-terminal linked as ports/COM3, each byte's arrival
// time noted. Reports the gaps between bytes against DownloadDelay and the time
// a whole image takes.
#include "editor/model/DownloadImage.h"
#include "siblings/core/DownloadImageFile.h"
#include "siblings/core/Loader.h"
#include "tests/support/TempHome.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace tessaron;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// A suite folder with a document's image, Tavrix.ini and a keypad on COM3
// that notes when each byte arrives.
class Bench
{
public:
    explicit Bench(int delayMs, bool fullDocument)
    {
        fs::create_directories(m_home.file("ports"));
        TKeypadClass k;
        for (int key = 0; key < (fullDocument ? MaxKeys : 4); ++key) {
            for (int level = 0; level < 2; ++level) {
                int pos = 0;
                for (int i = 0; i < (fullDocument ? 100 : 10); ++i) {
                    k.InsertItem(key, level, pos, 'a' + (key + i) % 26);
                }
            }
        }
        m_image = m_home.file("keys.hex");
        WriteDownloadImage(k, m_image, m_home.file("none.ini"));
        m_bytes = ReadDownloadImageFile(m_image).Bytes.size();
        m_home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=3\r\nComType=R\r\n"
                                   "DownloadDelay=" +
                                       std::to_string(delayMs) + "\r\n");

        char name[128];
        int slave = -1;
        if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        ::close(slave);
        ::symlink(name, m_home.file("ports/COM3").c_str());
    }

    ~Bench() { ::close(m_master); }

    // One download; the arrival time of every byte.
    std::vector<Clock::time_point> Download(double& seconds)
    {
        std::vector<Clock::time_point> arrivals;
        arrivals.reserve(m_bytes);
        std::atomic<bool> stop{false};
        std::thread keypad([&] {
            unsigned char buffer[256];
            while (arrivals.size() < m_bytes && !stop.load()) {
                pollfd p{m_master, POLLIN, 0};
                if (::poll(&p, 1, 100) <= 0 || !(p.revents & POLLIN)) {
                    continue;
                }
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                const Clock::time_point now = Clock::now();
                for (ssize_t i = 0; i < n; ++i) {
                    arrivals.push_back(now);
                }
            }
        });
        TLoader loader;
        const Clock::time_point start = Clock::now();
        if (loader.Prepare(m_image, m_home.file("Tavrix.ini")) != TLoader::Outcome::Ready) {
            stop.store(true);
            keypad.join();
            throw std::runtime_error(loader.Message());
        }
        TPacer pacer;
        loader.Send(pacer);
        keypad.join();
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return arrivals;
    }

    size_t Bytes() const { return m_bytes; }

private:
    tessaron::test::TempHome m_home;
    std::string m_image;
    size_t m_bytes = 0;
    int m_master = -1;
};

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

// A small image (4 keys of 10 bytes a level) at DownloadDelay ms.
void BM_PacedDownload(benchmark::State& state)
{
    const int delay = static_cast<int>(state.range(0));
    Bench bench(delay, false);
    std::vector<double> gaps;
    double overrun = 0;
    for (auto _ : state) {
        double seconds = 0;
        const auto arrivals = bench.Download(seconds);
        state.SetIterationTime(seconds);
        for (size_t i = 1; i < arrivals.size(); ++i) {
            gaps.push_back(
                std::chrono::duration<double, std::milli>(arrivals[i] - arrivals[i - 1]).count());
        }
        overrun = std::max(overrun, seconds * 1000.0 - delay * static_cast<double>(bench.Bytes()));
    }
    state.counters["bytes"] = static_cast<double>(bench.Bytes());
    state.counters["gap_p50_ms"] = Percentile(gaps, 0.5);
    state.counters["gap_p1_ms"] = Percentile(gaps, 0.01);
    state.counters["gap_p99_ms"] = Percentile(gaps, 0.99);
    state.counters["overrun_ms"] = overrun;
}
BENCHMARK(BM_PacedDownload)
    ->Arg(1)
    ->Arg(10)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A full document (every macro 100 bytes) without a delay: the port's pace alone.
void BM_FullImageNoDelay(benchmark::State& state)
{
    Bench bench(0, true);
    for (auto _ : state) {
        double seconds = 0;
        bench.Download(seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["bytes"] = static_cast<double>(bench.Bytes());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bench.Bytes()));
}
BENCHMARK(BM_FullImageNoDelay)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
