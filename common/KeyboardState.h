#pragma once

namespace tessaron {

// The PC keyboard's state at this moment, the stand-in for GetKeyState.
class KeyboardState
{
public:
    virtual ~KeyboardState() = default;
    virtual bool CtrlDown() const = 0;
    virtual bool ShiftDown() const = 0;
    // Caps Lock toggled on, while the Caps Lock key itself is not held down.
    virtual bool CapsLockOn() const = 0;
};

} // namespace tessaron
