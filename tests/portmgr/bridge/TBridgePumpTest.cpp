#include "BridgeFixture.h"

#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"
#include "tests/fakes/FakeHid.h"
#include "tests/support/PtyHost.h"

#include <string>

using namespace tessaron;
using namespace tessaron::test;

namespace {

class BridgePump : public BridgeFixture
{
protected:
    // Lets the keypad's read thread take what the device sent.
    bool ringHolds(int slot, int n)
    {
        return WaitFor([&] { return pm.KeypadSlots[slot].ReadThread->Available() >= n; }, 3000);
    }
    bool portHolds(int slot, int n)
    {
        return WaitFor([&] { return control.Pump().Port(slot)->BytesPending() >= n; }, 3000);
    }
    void type(int id, const std::string& text)
    {
        ASSERT_EQ(
            fakehid_type(id, reinterpret_cast<const unsigned char*>(text.data()), text.size()), 0);
    }
    std::string link(int port) { return home.file("ports/COM" + std::to_string(port)); }
};

} // namespace

// A tick that is not asked to look for keypads leaves absent ones alone: the
// loop asks only on a device report or a retry (a keypad closed for silence is
// tried at once, below).
TEST_F(BridgePump, AbsentKeypadsAreLookedForOnlyWhenAsked)
{
    ASSERT_FALSE(LoadHidLibraries(pm));
    TKeypadSlot& s = pm.KeypadSlots[0];
    ASSERT_TRUE(SetDevicePath(s, "sim-1"));
    s.Flags = SlotPresent;
    const int id = addKeypad("sim-1");
    EXPECT_EQ(tick(false), 5);
    EXPECT_TRUE(control.Pump().KeypadsAbsent());
    EXPECT_EQ(fakehid_total_opens(id), 0);
    tick(true);
    EXPECT_TRUE(s.Flags & SlotOpen);
    EXPECT_FALSE(control.Pump().KeypadsAbsent());
}

TEST_F(BridgePump, TwentyBytesInTheRingReachTheHostAsSixteenThenFour)
{
    const int id = addKeypad("sim-1");
    openSlot(0, "sim-1", 3);
    PtyHost host(link(3));
    type(id, "abcdefghijklmnopqrst");
    ASSERT_TRUE(ringHolds(0, 20));

    tick();
    EXPECT_EQ(host.read(16, 2000), "abcdefghijklmnop");
    EXPECT_EQ(host.drain(30), "");
    EXPECT_EQ(pm.KeypadSlots[0].ReadThread->Available(), 4);
    EXPECT_TRUE(control.Pump().MoreWork()) << "the loop ticks again 5 ms later";
    tick();
    EXPECT_EQ(host.read(4, 2000), "qrst");
    EXPECT_FALSE(control.Pump().MoreWork());
}

TEST_F(BridgePump, TenHostBytesLeaveAsReportsOfSevenThenThree)
{
    const int id = addKeypad("sim-1");
    openSlot(0, "sim-1", 4);
    PtyHost host(link(4));
    ASSERT_TRUE(host.write("0123456789"));
    ASSERT_TRUE(portHolds(0, 10));

    tick();
    EXPECT_EQ(control.Pump().Port(0)->BytesPending(), 3);
    EXPECT_TRUE(control.Pump().MoreWork());
    ASSERT_EQ(fakehid_wait_outputs(id, 1, 2000), 1);
    tick();
    EXPECT_EQ(control.Pump().Port(0)->BytesPending(), 0);
    ASSERT_EQ(fakehid_wait_outputs(id, 2, 2000), 2);
    EXPECT_EQ(outputs(id), (std::vector<std::string>{"7:0123456", "3:789"}));
}

