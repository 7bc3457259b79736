#include "TSlotActivityState.h"

#include "portmgr/devices/PortManager.h"

namespace tessaron {

bool TSlotActivityState::SlotPresent(int row) const
{
    return ValidSlot(row) && (m_pm.KeypadSlots[row].Flags & tessaron::SlotPresent) != 0;
}

bool TSlotActivityState::SlotOpen(int row) const
{
    return ValidSlot(row) && (m_pm.KeypadSlots[row].Flags & tessaron::SlotOpen) != 0;
}

bool TSlotActivityState::UsbConnected(int row) const
{
    return ValidSlot(row) && m_pm.UsbConnected[row];
}

} // namespace tessaron
