#include "BridgeFixture.h"

#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"
#include "tests/fakes/FakeHid.h"
#include "tests/support/PtyHost.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessaron;
using namespace tessaron::test;

namespace {

class BridgeControl : public BridgeFixture
{
protected:
    bool linkExists(int port)
    {
        struct stat st
        {
        };
        return ::lstat(home.file("ports/COM" + std::to_string(port)).c_str(), &st) == 0;
    }
    std::string linkTarget(int port)
    {
        char target[PATH_MAX];
        const std::string path = home.file("ports/COM" + std::to_string(port));
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
    }
};

} // namespace

TEST_F(BridgeControl, NoKeypadAndNoAssignmentStillRuns)
{
    EXPECT_EQ(control.StartPorts(), 0);
    EXPECT_TRUE(control.Running());
    EXPECT_FALSE(linkExists(1));
    EXPECT_EQ(events.lines, std::vector<std::string>{"running"});
    for (const TKeypadSlot& s : pm.KeypadSlots) {
        EXPECT_EQ(s.Flags, 0);
    }
}

TEST_F(BridgeControl, AnAttachedKeypadGetsItsRememberedPort)
{
    const int id = addKeypad("sim-1");
    addKeypad("sim-unassigned");
    saveAssignments({{"sim-1", 3}});
    ASSERT_EQ(control.StartPorts(), 0);

    const TKeypadSlot& s = pm.KeypadSlots[0];
    EXPECT_EQ(s.ComPort, 3);
    EXPECT_TRUE(s.Flags & SlotOpen);
    EXPECT_TRUE(pm.UsbConnected[0]);
    EXPECT_TRUE(pm.PortAssignments[0].InUse);
    EXPECT_EQ(linkTarget(3), control.Pump().Port(0)->SlavePath());
    EXPECT_EQ(control.Pump().PortName(0), "COM3");
    // The keypad learns its port number.
    ASSERT_GE(fakehid_feature_count(id), 1);
    unsigned char feature[8] = {};
    fakehid_feature(id, 0, feature, sizeof feature);
    EXPECT_EQ(feature[1], 3);

    // A keypad without an assignment is opened but gets no port.
    const TKeypadSlot& other = pm.KeypadSlots[1];
    EXPECT_TRUE(other.Flags & SlotOpen);
    EXPECT_EQ(other.ComPort, 0);
    EXPECT_FALSE(control.Pump().Port(1));
    EXPECT_EQ(events.lines, (std::vector<std::string>{"0 opened sim-1", "0 created COM3",
                                                      "1 opened sim-unassigned", "running"}));
}

TEST_F(BridgeControl, ARememberedAbsentKeypadGetsItsPortAndIsOpenedWhenItComes)
{
    addKeypad("sim-here");
    saveAssignments({{"sim-away", 7}, {"sim-here", 2}});
    ASSERT_EQ(control.StartPorts(), 0);

    // Attached keypads keep the first slots; the remembered one takes the next free one.
    EXPECT_EQ(std::string(pm.KeypadSlots[0].DevicePath), "sim-here");
    EXPECT_EQ(pm.KeypadSlots[0].ComPort, 2);
    const TKeypadSlot& away = pm.KeypadSlots[1];
    EXPECT_EQ(std::string(away.DevicePath), "sim-away");
    EXPECT_EQ(away.Flags, SlotPresent);
    EXPECT_EQ(away.ComPort, 7);
    EXPECT_TRUE(pm.PortAssignments[0].InUse);
    EXPECT_TRUE(linkExists(7));
    EXPECT_FALSE(pm.UsbConnected[1]);

    // Plugged in later: the pump connects it, no action needed.
    tick();
    EXPECT_FALSE(away.Flags & SlotOpen);
    const int id = addKeypad("sim-away");
    tick();
    EXPECT_TRUE(away.Flags & SlotOpen);
    EXPECT_TRUE(pm.UsbConnected[1]);
    PtyHost host(home.file("ports/COM7"));
    ASSERT_EQ(fakehid_type(id, reinterpret_cast<const unsigned char*>("hi"), 2), 0);
    EXPECT_TRUE(WaitFor(
        [&] {
            tick();
            return !host.drain(5).empty();
        },
        3000));
}

TEST_F(BridgeControl, ARememberedKeypadWithoutAFreeSlotIsSkipped)
{
    std::vector<std::pair<std::string, int>> saved;
    for (int i = 1; i <= 6; ++i) {
        addKeypad("sim-" + std::to_string(i));
    }
    // Five attached keypads are remembered, and one that is absent.
    for (int i = 1; i <= 5; ++i) {
        saved.push_back({"sim-" + std::to_string(i), i});
    }
    saved.push_back({"sim-away", 9});
    saveAssignments(saved);
    ASSERT_EQ(control.StartPorts(), 0);
    for (int i = 0; i < 6; ++i) {
        const TKeypadSlot& s = pm.KeypadSlots[i];
        EXPECT_EQ(std::string(s.DevicePath), "sim-" + std::to_string(i + 1)) << i;
        EXPECT_EQ(s.ComPort, i < 5 ? i + 1 : 0) << i;
        EXPECT_TRUE(s.Flags & SlotOpen) << i;
    }
    EXPECT_FALSE(pm.PortAssignments[5].InUse);
    EXPECT_FALSE(linkExists(9));
}

