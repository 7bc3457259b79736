#pragma once

#include "TActivityView.h"

namespace tessaron {

// The logic of the activity LED window: which LED is lit, for how long, and
// what the id boxes show. Each Flash lights its LED for one to two timer ticks;
// a flash while the LED is lit does not prolong it, so steady traffic blinks.
// Main thread only.
class TActivityMonitor
{
public:
    static constexpr int kRows = 6;
    static constexpr int kLeds = 4 * kRows;
    static constexpr int kTimerInterval = 100; // ms, TmrActivity

    TActivityMonitor(TActivityView& view, const TActivitySlotState& slots);

    void ShowLeds();
    void HideLeds();

    void SetUsbId(int row, bool on);
    void SetComId(int row, bool on);

    void FlashUsbRx(int row) { flash(TLedGroup::UsbRx, row); }
    void FlashUsbTx(int row) { flash(TLedGroup::UsbTx, row); }
    void FlashComRx(int row) { flash(TLedGroup::ComRx, row); }
    void FlashComTx(int row) { flash(TLedGroup::ComTx, row); }

    // Handler of the window's 100 ms timer.
    void TmrActivityTimer();

    // Ticks left on the counter of LED index (group × 6 + row), 0 when dark.
    int Hold(int index) const;
    bool Visible() const { return m_visible; }
    bool TimerEnabled() const { return m_timerEnabled; }

private:
    void flash(TLedGroup group, int row);

    TActivityView& m_view;
    const TActivitySlotState& m_slots;
    // Timer ticks left per LED: USB rx 0-5, USB tx 6-11, COM rx 12-17, COM tx 18-23.
    int LedHold[kLeds] = {};
    bool m_visible = false;
    bool m_timerEnabled = false;
};

} // namespace tessaron
