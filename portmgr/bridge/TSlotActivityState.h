#pragma once

#include "TActivityView.h"

namespace tessaron {

class TPortManager;

// The activity monitor's view of the slot table.
class TSlotActivityState : public TActivitySlotState
{
public:
    explicit TSlotActivityState(const TPortManager& pm) : m_pm(pm) {}
    bool SlotPresent(int row) const override;
    bool SlotOpen(int row) const override;
    bool UsbConnected(int row) const override;

private:
    const TPortManager& m_pm;
};

} // namespace tessaron