TEST_F(BridgeControl, TheSameIdentityTwiceInTheFileMakesOneSlot)
{
    saveAssignments({{"sim-away", 4}, {"sim-away", 5}});
    ASSERT_EQ(control.StartPorts(), 0);
    EXPECT_EQ(std::string(pm.KeypadSlots[0].DevicePath), "sim-away");
    EXPECT_EQ(pm.KeypadSlots[0].ComPort, 4);
    EXPECT_EQ(pm.KeypadSlots[1].Flags, 0);
    EXPECT_FALSE(linkExists(5));
}

TEST_F(BridgeControl, PortsThatCannotBeMadeAreCountedAndBridgingStaysOff)
{
    home.write("ports/COM3", "somebody's file");
    ::symlink("/dev/ttyS0", home.file("ports/COM4").c_str());
    addKeypad("sim-1");
    saveAssignments({{"sim-1", 3}, {"sim-away", 4}, {"sim-ok", 5}});
    EXPECT_EQ(control.StartPorts(), 2);
    EXPECT_FALSE(control.Running());
    EXPECT_EQ(std::count(events.lines.begin(), events.lines.end(), "running"), 0)
        << "the front end keeps its state";
    EXPECT_TRUE(linkExists(5));

    control.StopPorts();
    EXPECT_EQ(home.read("ports/COM3"), "somebody's file");
    EXPECT_EQ(linkTarget(4), "/dev/ttyS0");
    EXPECT_FALSE(linkExists(5)) << "what it made, it removes";
}

TEST_F(BridgeControl, StopPortsRemovesEveryPortSoTheNextStartSucceeds)
{
    const int id = addKeypad("sim-1");
    saveAssignments({{"sim-1", 3}, {"sim-away", 8}});
    ASSERT_EQ(control.StartPorts(), 0);
    PtyHost host(home.file("ports/COM3"));
    tick();
    events.lines.clear();

    control.StopPorts();
    EXPECT_FALSE(control.Running());
    EXPECT_FALSE(linkExists(3));
    EXPECT_FALSE(linkExists(8));
    EXPECT_FALSE(::access(TVirtualPort::MarkerPath("COM3").c_str(), F_OK) == 0);
    for (int i = 0; i < MaxKeypads; ++i) {
        EXPECT_FALSE(pm.KeypadSlots[i].Flags & SlotOpen);
        EXPECT_FALSE(control.Pump().Port(i));
    }
    for (const TPortAssignment& a : pm.PortAssignments) {
        EXPECT_FALSE(a.InUse);
    }
    EXPECT_EQ(fakehid_open_handles(id), 0);
    EXPECT_TRUE(pm.UsbConnected[0]) << "only the pump clears it";
    // The front end hears of the stop before anything goes (the LED window
    // hides then), and of its end last.
    EXPECT_EQ(events.lines,
              (std::vector<std::string>{"stopping", "0 deleted COM3", "0 closed sim-1",
                                        "1 deleted COM8", "stopped"}));

    ASSERT_EQ(control.StartPorts(), 0);
    EXPECT_TRUE(linkExists(3));
    EXPECT_TRUE(linkExists(8));

    // Twice stopped is harmless.
    control.StopPorts();
    events.lines.clear();
    control.StopPorts();
    EXPECT_EQ(events.lines, (std::vector<std::string>{"stopping", "stopped"}));
}

// The kernel lets a write to a USB keypad that stopped answering hang for
// seconds: StopPorts does not wait for it, and the keypad is not opened again
// until that write has given up and its device is closed.
TEST_F(BridgeControl, StopPortsDoesNotWaitForAKeypadStuckInAWrite)
{
    const int id = addKeypad("sim-1");
    saveAssignments({{"sim-1", 3}});
    ASSERT_EQ(control.StartPorts(), 0);
    fakehid_stall_writes(id, 1);
    pm.KeypadSlots[0].WriteThread->Queue(3, reinterpret_cast<const std::uint8_t*>("abc"));
    ASSERT_TRUE(WaitFor([&] { return fakehid_stalled_writes(id) == 1; }, 3000));

    control.StopPorts();
    EXPECT_EQ(fakehid_stalled_writes(id), 1) << "StopPorts waited for the write";
    EXPECT_FALSE(linkExists(3));
    EXPECT_FALSE(pm.KeypadSlots[0].Flags & SlotOpen);
    EXPECT_TRUE(OpenUsbKeypad(pm, 0)) << "opened while its old write still hangs";
    fakehid_stall_writes(id, 0);
    pm.JoinRetired();
    EXPECT_EQ(fakehid_open_handles(id), 0);
    EXPECT_FALSE(OpenUsbKeypad(pm, 0));
}

TEST_F(BridgeControl, StopPortsKeepsItsFixedWaits)
{
    std::vector<int> waits;
    control.SleepMs = [&](int ms) { waits.push_back(ms); };
    control.StopPorts();
    control.SleepMs = [](int) {};
    ASSERT_EQ(waits.size(), 13u);
    EXPECT_EQ(waits[0], 100);
    for (size_t i = 1; i < waits.size(); ++i) {
        EXPECT_EQ(waits[i], 20);
    }
}

TEST_F(BridgeControl, WithoutHidapiStartPortsFailsAndChangesNothing)
{
    ::setenv("TESSARON_HIDAPI", "/nonexistent/libhidapi.so", 1);
    saveAssignments({{"sim-away", 4}});
    EXPECT_EQ(control.StartPorts(), -1);
    EXPECT_FALSE(control.Running());
    EXPECT_TRUE(events.lines.empty());
    EXPECT_FALSE(linkExists(4));
}
