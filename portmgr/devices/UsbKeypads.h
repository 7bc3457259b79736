#pragma once

#include <string>

namespace tessaron {

class TPortManager;

// USB keypads: HID devices 0x16C0:0x0604 reached through hidapi. Main thread only.

// What the programs say when hidapi cannot be loaded.
inline constexpr const char* kUsbStartFailedMessage = "Could not start USB librairies!";

// Loads hidapi (TESSARON_HIDAPI names another library with the same entry
// points). Returns true on failure, false when loaded now or earlier.
bool LoadHidLibraries(TPortManager& pm);
// Closes the open USB keypads (their threads use hidapi), then unloads it.
void UnloadHidLibraries(TPortManager& pm);

// Puts the attached USB keypads, in the order hidapi lists them, into free
// slots until six slots are filled. A keypad whose identity does not fit
// DevicePath is passed over; one that hidapi lists but that cannot be opened is
// passed over too, unless the reason is a missing permission: it is then listed,
// with LastError telling the user how to mend it.
void ListUsbKeypads(TPortManager& pm);

// Whether hidapi lists any keypad now (one call, for a caller about to look
// for several absent keypads).
bool UsbKeypadsAttached(TPortManager& pm);

// Opens a USB slot's keypad at its current node and starts its threads, then
// tells it its port number. Returns false when it opened the keypad now, true
// when nothing was opened (not a USB slot, no DevicePath, already open, device
// absent or refused).
bool OpenUsbKeypad(TPortManager& pm, int slot);
// Closes a slot of any kind: stops the write thread, then the read thread,
// waits 100 ms, joins both and only then closes the device. DevicePath, ComPort
// and the other flags stay.
void CloseKeypad(TPortManager& pm, int slot);

// Feature report 0x00, ComPort's low 8 bits, 0, 0, 0, 0 (then 50 ms), for an open
// USB slot; called by OpenUsbKeypad.
void SendPortNumber(TPortManager& pm, int slot);
// Reads the 6-byte feature report; the content is not used.
void ReadFeature(TPortManager& pm, int slot);

// The message for a keypad that the user may not open.
std::string UsbPermissionMessage(const std::string& node);

} // namespace tessaron
