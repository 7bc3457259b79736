#pragma once

#include <QIcon>

namespace tessaron {

// Plindorax's window icon: a small programmable keypad, drawn here at the
// sizes a desktop asks for.
QIcon PlindoraxIcon();

} // namespace tessaron
