#pragma once

namespace tessaron {

// The four LED columns of the activity window, in the order of LedHold's groups.
enum class TLedGroup
{
    UsbRx = 0, // data taken from the keypad
    UsbTx = 1, // data taken from the virtual port for the keypad
    ComRx = 2, // data written by the host application
    ComTx = 3, // data handed to the host application
};

// What the activity monitor needs of its window: the tray program's LED window
// implements it with widgets, tests with a recording fake. Rows are 0 to 5.
class TActivityView
{
public:
    virtual ~TActivityView() = default;

    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    // Moves the window's top left corner.
    virtual void PlaceAt(int left, int top) = 0;

    // Shows the dark (false) or lit (true) picture in one LED.
    virtual void SetLed(TLedGroup group, int row, bool lit) = 0;
    // The id check boxes: USB keypad connected, virtual port open in a host.
    virtual void SetUsbIdBox(int row, bool on) = 0;
    virtual void SetComIdBox(int row, bool on) = 0;
    // The row's label "Tessaron #n:", and its two id boxes together.
    virtual void EnableRowLabel(int row, bool enabled) = 0;
    virtual void EnableIdBoxes(int row, bool enabled) = 0;

    // The window's 100 ms timer, which calls TActivityMonitor::TmrActivityTimer.
    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// The slot state the monitor shows, read when it is shown and on every timer tick.
class TActivitySlotState
{
public:
    virtual ~TActivitySlotState() = default;
    virtual bool SlotPresent(int row) const = 0;
    virtual bool SlotOpen(int row) const = 0;
    virtual bool UsbConnected(int row) const = 0;
};

} // namespace tessaron
