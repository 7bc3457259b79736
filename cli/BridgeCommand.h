#pragma once

#include "portmgr/bridge/TBridgeEvents.h"

#include <iosfwd>

namespace tessaron::cli {

// The headless bridge's log: one line on out for each port created, failed or
// deleted, each keypad opened or closed, each host that opens or closes a port,
// and each change of the bridging state.
class BridgeLog : public TBridgeEvents
{
public:
    explicit BridgeLog(std::ostream& out) : m_out(out) {}

    void PortCreated(int slot, const std::string& name) override;
    void PortFailed(int slot, const std::string& name, const std::string& reason) override;
    void PortDeleted(int slot, const std::string& name) override;
    void KeypadOpened(int slot, const std::string& identity) override;
    void KeypadClosed(int slot, const std::string& identity, bool silent) override;
    void HostOpened(int slot, const std::string& name) override;
    void HostClosed(int slot, const std::string& name) override;
    void BridgingStarted() override;
    void BridgingStopped() override;

private:
    std::ostream& m_out;
};

} // namespace tessaron::cli
