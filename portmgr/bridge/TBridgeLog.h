#pragma once

#include "TBridgeEvents.h"

#include <iosfwd>

namespace tessaron {

// A log of bridging: one line on out for each port created, failed or deleted,
// each keypad opened or closed, each host that opens or closes a port, and
// each change of the bridging state. With out null it writes nothing (a front
// end that logs only on request derives from it for the state changes).
class TBridgeLog : public TBridgeEvents
{
public:
    explicit TBridgeLog(std::ostream* out) : m_out(out) {}

    void BridgingStarted() override;
    void BridgingStopped() override;
    void PortCreated(int slot, const std::string& name) override;
    void PortFailed(int slot, const std::string& name, const std::string& reason) override;
    void PortDeleted(int slot, const std::string& name) override;
    void KeypadOpened(int slot, const std::string& identity) override;
    void KeypadClosed(int slot, const std::string& identity, bool silent) override;
    void HostOpened(int slot, const std::string& name) override;
    void HostClosed(int slot, const std::string& name) override;

private:
    std::ostream* m_out;
};

} // namespace tessaron
