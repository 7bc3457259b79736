#include "BridgeFixture.h"

#include "portmgr/bridge/TBridgeLoop.h"
#include "portmgr/bridge/TWakeEvent.h"
#include "tests/fakes/FakeHid.h"
#include "tests/portmgr/bridge/PtyHost.h"

#include <chrono>
#include <thread>

using namespace tessaron;
using namespace tessaron::test;
using Clock = std::chrono::steady_clock;

namespace {

// The headless loop on a thread of its own, standing for the main thread: the
// test only acts as keypad and host while it runs, and looks at the bridge's
// state after it ended.
class BridgeLoop : public BridgeFixture
{
protected:
    void SetUp() override
    {
        keypad = addKeypad("sim-1");
        saveAssignments({{"sim-1", 3}});
        ASSERT_EQ(control.StartPorts(), 0);
        host.open(home.file("ports/COM3"));
        ASSERT_TRUE(host.isOpen());
        timer.SetInterval(5); // no need to wait a second for the first tick
        runner = std::thread([this] { loop.Run(); });
    }
    void TearDown() override
    {
        halt();
        control.StopPorts(); // the threads end before wake does
    }
    void halt()
    {
        if (runner.joinable()) {
            stop.Signal();
            runner.join();
        }
    }
    double msSince(Clock::time_point t)
    {
        return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    }

    TWakeEvent stop;
    TWakeEvent wake; // outlives the keypad's threads: they end in StopPorts
    TBridgeLoop loop{pm, control.Pump(), timer, wake, stop.Fd()};
    std::thread runner;
    PtyHost host;
    int keypad = 0;
};

} // namespace

// How long the loop takes and how rarely it ticks are the benchmark's to show.
TEST_F(BridgeLoop, AQuietBridgeStillCarriesDataBothWays)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // quiet: resting
    ASSERT_EQ(fakehid_type(keypad, reinterpret_cast<const unsigned char*>("k"), 1), 0);
    EXPECT_EQ(host.read(1, 5000), "k");
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // quiet: resting
    ASSERT_TRUE(host.write("h"));
    EXPECT_EQ(fakehid_wait_outputs(keypad, 1, 5000), 1);
}

TEST_F(BridgeLoop, BusyBridgeTicksEveryFiveMilliseconds)
{
    std::string text;
    for (int i = 0; i < 800; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    const auto start = Clock::now();
    for (size_t at = 0; at < text.size(); at += 56) {
        const std::string part = text.substr(at, 56);
        ASSERT_EQ(
            fakehid_type(keypad, reinterpret_cast<const unsigned char*>(part.data()), part.size()),
            0);
    }
    EXPECT_EQ(host.read(text.size(), 5000), text);
    const double elapsed = msSince(start);
    halt();
    // 16 bytes a tick: 50 ticks, about 250 ms; never faster than 5 ms a tick.
    EXPECT_GE(elapsed, 49 * 5.0);
    EXPECT_GE(loop.Ticks(), 50);
}

TEST_F(BridgeLoop, AStopEndsTheLoop)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // quiet: resting
    halt();
    EXPECT_FALSE(runner.joinable());
}
