#pragma once

// A temporary suite folder, the simulated USB keypad library loaded through
// TESSARON_HIDAPI, an empty fake sysfs tree and a fresh TPortManager whose waits
// are recorded (and still taken).

#include "FakeHid.h"
#include "FakeSerialKeypad.h"
#include "portmgr/devices/PortManager.h"
#include "tests/support/TempHome.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tessaron::test {

class DevicesTest : public ::testing::Test
{
protected:
    DevicesTest();
    ~DevicesTest() override;

    // A plugged-in keypad 0x16C0:0x0604 at path; returns its fake id.
    int AddUsbKeypad(const std::string& path, const std::string& identification = "");
    // Makes sysfs know node ("hidraw3") as the HID device with that HID_PHYS
    // (and HID_ID, a keypad's by default).
    void AddSysfsNode(const std::string& node, const std::string& phys,
                      const std::string& hidId = "0003:000016C0:00000604");
    void RemoveSysfsNode(const std::string& node);
    // A simulated serial keypad linked as ports/COMn.
    FakeSerialKeypad& AddSerialKeypad(int n, FakeSerialKeypad::Options options = {});
    // ports/COMn as a link to target.
    void LinkPort(int n, const std::string& target);

    TKeypadSlot& Slot(int i) { return pm->KeypadSlots[static_cast<size_t>(i)]; }
    std::vector<int> WaitsOf(int milliseconds) const;

    TempHome home;
    TempDir sysfs;
    std::unique_ptr<TPortManager> pm;
    std::vector<int> waits;
    std::vector<std::unique_ptr<FakeSerialKeypad>> serialKeypads;
};

std::vector<unsigned char> FakeOutput(int id, int index);
std::vector<unsigned char> FakeFeature(int id, int index);
std::string FakeMessage(int id, int index);

} // namespace tessaron::test
