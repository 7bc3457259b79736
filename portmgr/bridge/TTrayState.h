#pragma once

#include <string>

namespace tessaron {

// The tray icon as bridging changes it: the tip text and the connected or
// disconnected picture.
class TTrayState
{
public:
    virtual ~TTrayState() = default;
    virtual void SetTrayState(const std::string& text, bool connected) = 0;
};

} // namespace tessaron
