#pragma once

#include "common/KeyboardState.h"

namespace tessaron {

// Ctrl and Shift from Qt; Caps Lock from the X server's keyboard extension
// where the platform is X11 (libX11 is loaded at run time), otherwise off.
class QtKeyboardState : public KeyboardState
{
public:
    bool CtrlDown() const override;
    bool ShiftDown() const override;
    bool CapsLockOn() const override;
};

} // namespace tessaron
