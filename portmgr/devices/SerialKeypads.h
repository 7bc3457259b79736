#pragma once

namespace tessaron {

class TPortManager;

// Serial keypads on ports/COM1 to ports/COM16, and the refill of the slot table.
// Main thread only; the probe blocks while it runs (up to four 100 ms reads for a
// port without a keypad).

// Opens COMn as the probe port with the keypads' line settings and 100 ms read
// waits, its queues discarded: 0 when open, 1 when it does not open, 2 when it
// is not a character device, -1 when a probe port is still open.
int OpenProbePort(TPortManager& pm, int n);
void CloseProbePort(TPortManager& pm);

// Asks COMn for its link type ("@" 0x05, two attempts) and then its 16-character
// identification ("@" 0x06), into pm.Probe. An RS232 keypad that answers the type
// but not with 16 identification bytes gets "Tessaron on DB9 ". The caller takes
// the port as a keypad when the identification then holds 16 characters.
void ProbeSerialPort(TPortManager& pm, int n);

// Refills the slot table: the serial keypads of COM1 to COM16 first, in port
// order, then the USB keypads. Returns the number of filled slots, or -1 (and
// nothing changed) when hidapi cannot be loaded. Slots still open are closed
// first.
int EnumerateKeypads(TPortManager& pm);

// Opens a serial slot's port (DevicePath "COMn") and starts its threads with
// link kind 'R' or 'v'. Returns false when it opened the keypad now, true
// otherwise.
bool OpenSerialKeypad(TPortManager& pm, int slot);
// Like CloseKeypad, with a 200 ms wait.
void CloseSerialKeypad(TPortManager& pm, int slot);
// Queues "@C" (the end of the keypad's message) when the slot has a write
// thread, then waits 100 ms in any case.
void SendLabelClear(TPortManager& pm, int slot);

} // namespace tessaron
