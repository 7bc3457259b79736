#pragma once

#include <string>

namespace tessaron {

// What bridging reports as it happens, for a log (the headless bridge prints
// one line each). Slots are 0 to 5; every call is made on the main thread.
class TBridgeEvents
{
public:
    virtual ~TBridgeEvents() = default;

    virtual void PortCreated(int slot, const std::string& name) = 0;
    virtual void PortFailed(int slot, const std::string& name, const std::string& reason) = 0;
    virtual void PortDeleted(int slot, const std::string& name) = 0;
    // silent: the pump closed it because it sent no report for about a second.
    virtual void KeypadOpened(int slot, const std::string& identity) = 0;
    virtual void KeypadClosed(int slot, const std::string& identity, bool silent) = 0;
    virtual void HostOpened(int slot, const std::string& name) = 0;
    virtual void HostClosed(int slot, const std::string& name) = 0;
};

} // namespace tessaron
