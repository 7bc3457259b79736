#include "PortStatus.h"

#include "editor/model/PackedFields.h"

namespace tessaron {

bool UsbHidCondition(const TKeypadClass& keypad, const TAdvancedParams& advanced)
{
    return HostModeOf(keypad.Operating_Mode) == THostMode::Hid ||
           advanced.HostType == int(THostMode::Hid);
}

void UpdatePortPanel(TPortPanelState& state, const TLoaderPortStatus& port, bool usbHid)
{
    const std::string hint = "Click \"Set Port\" to set the Tessaron COM port";
    if (port.ComPort > 0) {
        state.BaseText = "Port: COM" + std::to_string(port.ComPort);
        if (port.ComType == "U") {
            state.BaseText += " (USB)";
        } else if (port.ComType == "R") {
            state.BaseText += " (DB9)";
        }
        state.BaseColour = PortGreen;
        state.BaseHint = hint;
    } else if (port.ComPort == 0) {
        state.BaseText = "Port: <not set>";
        state.BaseColour = PortRed;
        state.BaseHint = hint;
    }
    // Below 0 (a keyboard) the panel keeps what it showed.
    state.Text = state.BaseText;
    state.Colour = state.BaseColour;
    state.Hint = state.BaseHint;
    if (usbHid) {
        state.Text += " >> HID";
        state.Hint = "After download, Host Mode will be set to HID (PC Keybd)";
        state.Colour = PortGreen;
    }
}

} // namespace tessaron
