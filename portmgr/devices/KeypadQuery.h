#pragma once

#include <string>

namespace tessaron {

class TPortManager;

// Asks an open keypad for its identification the way the configuration dialog
// does: "@" 0x06 queued on its write thread, 80 ms, then at most 16 bytes from
// its read thread. Returns those bytes ("" when none came or the slot is closed).
std::string QueryIdentification(TPortManager& pm, int slot);

} // namespace tessaron
