#pragma once

#include <cstdint>

namespace tessaron {

// What the MIDI event dialog needs from the main window: the channel it keeps
// between showings (and stores at exit) and the insertion into the macro.
class TMidiEventsHost
{
public:
    virtual ~TMidiEventsHost() = default;
    // 1 to 16.
    virtual std::uint8_t MidiChannel() const = 0;
    virtual void SetMidiChannel(std::uint8_t channel) = 0;
    // Inserts the whole message as raw items, one byte each, or nothing at all
    // when it does not fit (the host then tells the user once).
    virtual void InsertMidiMessage(const std::uint8_t* bytes, int count) = 0;
};

} // namespace tessaron
