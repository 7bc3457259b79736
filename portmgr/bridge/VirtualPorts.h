#pragma once

#include <cstdint>

namespace tessaron {

struct TKeypadSlot;

// The virtual port operations on a keypad slot's VirtualPort and PortName.
// Main thread only. Without a port object every operation does nothing and
// returns 0 or false.

// Makes the slot's port "COM" + ComPort. With no port assigned (ComPort 0 or
// less) the slot's port object is forgotten and the result is false. Otherwise
// the result is whether the port exists now; a port that could not be made
// stays in the slot (with its LastError) until DeleteVirtualPort.
bool CreateVirtualPort(TKeypadSlot& slot);
// Deletes the port (its link in ports/ goes with it) and forgets its name.
void DeleteVirtualPort(TKeypadSlot& slot);
// Hands bytes to the host application; dropped when no host has the port open.
// Returns the bytes delivered.
int WriteVirtualPort(TKeypadSlot& slot, const std::uint8_t* bytes, int n);
// Bytes the host application has written and that were not read yet.
int VirtualPortPending(TKeypadSlot& slot);
// Reads up to max of them into buffer; returns how many were placed.
int ReadVirtualPort(TKeypadSlot& slot, std::uint8_t* buffer, int max);
// True while a host application holds the slot's port open.
bool PortOpened(TKeypadSlot& slot);
// Removes the ports that earlier runs left behind (see TVirtualPort::ResetBus).
void ResetVirtualPorts();

} // namespace tessaron
