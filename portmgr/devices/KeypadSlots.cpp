#include "KeypadSlots.h"

#include <cstring>

namespace tessaron {

bool SetDevicePath(TKeypadSlot& slot, std::string_view path)
{
    if (path.size() > static_cast<size_t>(MaxDevicePath) ||
        path.find('\0') != std::string_view::npos) {
        return false;
    }
    std::memcpy(slot.DevicePath, path.data(), path.size());
    slot.DevicePath[path.size()] = '\0';
    return true;
}

} // namespace tessaron
