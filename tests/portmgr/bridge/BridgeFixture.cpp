#include "BridgeFixture.h"

#include "portmgr/devices/UsbKeypads.h"
#include "tests/fakes/FakeHid.h"
#include "tests/portmgr/PortSettingsText.h"

#include <cstdlib>

namespace tessaron::test {

BridgeFixture::BridgeFixture()
{
    ::setenv("TESSARON_HIDAPI", TESSARON_FAKEHID_LIBRARY, 1);
    fakehid_reset();
    pm.SleepMs = [](int) {};
    control.SleepMs = [](int) {};
}

BridgeFixture::~BridgeFixture()
{
    control.StopPorts();
    fakehid_reset();
}

int BridgeFixture::addKeypad(const std::string& path)
{
    return fakehid_add_device(0x16C0, 0x0604, path.c_str());
}

void BridgeFixture::saveAssignments(const std::vector<std::pair<std::string, int>>& assignments)
{
    home.write("Corvandelle.ini", PortSettingsText(assignments));
}

void BridgeFixture::openSlot(int i, const std::string& path, int comPort)
{
    ASSERT_FALSE(LoadHidLibraries(pm));
    TKeypadSlot& s = pm.KeypadSlots[i];
    ASSERT_TRUE(SetDevicePath(s, path));
    s.Flags = SlotPresent;
    s.ComPort = comPort;
    if (comPort > 0) {
        ASSERT_TRUE(control.Pump().CreatePort(i));
    }
    ASSERT_FALSE(OpenUsbKeypad(pm, i));
    pm.UsbConnected[i] = true;
}

std::vector<std::string> BridgeFixture::outputs(int id)
{
    std::vector<std::string> out;
    for (int i = 0; i < fakehid_output_count(id); ++i) {
        unsigned char data[64];
        const int length = fakehid_output(id, i, data, sizeof data);
        if (length < 2) {
            out.push_back("?");
            continue;
        }
        out.push_back(
            std::to_string(data[1]) + ":" +
            std::string(reinterpret_cast<const char*>(data + 2), data[1] <= 7 ? data[1] : 0));
    }
    return out;
}

} // namespace tessaron::test
