#pragma once

#include <string>

namespace tessaron::cli {

// The running bridge or Corvandelle, stopped through the command channel
// while something changes under it (the port assignments), and started again
// when the object goes, whatever became of the change.
class PausedBridging
{
public:
    PausedBridging() = default;
    ~PausedBridging();
    PausedBridging(const PausedBridging&) = delete;
    PausedBridging& operator=(const PausedBridging&) = delete;

    // Stops it when one runs; false with problem when it cannot be stopped now.
    bool pause(std::string& problem);
    // Starts it again when it was stopped; false with problem when it did not start.
    bool resume(std::string& problem);
    bool paused() const { return m_paused; }
    // One runs, but its bridging had been stopped already (by hand).
    bool stoppedBefore() const { return m_stoppedBefore; }

private:
    bool m_paused = false;
    bool m_stoppedBefore = false;
};

} // namespace tessaron::cli
