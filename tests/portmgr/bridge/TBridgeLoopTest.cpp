// The bridge's event loop: what makes its descriptor readable, and that
// nothing else does. How soon and how cheaply is the benchmark's to show.
#include "BridgeFixture.h"

#include "tests/fakes/FakeHid.h"
#include "tests/support/PtyHost.h"

#include <chrono>
#include <fstream>
#include <poll.h>

using namespace tessaron;
using namespace tessaron::test;
using Clock = std::chrono::steady_clock;

namespace {

class BridgeLoop : public BridgeFixture
{
protected:
    // Runs the loop as a front end does until condition() holds (at most ms).
    template <typename F>
    bool runUntil(F condition, int ms = 5000)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!condition()) {
            if (Clock::now() >= end) {
                return false;
            }
            pollfd p{control.PollFd(), POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                control.Dispatch();
            }
        }
        return true;
    }
    // Runs the loop until it has been idle for ms; false when it woke all along.
    bool settle(int ms = 300) { return !wakesWithin(ms) || !wakesWithin(ms) || !wakesWithin(ms); }
    // Whether the loop's descriptor becomes readable within ms (handled if so).
    bool wakesWithin(int ms)
    {
        pollfd p{control.PollFd(), POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) {
            return false;
        }
        control.Dispatch();
        return true;
    }
    bool logged(const std::string& line)
    {
        return std::find(events.lines.begin(), events.lines.end(), line) != events.lines.end();
    }
    void start(const std::vector<std::pair<std::string, int>>& assignments)
    {
        saveAssignments(assignments);
        ASSERT_EQ(control.StartPorts(), 0);
        ASSERT_TRUE(runUntil([&] { return control.Ticks() > 0; }))
            << "the first tick comes at once";
    }
    std::string port(int n) { return home.file("ports/COM" + std::to_string(n)); }
};

} // namespace

TEST_F(BridgeLoop, HostsAndKeypadsWakeItAndNothingElseDoes)
{
    const int id = addKeypad("sim-1"); // an empty report every 100 ms
    start({{"sim-1", 3}});
    ASSERT_TRUE(settle());
    EXPECT_FALSE(wakesWithin(400)) << "an idle bridge sleeps";

    PtyHost host(port(3));
    ASSERT_TRUE(runUntil([&] { return logged("0 host+ COM3"); })) << "a host's open wakes it";
    ASSERT_TRUE(settle());
    EXPECT_FALSE(wakesWithin(400)) << "an idle host is no work";

    ASSERT_EQ(fakehid_type(id, reinterpret_cast<const unsigned char*>("k"), 1), 0);
    std::string got;
    ASSERT_TRUE(runUntil([&] {
        got += host.drain(20);
        return !got.empty();
    })) << "keypad bytes wake it";
    EXPECT_EQ(got, "k");

    ASSERT_TRUE(host.write("h"));
    ASSERT_TRUE(runUntil([&] { return fakehid_output_count(id) == 1; })) << "host bytes wake it";

    host.close();
    ASSERT_TRUE(runUntil([&] { return logged("0 host- COM3"); })) << "a host's close wakes it";
    ASSERT_TRUE(settle());
}

// 16 bytes a tick and ticks 5 ms apart while bytes are left over: 800 bytes
// take 50 ticks and at least 49 intervals.
TEST_F(BridgeLoop, TicksThatMoveDataStayFiveMillisecondsApart)
{
    const int id = addKeypad("sim-1");
    start({{"sim-1", 3}});
    PtyHost host(port(3));
    ASSERT_TRUE(runUntil([&] { return logged("0 host+ COM3"); }));
    std::string text;
    for (int i = 0; i < 800; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    for (size_t at = 0; at < text.size(); at += 56) {
        const std::string part = text.substr(at, 56);
        ASSERT_EQ(
            fakehid_type(id, reinterpret_cast<const unsigned char*>(part.data()), part.size()), 0);
    }
    // All of it waits in the ring (the loop does not run meanwhile).
    ASSERT_TRUE(WaitFor([&] { return pm.KeypadSlots[0].ReadThread->Available() == 800; }, 5000));
    const long ticks = control.Ticks();
    const auto begin = Clock::now();
    std::string got;
    ASSERT_TRUE(runUntil([&] {
        got += host.drain(20);
        return got.size() >= text.size();
    }));
    EXPECT_EQ(got, text);
    EXPECT_GE(control.Ticks() - ticks, 50);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    EXPECT_GE(ms, 49 * 5.0);
}

// The read thread, not a clock in the loop, notices that a keypad fell silent.
TEST_F(BridgeLoop, AKeypadFallingSilentWakesItToCloseTheKeypad)
{
    const int id = addKeypad("sim-1");
    start({{"sim-1", 3}});
    fakehid_set_idle_interval(id, 0);
    EXPECT_TRUE(runUntil([&] { return logged("0 silent sim-1"); }));
    EXPECT_TRUE(runUntil([&] { return events.lines.back() == "0 opened sim-1"; }))
        << "still attached: opened again at once";
}

// A remembered keypad that is absent is looked for when the system reports a
// new HID device, not on a clock.
TEST_F(BridgeLoop, AnAbsentKeypadIsLookedForWhenADeviceAppears)
{
    TempDir dev;
    control.DevFolder = dev.path();
    control.RetryMs = 3600 * 1000;
    start({{"sim-away", 3}});
    addKeypad("sim-away");
    ASSERT_TRUE(settle());
    EXPECT_FALSE(logged("0 opened sim-away"));
    std::ofstream(dev.file("hidraw7")).put('\n');
    EXPECT_TRUE(runUntil([&] { return logged("0 opened sim-away"); }));
}

// Without such reports (the simulated keypads, a folder that cannot be
// watched) they are looked for every RetryMs.
TEST_F(BridgeLoop, WithoutDeviceReportsAbsentKeypadsAreRetried)
{
    control.DevFolder = home.file("no-such-folder");
    control.RetryMs = 50;
    start({{"sim-away", 3}});
    ASSERT_TRUE(wakesWithin(2000)) << "the retry wakes it";
    addKeypad("sim-away");
    EXPECT_TRUE(runUntil([&] { return logged("0 opened sim-away"); }));
    ASSERT_TRUE(settle()) << "nothing absent, nothing retried";
}

TEST_F(BridgeLoop, StoppedItDrainsWhatComesAndDoesNothing)
{
    const int id = addKeypad("sim-1");
    start({{"sim-1", 3}});
    control.StopPorts();
    events.lines.clear();
    ASSERT_TRUE(settle());
    EXPECT_EQ(fakehid_open_handles(id), 0);
    EXPECT_TRUE(events.lines.empty());
    EXPECT_EQ(control.StartPorts(), 0) << "and starts again";
    EXPECT_TRUE(runUntil([&] { return control.Ticks() > 0; }));
}
