#pragma once

namespace tessaron {

// A tray menu item that bridging enables and checks (mnuShowActivity).
class TMenuItem
{
public:
    virtual ~TMenuItem() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetChecked(bool checked) = 0;
};

} // namespace tessaron
