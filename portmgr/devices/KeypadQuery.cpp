#include "KeypadQuery.h"

#include "PortManager.h"

#include <cstdio>

namespace tessaron {

namespace {

constexpr int ReplyWaitMs = 80;
// "@C" and the 16 characters the keypad shows; a longer text is cut.
constexpr size_t LabelLength = 18;
constexpr int WriteStepMs = 10;

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
    s.WriteThread->Queue(sizeof IdentificationQuery, IdentificationQuery);
    pm.SleepMs(ReplyWaitMs);
    std::string reply;
    while (reply.size() < IdentificationLength && s.ReadThread->Available() > 0) {
        reply += static_cast<char>(s.ReadThread->PopByte());
    }
    return reply;
}

std::string LabelMessage(const TKeypadSlot& slot, int row, int port)
{
    const int number = row + 1;
    char message[40];
    if (port >= 1) {
        std::snprintf(message, sizeof message, "@CKeypad #%d, COM%d ", number, port);
    } else if (slot.Flags & SlotRs232) {
        std::snprintf(message, sizeof message, "@CKeypad #%d, RS232", number);
    } else if (slot.Flags & SlotCdc) {
        std::snprintf(message, sizeof message, "@CKeypad #%d, CDC  ", number);
    } else {
        std::snprintf(message, sizeof message, "@CKeypad #%d, COM? ", number);
    }
    return std::string(message).substr(0, LabelLength);
}

void SendLabel(TPortManager& pm, int row, int port)
{
    if (!ValidSlot(row)) {
        return;
    }
    TKeypadSlot& s = pm.KeypadSlots[row];
    if ((s.Flags & SlotOpen) && s.WriteThread) {
        const std::string message = LabelMessage(s, row, port);
        s.WriteThread->Queue(static_cast<int>(message.size()),
                             reinterpret_cast<const std::uint8_t*>(message.data()));
    }
}

void WaitForWrites(TPortManager& pm, int maxMs)
{
    for (int waited = 0; waited < maxMs; waited += WriteStepMs) {
        bool pending = false;
        for (const TKeypadSlot& s : pm.KeypadSlots) {
            pending = pending || (s.WriteThread && s.WriteThread->Pending() > 0);
        }
        if (!pending) {
            return;
        }
        pm.SleepMs(WriteStepMs);
    }
}

} // namespace tessaron
