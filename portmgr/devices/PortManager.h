#pragma once

#include "HidLibrary.h"
#include "KeypadSlots.h"
#include "portmgr/io/SerialPort.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <thread>

namespace tessaron {

// One remembered port assignment, mirrored in "Corvandelle.ini".
struct TPortAssignment
{
    std::int32_t ComPort = 0; // 1 to 16; 0 = none
    bool InUse = false;       // matched to a slot in this bridging run; never stored
    std::string Identity;     // the keypad's DevicePath; empty = free entry
};

// State of the serial probe (one probe at a time).
struct TProbeState
{
    int Port = 0;                 // COM port being probed
    int Speed = 9600;             // baud rate of the probe and of opened serial keypads
    char Reply = 0;               // the type reply, 0 when none
    char Identification[17] = {}; // up to 16 characters, empty when none
    TSerialPort Handle;           // the probe port while it is open
};

// Everything Corvandelle knows about keypads and ports, in one object that the
// operations of portmgr/devices take: the six slots, the connection and probe
// flags, hidapi and the port assignments. Main thread only; a test makes its own.
class TPortManager
{
public:
    TPortManager();
    // Closes every slot (joining its threads) before hidapi is unloaded.
    ~TPortManager();
    TPortManager(const TPortManager&) = delete;
    TPortManager& operator=(const TPortManager&) = delete;

    // Declared first so that it goes last: open slots still use it.
    THidLibrary Hid;

    std::array<TKeypadSlot, MaxKeypads> KeypadSlots;
    // Per slot: the USB keypad is connected, as the activity window shows it.
    std::array<bool, MaxKeypads> UsbConnected{};
    // [n - 1]: COMn answered the last serial probe as a keypad.
    std::array<bool, MaxComPorts> SerialKeypadPorts{};
    // [n - 1]: why the last serial probe passed COMn over although it exists
    // (held by another program, a virtual port); empty otherwise.
    std::array<std::string, MaxComPorts> PortNotes;

    std::array<TPortAssignment, MaxKeypads> PortAssignments;
    bool RetryOnVComFail = true;
    // [0]: "Not Assigned"; [n]: COMn may be offered.
    std::array<bool, MaxComPorts + 1> PortAvailable{};

    TProbeState Probe;

    // Where the kernel's device tree is read (TESSARON_SYSFS, else "/sys"); tests
    // point it at a folder of their own.
    std::string SysfsRoot;

    // An eventfd that the read threads of keypads opened from now on signal
    // when they store bytes or their keypad falls silent (-1: none). Set by
    // the bridge while it runs; it must outlive those threads.
    int WakeFd = -1;

    // Every fixed wait of the operations goes through here (milliseconds).
    std::function<void(int)> SleepMs;

    // A device whose write thread did not end in time (a keypad that stopped
    // answering in the middle of a write): a thread of its own waits for the
    // write to give up and only then closes the device, so closing a slot
    // never hangs. Until then the keypad's lock stays held.
    void Retire(std::unique_ptr<TFileWriteThread> writer, std::unique_ptr<TDeviceHandle> handle);
    // Waits until every retired device is closed.
    void JoinRetired();
    // Retired devices not closed yet (their keypads cannot be opened meanwhile).
    bool HasRetired();

private:
    struct TRetired
    {
        std::thread Thread;
        std::atomic<bool> Done{false};
    };
    void reapRetired(bool all);
    std::list<TRetired> m_retired;
};

// Number of slots whose Flags are not 0.
int FilledSlots(const TPortManager& pm);
bool ValidSlot(int slot);

// Closes a slot of any kind: stops its write thread, then its read thread, waits
// waitMs, joins both and only then closes Handle; clears SlotOpen. The pause
// alone would not prove that no thread still uses the device. A write thread
// that does not end within a moment is left to TPortManager::Retire with the
// device, so that this never hangs.
void CloseSlot(TPortManager& pm, int slot, int waitMs);

// Takes an opened device into slot s and starts its read thread (signalling
// pm.WakeFd), then its write thread, for the link kind; sets SlotOpen. False,
// with the slot left closed and the device released, when a thread cannot be
// started.
bool StartSlotThreads(TPortManager& pm, TKeypadSlot& s, std::unique_ptr<TDeviceHandle> handle,
                      char kind);

} // namespace tessaron
