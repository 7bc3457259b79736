#pragma once

#include <string>
#include <vector>

namespace tessaron {

// The USB keypads working as a PC keyboard (HID keyboard host mode): keypads
// (0x16C0:0x0604) that hidapi lists with a keyboard collection (usage page 1,
// usage 6). Such a keypad has no COM port; it is tested with the keyboard test.
// Nothing is opened. Returns their identities (as Corvandelle names keypads);
// error tells why none could be listed (hidapi missing).
std::vector<std::string> ListKeyboardKeypads(std::string& error);

} // namespace tessaron
