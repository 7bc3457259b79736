#include "DevicesFixture.h"

#include "common/SuiteFolder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace tessaron::test {

namespace fs = std::filesystem;

DevicesTest::DevicesTest()
{
    ::setenv("TESSARON_HIDAPI", FAKEHID_LIBRARY, 1);
    fakehid_reset();
    fs::create_directories(sysfs.path() + "/class/hidraw");
    pm = std::make_unique<TPortManager>();
    pm->SysfsRoot = sysfs.path();
    pm->SleepMs = [this](int milliseconds) {
        waits.push_back(milliseconds);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        if (milliseconds == 80) {
            // The identification query's wait: on a busy machine the reply
            // may take longer; the tests are about what is done with it.
            WaitFor(
                [this] {
                    for (const TKeypadSlot& s : pm->KeypadSlots) {
                        if (s.ReadThread && s.ReadThread->Available() >= 16) {
                            return true;
                        }
                    }
                    return false;
                },
                5000);
        }
    };
}

DevicesTest::~DevicesTest()
{
    pm.reset();
    serialKeypads.clear();
    fakehid_reset();
    ::unsetenv("TESSARON_HIDAPI");
}

int DevicesTest::AddUsbKeypad(const std::string& path, const std::string& identification)
{
    const int id = fakehid_add_device(0x16C0, 0x0604, path.c_str());
    if (!identification.empty()) {
        fakehid_set_identification(id, identification.data(), identification.size());
    }
    return id;
}

void DevicesTest::AddSysfsNode(const std::string& node, const std::string& phys,
                               const std::string& hidId)
{
    WriteFile(sysfs.path() + "/class/hidraw/" + node + "/device/uevent",
              "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Tessaron\nHID_PHYS=" + phys +
                  "\nHID_UNIQ=\n");
}

void DevicesTest::RemoveSysfsNode(const std::string& node)
{
    fs::remove_all(sysfs.path() + "/class/hidraw/" + node);
}

FakeSerialKeypad& DevicesTest::AddSerialKeypad(int n, FakeSerialKeypad::Options options)
{
    serialKeypads.push_back(std::make_unique<FakeSerialKeypad>(
        home.file("ports/COM" + std::to_string(n)), std::move(options)));
    return *serialKeypads.back();
}

void DevicesTest::LinkPort(int n, const std::string& target)
{
    fs::create_directories(home.file("ports"));
    const std::string link = home.file("ports/COM" + std::to_string(n));
    fs::remove(link);
    fs::create_symlink(target, link);
}

std::vector<int> DevicesTest::WaitsOf(int milliseconds) const
{
    std::vector<int> out;
    for (int w : waits) {
        if (w == milliseconds) {
            out.push_back(w);
        }
    }
    return out;
}

std::vector<unsigned char> FakeOutput(int id, int index)
{
    unsigned char data[64] = {};
    const int n = fakehid_output(id, index, data, sizeof data);
    return n < 0 ? std::vector<unsigned char>() : std::vector<unsigned char>(data, data + n);
}

std::vector<unsigned char> FakeFeature(int id, int index)
{
    unsigned char data[64] = {};
    const int n = fakehid_feature(id, index, data, sizeof data);
    return n < 0 ? std::vector<unsigned char>() : std::vector<unsigned char>(data, data + n);
}

std::string FakeMessage(int id, int index)
{
    char text[64] = {};
    return fakehid_message(id, index, text, sizeof text) < 0 ? "<none>" : std::string(text);
}

} // namespace tessaron::test
