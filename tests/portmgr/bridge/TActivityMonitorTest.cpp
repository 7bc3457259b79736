#include "portmgr/bridge/TActivityMonitor.h"
#include "tests/portmgr/bridge/FakeActivityView.h"

#include <gtest/gtest.h>

using tessaron::TActivityMonitor;
using tessaron::TLedGroup;
using tessaron::test::FakeActivityView;
using tessaron::test::FakeSlotState;

namespace {

struct Monitor
{
    FakeActivityView view;
    FakeSlotState slots;
    TActivityMonitor monitor{view, slots};
};

} // namespace

TEST(TActivityMonitor, ShowLedsPlacesTheWindowAndResetsEverything)
{
    Monitor m;
    m.slots.present[0] = m.slots.present[2] = true;
    m.slots.open[0] = true;
    // Flashes while hidden stay lit...
    m.monitor.FlashUsbRx(1);
    m.monitor.FlashComTx(5);
    EXPECT_TRUE(m.view.lit(TLedGroup::UsbRx, 1));
    EXPECT_EQ(m.monitor.Hold(1), 2);
    m.monitor.TmrActivityTimer(); // the window's timer is off while hidden; even so
    // ...until ShowLeds darkens all of them.
    m.monitor.ShowLeds();
    EXPECT_EQ(m.view.left, 1920 - 240);
    EXPECT_EQ(m.view.top, 1080 - 202);
    EXPECT_EQ(m.view.litCount(), 0);
    for (int i = 0; i < TActivityMonitor::kLeds; ++i) {
        EXPECT_EQ(m.monitor.Hold(i), 0) << i;
    }
    EXPECT_TRUE(m.view.labelEnabled[0]);
    EXPECT_FALSE(m.view.labelEnabled[1]);
    EXPECT_TRUE(m.view.labelEnabled[2]);
    EXPECT_TRUE(m.view.idBoxesEnabled[0]);
    EXPECT_FALSE(m.view.idBoxesEnabled[2]) << "present but not open";
    EXPECT_TRUE(m.view.visible);
    EXPECT_TRUE(m.view.timer);
    EXPECT_TRUE(m.monitor.Visible());
    EXPECT_TRUE(m.monitor.TimerEnabled());

    m.monitor.HideLeds();
    EXPECT_FALSE(m.view.visible);
    EXPECT_FALSE(m.view.timer);
    EXPECT_FALSE(m.monitor.TimerEnabled());
}

TEST(TActivityMonitor, AFlashLightsForTwoTicksAndIsNotProlonged)
{
    Monitor m;
    m.monitor.ShowLeds();
    m.monitor.FlashUsbRx(3);
    EXPECT_TRUE(m.view.lit(TLedGroup::UsbRx, 3));
    EXPECT_EQ(m.view.litCount(), 1);
    m.monitor.TmrActivityTimer();
    EXPECT_TRUE(m.view.lit(TLedGroup::UsbRx, 3));
    m.monitor.FlashUsbRx(3); // lit: no effect
    EXPECT_EQ(m.monitor.Hold(3), 1);
    m.monitor.TmrActivityTimer();
    EXPECT_FALSE(m.view.lit(TLedGroup::UsbRx, 3));
    EXPECT_EQ(m.monitor.Hold(3), 0);
    // Dark again: the next flash lights it anew.
    m.monitor.FlashUsbRx(3);
    EXPECT_TRUE(m.view.lit(TLedGroup::UsbRx, 3));
}

TEST(TActivityMonitor, EachFlashHasItsOwnCounterGroup)
{
    Monitor m;
    m.monitor.ShowLeds();
    m.monitor.FlashUsbRx(0);
    m.monitor.FlashUsbTx(1);
    m.monitor.FlashComRx(2);
    m.monitor.FlashComTx(5);
    EXPECT_EQ(m.monitor.Hold(0), 2);
    EXPECT_EQ(m.monitor.Hold(6 + 1), 2);
    EXPECT_EQ(m.monitor.Hold(12 + 2), 2);
    EXPECT_EQ(m.monitor.Hold(18 + 5), 2);
    EXPECT_TRUE(m.view.lit(TLedGroup::UsbTx, 1));
    EXPECT_TRUE(m.view.lit(TLedGroup::ComRx, 2));
    EXPECT_TRUE(m.view.lit(TLedGroup::ComTx, 5));
    EXPECT_EQ(m.view.litCount(), 4);
    m.monitor.TmrActivityTimer();
    m.monitor.TmrActivityTimer();
    EXPECT_EQ(m.view.litCount(), 0);
}

TEST(TActivityMonitor, TimerCopiesUsbConnectedOfPresentSlotsOnly)
{
    Monitor m;
    m.slots.present[0] = m.slots.present[1] = true;
    m.slots.connected[0] = true;
    m.slots.connected[4] = true; // not present: its box keeps its state
    m.monitor.ShowLeds();
    m.monitor.TmrActivityTimer();
    EXPECT_TRUE(m.view.usbId[0]);
    EXPECT_FALSE(m.view.usbId[1]);
    EXPECT_FALSE(m.view.usbId[4]);

    // Unplugged: the box clears on the first tick after the pump cleared the flag.
    m.slots.connected[0] = false;
    EXPECT_TRUE(m.view.usbId[0]);
    m.monitor.TmrActivityTimer();
    EXPECT_FALSE(m.view.usbId[0]);
}

TEST(TActivityMonitor, IdBoxesAndRowsOutsideTheTableAreIgnored)
{
    Monitor m;
    m.monitor.SetComId(2, true);
    m.monitor.SetUsbId(3, true);
    EXPECT_TRUE(m.view.comId[2]);
    EXPECT_TRUE(m.view.usbId[3]);
    m.monitor.SetComId(2, false);
    EXPECT_FALSE(m.view.comId[2]);
    // Out of range: nothing happens (and nothing is written out of bounds).
    m.monitor.SetComId(6, true);
    m.monitor.SetUsbId(-1, true);
    m.monitor.FlashUsbRx(6);
    m.monitor.FlashComTx(-1);
    EXPECT_EQ(m.view.litCount(), 0);
    EXPECT_EQ(m.monitor.Hold(-1), 0);
    EXPECT_EQ(m.monitor.Hold(24), 0);
}
