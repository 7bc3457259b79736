#include "VirtualPorts.h"

#include "TVirtualPort.h"
#include "portmgr/devices/KeypadSlots.h"

#include <memory>

namespace tessaron {

bool CreateVirtualPort(TKeypadSlot& slot)
{
    if (slot.ComPort <= 0) {
        slot.VirtualPort.reset();
        slot.PortName.clear();
        return false;
    }
    DeleteVirtualPort(slot);
    auto port = std::make_shared<TVirtualPort>();
    slot.PortName = "COM" + std::to_string(slot.ComPort);
    port->CreatePort(slot.PortName);
    slot.VirtualPort = std::move(port);
    return slot.VirtualPort->PortCreated();
}

void DeleteVirtualPort(TKeypadSlot& slot)
{
    if (slot.VirtualPort) {
        slot.VirtualPort->Delete();
        slot.VirtualPort.reset();
        slot.PortName.clear();
    }
}

int WriteVirtualPort(TKeypadSlot& slot, const std::uint8_t* bytes, int n)
{
    return slot.VirtualPort ? slot.VirtualPort->Write(bytes, n) : 0;
}

int VirtualPortPending(TKeypadSlot& slot)
{
    return slot.VirtualPort ? slot.VirtualPort->BytesPending() : 0;
}

int ReadVirtualPort(TKeypadSlot& slot, std::uint8_t* buffer, int max)
{
    return slot.VirtualPort ? slot.VirtualPort->Read(buffer, max) : 0;
}

bool PortOpened(TKeypadSlot& slot)
{
    return slot.VirtualPort && slot.VirtualPort->PortOpened();
}

void ResetVirtualPorts()
{
    TVirtualPort::ResetBus();
}

} // namespace tessaron
