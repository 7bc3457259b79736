#pragma once

#include <string>

namespace tessaron {

// A program of the suite that opens a USB keypad holds the keypad's lock while
// it has it open: flock() on a file named after the keypad's identity in the
// single-instance lock folder. A second program (`tessaron keypads` beside a
// running bridge) then leaves the keypad alone: hidraw would let it open the
// keypad too, send it another port number and ask it questions whose replies
// the bridge would pass on to its host.
//
// Returns the descriptor that holds the lock (the caller closes it to let go),
// or -1: with held true when another holder has the lock, with held false when
// no lock can be taken at all (the keypad may then be opened without one).
int LockKeypad(const std::string& identity, bool& held);

} // namespace tessaron