TEST_F(BridgePump, HostBytesForAnAbsentKeypadAreReadAndDiscardedSevenATick)
{
    ASSERT_FALSE(LoadHidLibraries(pm));
    TKeypadSlot& s = pm.KeypadSlots[1];
    ASSERT_TRUE(SetDevicePath(s, "sim-absent"));
    s.Flags = SlotPresent;
    s.ComPort = 5;
    ASSERT_TRUE(control.Pump().CreatePort(1));
    PtyHost host(link(5));
    ASSERT_TRUE(host.write("0123456789"));
    ASSERT_TRUE(portHolds(1, 10));

    tick();
    EXPECT_EQ(control.Pump().Port(1)->BytesPending(), 3);
    EXPECT_TRUE(view.lit(TLedGroup::ComRx, 1));
    EXPECT_FALSE(view.lit(TLedGroup::UsbTx, 1)) << "nothing goes to a keypad";
    tick();
    EXPECT_EQ(control.Pump().Port(1)->BytesPending(), 0);
    EXPECT_FALSE(s.Flags & SlotOpen);

    // When the keypad comes, it gets none of it.
    const int id = addKeypad("sim-absent");
    tick();
    EXPECT_TRUE(s.Flags & SlotOpen);
    tick();
    EXPECT_EQ(fakehid_output_count(id), 0);
}

TEST_F(BridgePump, KeypadBytesWithoutAnAssignedPortAreTakenAndDropped)
{
    const int id = addKeypad("sim-1");
    openSlot(2, "sim-1", 0);
    type(id, "dropped");
    ASSERT_TRUE(ringHolds(2, 7));
    tick();
    EXPECT_EQ(pm.KeypadSlots[2].ReadThread->Available(), 0);
    EXPECT_TRUE(view.lit(TLedGroup::UsbRx, 2));
    EXPECT_FALSE(view.lit(TLedGroup::ComTx, 2));
    EXPECT_EQ(view.comIdCalls[2], 0) << "a slot without a port leaves its COM id box alone";
}

TEST_F(BridgePump, TwentySilentWaitsKeepAKeypadOpenAndTheTwentyFirstClosesIt)
{
    const int id = addKeypad("sim-1");
    fakehid_set_idle_interval(id, 0);
    fakehid_hold_reads(id, 1);
    openSlot(0, "sim-1", 3);
    TKeypadSlot& s = pm.KeypadSlots[0];

    fakehid_release_reads(id, 20);
    ASSERT_GE(fakehid_wait_reads(id, 21, 3000), 21);
    ASSERT_EQ(s.ReadThread->SilentWaits.load(), 20);
    tick();
    EXPECT_TRUE(s.Flags & SlotOpen);
    EXPECT_TRUE(pm.UsbConnected[0]);
    EXPECT_EQ(fakehid_total_opens(id), 2); // opened twice: reads, writes

    fakehid_release_reads(id, 1);
    ASSERT_TRUE(WaitFor([&] { return s.ReadThread->SilentWaits.load() == 21; }, 3000));
    fakehid_unplug(id);
    tick();
    EXPECT_FALSE(s.Flags & SlotOpen);
    EXPECT_FALSE(pm.UsbConnected[0]);
    EXPECT_EQ(fakehid_open_handles(id), 0);
    EXPECT_EQ(std::string(s.DevicePath), "sim-1") << "the slot stays present";
    EXPECT_TRUE(s.Flags & SlotPresent);
    EXPECT_EQ(s.ComPort, 3);
    EXPECT_EQ(events.lines.back(), "0 silent sim-1");

    // Every tick tries again; plugged in, it is reopened on the next one.
    tick();
    EXPECT_FALSE(s.Flags & SlotOpen);
    fakehid_plug(id, nullptr);
    fakehid_hold_reads(id, 0);
    tick();
    EXPECT_TRUE(s.Flags & SlotOpen);
    EXPECT_TRUE(pm.UsbConnected[0]);
    EXPECT_EQ(events.lines.back(), "0 opened sim-1");
    EXPECT_TRUE(WaitFor([&] { return fakehid_feature_count(id) >= 2; }, 2000))
        << "the reopened keypad is told its port again";
}

TEST_F(BridgePump, ASilentButAttachedKeypadIsReopenedAtOnce)
{
    const int id = addKeypad("sim-1");
    fakehid_set_idle_interval(id, 0);
    fakehid_hold_reads(id, 1);
    openSlot(0, "sim-1", 3);
    fakehid_release_reads(id, 21);
    ASSERT_TRUE(
        WaitFor([&] { return pm.KeypadSlots[0].ReadThread->SilentWaits.load() == 21; }, 3000));
    fakehid_hold_reads(id, 0); // reads time out by the clock again
    tick(false);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"0 silent sim-1", "0 opened sim-1"}));
    EXPECT_TRUE(pm.KeypadSlots[0].Flags & SlotOpen);
    EXPECT_EQ(fakehid_total_opens(id), 4);
}

