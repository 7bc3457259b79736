#pragma once

#include "common/KeyboardState.h"

namespace tessaron::test {

// A keyboard whose state the test sets.
class FakeKeyboardState : public KeyboardState
{
public:
    bool CtrlDown() const override { return ctrl; }
    bool ShiftDown() const override { return shift; }
    bool CapsLockOn() const override { return capsLock; }

    bool ctrl = false;
    bool shift = false;
    bool capsLock = false;
};

} // namespace tessaron::test
