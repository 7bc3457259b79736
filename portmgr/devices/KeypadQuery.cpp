#include "KeypadQuery.h"

#include "PortManager.h"

namespace tessaron {

namespace {

constexpr int ReplyWaitMs = 80;
constexpr int IdentificationLength = 16;

} // namespace

std::string QueryIdentification(TPortManager& pm, int slot)
{
    if (!ValidSlot(slot)) {
        return {};
    }
    TKeypadSlot& s = pm.KeypadSlots[slot];
    if (!(s.Flags & SlotOpen) || !s.ReadThread || !s.WriteThread) {
        return {};
    }
    const std::uint8_t query[2] = {'@', 0x06};
    s.WriteThread->Queue(2, query);
    pm.SleepMs(ReplyWaitMs);
    std::string reply;
    while (reply.size() < IdentificationLength && s.ReadThread->Available() > 0) {
        reply += static_cast<char>(s.ReadThread->PopByte());
    }
    return reply;
}

} // namespace tessaron
