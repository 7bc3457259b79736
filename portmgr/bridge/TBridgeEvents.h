#pragma once

#include <string>

namespace tessaron {

// What bridging reports as it happens, to its front end: the headless bridge
// prints a line for each; the tray program sets its tip, icon and menu from
// the bridging state. Slots are 0 to 5; every call is made on the thread that
// runs StartPorts, StopPorts and Dispatch. Each has an empty default.
class TBridgeEvents
{
public:
    virtual ~TBridgeEvents() = default;

    // StartPorts made every port: bridging runs ("Corvandelle (Running)").
    virtual void BridgingStarted() {}
    // StopPorts begins; nothing is closed or deleted yet (the LED window goes now).
    virtual void BridgingStopping() {}
    // StopPorts is done: bridging is stopped ("Corvandelle (Stopped)").
    virtual void BridgingStopped() {}

    virtual void PortCreated(int /*slot*/, const std::string& /*name*/) {}
    virtual void PortFailed(int /*slot*/, const std::string& /*name*/,
                            const std::string& /*reason*/)
    {
    }
    virtual void PortDeleted(int /*slot*/, const std::string& /*name*/) {}
    virtual void KeypadOpened(int /*slot*/, const std::string& /*identity*/) {}
    // silent: it sent no report for about a second.
    virtual void KeypadClosed(int /*slot*/, const std::string& /*identity*/, bool /*silent*/) {}
    virtual void HostOpened(int /*slot*/, const std::string& /*name*/) {}
    virtual void HostClosed(int /*slot*/, const std::string& /*name*/) {}
};

} // namespace tessaron
