#pragma once

#include "editor/model/AdvancedClass.h"
#include "editor/model/KeypadClass.h"
#include "editor/model/LoaderSettings.h"

#include <string>

namespace tessaron {

// The port panel's look: text, text colour and hint.
struct TPortPanelState
{
    // The text without the " >> HID" suffix, kept so that refreshing while the
    // port reads as a keyboard (ComPort below 0) does not pile up suffixes.
    std::string BaseText = "Port: <not set>";
    int BaseColour = 0xFF0000;
    std::string BaseHint;

    std::string Text = "Port: <not set>";
    int Colour = 0xFF0000; // 0xRRGGBB
    std::string Hint;
};

constexpr int PortGreen = 0x008000;
constexpr int PortRed = 0xFF0000;

// The keypad takes keystrokes as a USB HID keyboard: host mode 3 in the key
// table's Operating_Mode, or HostType 3 in the ROM properties.
bool UsbHidCondition(const TKeypadClass& keypad, const TAdvancedParams& advanced);

// The panel after a refresh from the loader's port.
void UpdatePortPanel(TPortPanelState& state, const TLoaderPortStatus& port, bool usbHid);

} // namespace tessaron