TEST_F(BridgePump, HostOpeningAndClosingShowsInTheComIdBox)
{
    addKeypad("sim-1");
    openSlot(0, "sim-1", 3);
    tick();
    EXPECT_FALSE(view.comId[0]);
    {
        PtyHost host(link(3));
        EXPECT_FALSE(view.comId[0]) << "not before the next tick";
        tick();
        EXPECT_TRUE(view.comId[0]);
        tick();
    }
    tick();
    EXPECT_FALSE(view.comId[0]);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"0 host+ COM3", "0 host- COM3"}));
}

TEST_F(BridgePump, FlashesFollowTheBytes)
{
    const int id = addKeypad("sim-1");
    openSlot(0, "sim-1", 3);
    leds.ShowLeds();
    type(id, "x");
    ASSERT_TRUE(ringHolds(0, 1));
    tick();
    EXPECT_TRUE(view.lit(TLedGroup::UsbRx, 0));
    EXPECT_FALSE(view.lit(TLedGroup::ComTx, 0)) << "no host to hand it to";
    leds.TmrActivityTimer();
    leds.TmrActivityTimer();
    EXPECT_EQ(view.litCount(), 0);

    PtyHost host(link(3));
    type(id, "y");
    ASSERT_TRUE(ringHolds(0, 1));
    tick();
    EXPECT_TRUE(view.lit(TLedGroup::UsbRx, 0));
    EXPECT_TRUE(view.lit(TLedGroup::ComTx, 0));
    EXPECT_EQ(host.read(1, 2000), "y");

    ASSERT_TRUE(host.write("z"));
    ASSERT_TRUE(portHolds(0, 1));
    tick();
    EXPECT_TRUE(view.lit(TLedGroup::ComRx, 0));
    EXPECT_TRUE(view.lit(TLedGroup::UsbTx, 0));
}

TEST_F(BridgePump, SlotsArePumpedIndependently)
{
    const int a = addKeypad("sim-a");
    const int b = addKeypad("sim-b");
    openSlot(0, "sim-a", 1);
    openSlot(5, "sim-b", 16);
    PtyHost hostA(link(1));
    PtyHost hostB(link(16));
    type(a, "for A");
    type(b, "for B");
    ASSERT_TRUE(ringHolds(0, 5));
    ASSERT_TRUE(ringHolds(5, 5));
    ASSERT_TRUE(hostA.write("to a"));
    ASSERT_TRUE(hostB.write("to b"));
    ASSERT_TRUE(portHolds(0, 4));
    ASSERT_TRUE(portHolds(5, 4));
    tick();
    EXPECT_EQ(hostA.read(5, 2000), "for A");
    EXPECT_EQ(hostB.read(5, 2000), "for B");
    ASSERT_EQ(fakehid_wait_outputs(a, 1, 2000), 1);
    ASSERT_EQ(fakehid_wait_outputs(b, 1, 2000), 1);
    EXPECT_EQ(outputs(a), std::vector<std::string>{"4:to a"});
    EXPECT_EQ(outputs(b), std::vector<std::string>{"4:to b"});
}

// The write thread sends at most 7 bytes per 10 ms, slower than the pump's 7
// bytes per 5 ms tick: the pump must leave what the ring cannot take in the
// port instead of losing it.
TEST_F(BridgePump, AHostFasterThanTheKeypadLosesNothing)
{
    const int id = addKeypad("sim-1");
    openSlot(0, "sim-1", 3);
    PtyHost host(link(3));
    std::string sent;
    for (int i = 0; sent.size() < 2500; ++i) {
        sent += static_cast<char>('A' + i % 26);
    }
    ASSERT_TRUE(host.write(sent));

    std::string received;
    const auto collect = [&] {
        received.clear();
        for (const std::string& o : outputs(id)) {
            received += o.substr(o.find(':') + 1);
        }
        return received.size() >= sent.size();
    };
    ASSERT_TRUE(WaitFor(
        [&] {
            tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
            return collect();
        },
        20000));
    EXPECT_EQ(received, sent);
}
