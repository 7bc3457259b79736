#pragma once

#include "portmgr/bridge/TActivityView.h"

namespace tessaron::test {

// Records what the activity monitor shows, as the LED window would.
class FakeActivityView : public TActivityView
{
public:
    int ScreenWidth() const override { return width; }
    int ScreenHeight() const override { return height; }
    void PlaceAt(int l, int t) override
    {
        left = l;
        top = t;
    }
    void SetLed(TLedGroup group, int row, bool lit) override
    {
        led[static_cast<int>(group)][row] = lit;
    }
    void SetUsbIdBox(int row, bool on) override { usbId[row] = on; }
    void SetComIdBox(int row, bool on) override
    {
        comId[row] = on;
        ++comIdCalls[row];
    }
    void EnableRowLabel(int row, bool enabled) override { labelEnabled[row] = enabled; }
    void EnableIdBoxes(int row, bool enabled) override { idBoxesEnabled[row] = enabled; }
    void SetTimerEnabled(bool enabled) override { timer = enabled; }
    void Show() override { visible = true; }
    void Hide() override { visible = false; }

    bool lit(TLedGroup group, int row) const { return led[static_cast<int>(group)][row]; }
    int litCount() const
    {
        int n = 0;
        for (const auto& g : led) {
            for (bool l : g) {
                n += l ? 1 : 0;
            }
        }
        return n;
    }

    int width = 1920;
    int height = 1080;
    int left = -1;
    int top = -1;
    bool led[4][6] = {};
    bool usbId[6] = {};
    bool comId[6] = {};
    int comIdCalls[6] = {};
    bool labelEnabled[6] = {};
    bool idBoxesEnabled[6] = {};
    bool timer = false;
    bool visible = false;
};

// Slot state set directly by a test.
class FakeSlotState : public TActivitySlotState
{
public:
    bool SlotPresent(int row) const override { return present[row]; }
    bool SlotOpen(int row) const override { return open[row]; }
    bool UsbConnected(int row) const override { return connected[row]; }

    bool present[6] = {};
    bool open[6] = {};
    bool connected[6] = {};
};

} // namespace tessaron::test
