#pragma once

#include "common/SingleInstanceLock.h"

#include <memory>
#include <string>

namespace tessaron {

// A program of the suite that opens a USB keypad holds the keypad's lock while
// it has it open: a single-instance lock named after the keypad's identity,
// taken wherever the programs' own single-instance lock is, so that programs
// started with and without a log-in session meet. A second program (`tessaron
// keypads` beside a running bridge) then leaves the keypad alone: hidraw would
// let it open the keypad too, send it another port number and ask it questions
// whose replies the bridge would pass on to its host.
//
// Returns the lock (the caller keeps it while it has the keypad open), or
// null: with held true when another holder has the lock, with held false when
// no lock can be taken at all (the keypad may then be opened without one).
std::unique_ptr<SingleInstanceLock> LockKeypad(const std::string& identity, bool& held);

} // namespace tessaron
