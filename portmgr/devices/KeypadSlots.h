#pragma once

#include "portmgr/io/DeviceHandle.h"
#include "portmgr/io/FileReadThread.h"
#include "portmgr/io/FileWriteThread.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaron {

constexpr int MaxKeypads = 6;
constexpr int MaxComPorts = 16;
// DevicePath holds at most 259 characters and its terminator.
constexpr int DevicePathRoom = 260;
constexpr int MaxDevicePath = DevicePathRoom - 1;

constexpr unsigned short KeypadVendorId = 0x16C0;
constexpr unsigned short KeypadProductId = 0x0604;
// A keypad answers "@" 0x06 with its identification: 16 characters.
constexpr std::uint8_t IdentificationQuery[2] = {'@', 0x06};
constexpr int IdentificationLength = 16;

enum : std::uint8_t
{
    SlotPresent = 0x01, // a keypad occupies the slot (attached, or remembered and absent)
    SlotOpen = 0x02,    // Handle is open and both bridge threads run
    SlotRs232 = 0x04,   // serial keypad that reported itself as RS232
    SlotCdc = 0x08,     // serial keypad that reported itself as a USB CDC port
};

// One of the six keypad slots. A slot whose Flags are 0 is free.
struct TKeypadSlot
{
    // The open device (USB) or COM port (serial); null when closed.
    std::unique_ptr<TDeviceHandle> Handle;
    std::uint8_t Flags = 0;
    // Assigned virtual COM port 1 to 16; 0 = none.
    std::int32_t ComPort = 0;
    // The keypad's identity: the USB location of a USB keypad (see UsbIdentity.h),
    // "COM" and the port number for a serial keypad.
    char DevicePath[DevicePathRoom] = {};
    // Set while open. Declared after Handle, so they are joined before it closes.
    std::unique_ptr<TFileReadThread> ReadThread;
    std::unique_ptr<TFileWriteThread> WriteThread;
    // Why the keypad could not be opened, worded for the user; empty when nothing
    // went wrong that the user can mend.
    std::string LastError;
    // The last open found the USB keypad held by another program of the suite.
    bool InUseElsewhere = false;
};

inline std::string_view DevicePathOf(const TKeypadSlot& slot)
{
    return std::string_view(slot.DevicePath);
}

// Copies path into DevicePath. A path longer than 259 characters (or with a zero
// byte) does not fit: the slot is left unchanged and the result is false.
bool SetDevicePath(TKeypadSlot& slot, std::string_view path);

// SlotPresent and neither SlotRs232 nor SlotCdc.
inline bool IsUsbSlot(const TKeypadSlot& slot)
{
    return (slot.Flags & SlotPresent) && !(slot.Flags & (SlotRs232 | SlotCdc));
}

inline bool IsSerialSlot(const TKeypadSlot& slot)
{
    return (slot.Flags & (SlotRs232 | SlotCdc)) != 0;
}

} // namespace tessaron
