#pragma once

#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeEvents.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/devices/PortManager.h"
#include "tests/portmgr/bridge/FakeActivityView.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessaron::test {

// Every event as one line, in order.
class RecordingEvents : public TBridgeEvents
{
public:
    void BridgingStarted() override { lines.push_back("running"); }
    void BridgingStopping() override { lines.push_back("stopping"); }
    void BridgingStopped() override { lines.push_back("stopped"); }
    void PortCreated(int slot, const std::string& name) override { add(slot, "created " + name); }
    void PortFailed(int slot, const std::string& name, const std::string&) override
    {
        add(slot, "failed " + name);
    }
    void PortDeleted(int slot, const std::string& name) override { add(slot, "deleted " + name); }
    void KeypadOpened(int slot, const std::string& identity) override
    {
        add(slot, "opened " + identity);
    }
    void KeypadClosed(int slot, const std::string& identity, bool silent) override
    {
        add(slot, (silent ? "silent " : "closed ") + identity);
    }
    void HostOpened(int slot, const std::string& name) override { add(slot, "host+ " + name); }
    void HostClosed(int slot, const std::string& name) override { add(slot, "host- " + name); }

    std::vector<std::string> lines;

private:
    void add(int slot, const std::string& text)
    {
        lines.push_back(std::to_string(slot) + " " + text);
    }
};

// A temporary suite folder, the simulated USB keypad library loaded as hidapi,
// and the bridge core with a recording front end and LED window.
class BridgeFixture : public ::testing::Test
{
protected:
    BridgeFixture();
    ~BridgeFixture() override;

    // A simulated keypad 0x16C0:0x0604 at path (its identity); returns its id.
    int addKeypad(const std::string& path);
    // Writes "Corvandelle.ini" with the assignments identity -> port, in order.
    void saveAssignments(const std::vector<std::pair<std::string, int>>& assignments);
    // Puts a keypad into slot i by hand and opens it (for pump tests).
    void openSlot(int i, const std::string& path, int comPort);
    int tick(bool lookForKeypads = true)
    {
        return control.Pump().TmrKeypadPollTimer(lookForKeypads);
    }
    // Output reports the device received: "n:data" each.
    std::vector<std::string> outputs(int id);

    TempHome home;
    TPortManager pm;
    FakeActivityView view;
    TSlotActivityState slotState{pm};
    TActivityMonitor leds{view, slotState};
    RecordingEvents events;
    TBridgeControl control{pm, &events, &leds};
};

} // namespace tessaron::test
