#include "portmgr/devices/UsbIdentity.h"

#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaron {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

class UsbIdentityTest : public ::testing::Test
{
protected:
    // class/hidraw/<node> -> devices/.../<interface>/<hid>/hidraw/<node>, as sysfs
    // lays it out, with device a link to the HID device.
    void AddNode(const std::string& node, const std::string& usbInterface,
                 const std::string& uevent)
    {
        const std::string hid =
            root.path() + "/devices/pci0000:00/usb1/" + usbInterface + "/0003:16C0:0604.0001";
        fs::create_directories(hid + "/hidraw/" + node);
        WriteFile(hid + "/uevent", uevent);
        fs::create_directories(root.path() + "/class/hidraw");
        fs::create_directory_symlink(hid + "/hidraw/" + node,
                                     root.path() + "/class/hidraw/" + node);
        fs::create_directory_symlink(hid, hid + "/hidraw/" + node + "/device");
    }

    TempDir root;
};

TEST_F(UsbIdentityTest, PhysicalNameOfTheHidDeviceIsTheIdentity)
{
    AddNode("hidraw3", "1-1.2:1.0", "DRIVER=hid-generic\nHID_PHYS=usb-0000:00:14.0-1.2/input0\n");
    EXPECT_EQ(UsbIdentityOf(root.path(), "/dev/hidraw3"), "usb-0000:00:14.0-1.2/input0");
}

TEST_F(UsbIdentityTest, WithoutPhysicalNameTheUsbInterfaceNamesIt)
{
    AddNode("hidraw4", "3-2.4.1:1.0", "DRIVER=hid-generic\nHID_PHYS=\n");
    EXPECT_EQ(UsbIdentityOf(root.path(), "/dev/hidraw4"), "usb-3-2.4.1:1.0");
}

TEST_F(UsbIdentityTest, UnknownNodesAndOtherPathsAreTheirOwnIdentity)
{
    EXPECT_EQ(UsbIdentityOf(root.path(), "/dev/hidraw9"), "/dev/hidraw9");
    EXPECT_EQ(UsbIdentityOf(root.path(), "1-1.2:1.0"), "1-1.2:1.0"); // libusb-style path
    EXPECT_EQ(UsbIdentityOf(root.path(), "/dev/hidraw"), "/dev/hidraw");
    EXPECT_EQ(UsbIdentityOf(root.path(), "/dev/input/hidraw1"), "/dev/input/hidraw1");
}

TEST_F(UsbIdentityTest, CurrentNodeIsFoundFromTheIdentity)
{
    AddNode("hidraw0", "1-1.1:1.0", "HID_PHYS=usb-0000:00:14.0-1.1/input0\n");
    AddNode("hidraw7", "1-1.2:1.0", "HID_PHYS=usb-0000:00:14.0-1.2/input0\n");
    EXPECT_EQ(FindHidNode(root.path(), "usb-0000:00:14.0-1.2/input0"), "/dev/hidraw7");
    EXPECT_EQ(FindHidNode(root.path(), "usb-0000:00:14.0-1.1/input0"), "/dev/hidraw0");
    EXPECT_EQ(FindHidNode(root.path(), "usb-0000:00:14.0-1.3/input0"),
              "usb-0000:00:14.0-1.3/input0");
    EXPECT_EQ(FindHidNode(root.path() + "/missing", "/dev/hidraw2"), "/dev/hidraw2");
}

TEST_F(UsbIdentityTest, IdentityOnTheRealMachineNeverFails)
{
    // Whatever this machine has, the answer is a non-empty text.
    EXPECT_FALSE(UsbIdentityOf("/sys", "/dev/hidraw0").empty());
}

} // namespace
} // namespace tessaron
