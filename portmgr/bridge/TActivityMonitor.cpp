#include "TActivityMonitor.h"

namespace tessaron {

namespace {

constexpr int kFlashTicks = 2;
// Distance of the window's top left corner from the screen's lower right corner.
constexpr int kFromBottom = 202;
constexpr int kFromRight = 240;

bool validRow(int row)
{
    return row >= 0 && row < TActivityMonitor::kRows;
}

TLedGroup groupOf(int index)
{
    return static_cast<TLedGroup>(index / TActivityMonitor::kRows);
}

} // namespace

TActivityMonitor::TActivityMonitor(TActivityView& view, const TActivitySlotState& slots)
    : m_view(view), m_slots(slots)
{
}

void TActivityMonitor::ShowLeds()
{
    m_view.PlaceAt(m_view.ScreenWidth() - kFromRight, m_view.ScreenHeight() - kFromBottom);
    for (int& hold : LedHold) {
        hold = 0;
    }
    for (int row = 0; row < kRows; ++row) {
        m_view.EnableRowLabel(row, m_slots.SlotPresent(row));
        m_view.EnableIdBoxes(row, m_slots.SlotOpen(row));
    }
    for (int i = 0; i < kLeds; ++i) {
        m_view.SetLed(groupOf(i), i % kRows, false);
    }
    m_view.Show();
    m_visible = true;
    m_view.SetTimerEnabled(true);
    m_timerEnabled = true;
}

void TActivityMonitor::HideLeds()
{
    m_view.SetTimerEnabled(false);
    m_timerEnabled = false;
    m_view.Hide();
    m_visible = false;
}

void TActivityMonitor::SetUsbId(int row, bool on)
{
    if (validRow(row)) {
        m_view.SetUsbIdBox(row, on);
    }
}

void TActivityMonitor::SetComId(int row, bool on)
{
    if (validRow(row)) {
        m_view.SetComIdBox(row, on);
    }
}

void TActivityMonitor::flash(TLedGroup group, int row)
{
    if (!validRow(row)) {
        return;
    }
    int& hold = LedHold[static_cast<int>(group) * kRows + row];
    if (hold == 0) {
        hold = kFlashTicks;
        m_view.SetLed(group, row, true);
    }
}

void TActivityMonitor::TmrActivityTimer()
{
    for (int row = 0; row < kRows; ++row) {
        if (m_slots.SlotPresent(row)) {
            SetUsbId(row, m_slots.UsbConnected(row));
        }
    }
    for (int i = 0; i < kLeds; ++i) {
        if (LedHold[i] != 0 && --LedHold[i] == 0) {
            m_view.SetLed(groupOf(i), i % kRows, false);
        }
    }
}

int TActivityMonitor::Hold(int index) const
{
    return index >= 0 && index < kLeds ? LedHold[index] : 0;
}

} // namespace tessaron
