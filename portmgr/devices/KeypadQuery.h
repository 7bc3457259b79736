#pragma once

#include <string>

namespace tessaron {

class TPortManager;
struct TKeypadSlot;

// Asks an open keypad for its identification the way the configuration dialog
// does: "@" 0x06 queued on its write thread, 80 ms, then at most 16 bytes from
// its read thread. Returns those bytes ("" when none came or the slot is closed).
std::string QueryIdentification(TPortManager& pm, int slot);

// What the configuration dialog shows on the display of the keypad in row
// (0 to 5) whose assigned port is port (below 1: none): "@C" and 16
// characters, such as "@CKeypad #2, COM5" or "@CKeypad #1, COM? ".
std::string LabelMessage(const TKeypadSlot& slot, int row, int port);
// Queues LabelMessage on the open slot's write thread (nothing when closed).
void SendLabel(TPortManager& pm, int row, int port);
// Waits, at most maxMs, until the open slots' write threads have sent what is
// queued: a message takes three reports, 10 ms apart.
void WaitForWrites(TPortManager& pm, int maxMs);

} // namespace tessaron
