#include "DevicesFixture.h"

#include "portmgr/devices/KeypadQuery.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dlfcn.h>
#include <thread>

namespace tessaron {
namespace {

using test::DevicesTest;
using test::FakeFeature;
using test::FakeOutput;

using HidLibraryTest = DevicesTest;
using UsbListingTest = DevicesTest;
using UsbOpenTest = DevicesTest;

TEST_F(HidLibraryTest, LoadsTheLibraryNamedByTheEnvironmentOnce)
{
    EXPECT_FALSE(LoadHidLibraries(*pm));
    EXPECT_TRUE(pm->Hid.Loaded());
    EXPECT_EQ(pm->Hid.Name(), FAKEHID_LIBRARY);
    EXPECT_FALSE(LoadHidLibraries(*pm)); // already loaded: success at once
    UnloadHidLibraries(*pm);
    EXPECT_FALSE(pm->Hid.Loaded());
    EXPECT_EQ(pm->Hid.Calls()->ReadTimeout, nullptr);
}

// The simulated library shares the names this code asks for; the real one has
// to have them too.
TEST_F(HidLibraryTest, RealHidapiHasEveryEntryPoint)
{
    void* real = ::dlopen(THidLibrary::DefaultName, RTLD_NOW | RTLD_LOCAL);
    if (real == nullptr) {
        GTEST_SKIP() << THidLibrary::DefaultName << " is not installed";
    }
    ::dlclose(real);
    ::unsetenv("TESSARON_HIDAPI");
    EXPECT_FALSE(LoadHidLibraries(*pm)) << pm->Hid.Error();
    EXPECT_EQ(pm->Hid.Name(), THidLibrary::DefaultName);
    EXPECT_GE(EnumerateKeypads(*pm), 0);
    UnloadHidLibraries(*pm);
}

TEST_F(HidLibraryTest, MissingLibraryFailsAndEnumerationChangesNothing)
{
    ::setenv("TESSARON_HIDAPI", "/nonexistent/libhidapi.so", 1);
    EXPECT_TRUE(LoadHidLibraries(*pm));
    EXPECT_FALSE(pm->Hid.Loaded());
    EXPECT_FALSE(pm->Hid.Error().empty());

    SetDevicePath(Slot(2), "COM4");
    Slot(2).Flags = SlotPresent | SlotRs232;
    Slot(2).ComPort = 3;
    pm->SerialKeypadPorts[3] = true;
    AddSerialKeypad(1);
    EXPECT_EQ(EnumerateKeypads(*pm), -1);
    EXPECT_STREQ(Slot(2).DevicePath, "COM4");
    EXPECT_EQ(Slot(2).Flags, SlotPresent | SlotRs232);
    EXPECT_EQ(Slot(2).ComPort, 3);
    EXPECT_TRUE(pm->SerialKeypadPorts[3]);
    EXPECT_EQ(serialKeypads[0]->TypeQueries(), 0); // not even probed
}

TEST_F(HidLibraryTest, LibraryLackingEntryPointsIsNotLoadedAtAll)
{
    ::setenv("TESSARON_HIDAPI", FAKEHID_PARTIAL_LIBRARY, 1);
    EXPECT_TRUE(LoadHidLibraries(*pm));
    EXPECT_FALSE(pm->Hid.Loaded());
    EXPECT_EQ(pm->Hid.Calls()->Close, nullptr);
    EXPECT_EQ(pm->Hid.Enumerate(0, 0), nullptr);
}

TEST_F(HidLibraryTest, UnloadClosesOpenUsbKeypadsFirst)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    EXPECT_EQ(fakehid_open_handles(id), 2); // one for reading, one for writing
    UnloadHidLibraries(*pm);
    EXPECT_EQ(fakehid_open_handles(id), 0);
    EXPECT_FALSE(Slot(0).Flags & SlotOpen);
    EXPECT_FALSE(Slot(0).ReadThread);
}

TEST_F(UsbListingTest, NothingAttachedListsNothing)
{
    EXPECT_EQ(EnumerateKeypads(*pm), 0);
    for (int i = 0; i < MaxKeypads; ++i) {
        EXPECT_EQ(Slot(i).Flags, 0);
    }
}

TEST_F(UsbListingTest, SevenKeypadsFillSixSlotsInTheSystemsOrder)
{
    for (int i = 0; i < 7; ++i) {
        AddUsbKeypad("/dev/hidraw-k" + std::to_string(i));
    }
    EXPECT_EQ(EnumerateKeypads(*pm), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(DevicePathOf(Slot(i)), "/dev/hidraw-k" + std::to_string(i));
        EXPECT_EQ(Slot(i).Flags, SlotPresent);
        EXPECT_EQ(Slot(i).ComPort, 0);
    }
}

TEST_F(UsbListingTest, OnlyTheKeypadsVendorAndProductAreListed)
{
    fakehid_add_device(0x16C0, 0x0605, "/dev/hidraw-other-product");
    fakehid_add_device(0x046D, 0x0604, "/dev/hidraw-other-vendor");
    AddUsbKeypad("/dev/hidraw-keypad");
    EXPECT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_EQ(DevicePathOf(Slot(0)), "/dev/hidraw-keypad");
}

TEST_F(UsbListingTest, DeviceWithSeveralCollectionsIsListedOnce)
{
    const int id = AddUsbKeypad("/dev/hidraw-multi");
    fakehid_set_collections(id, 3);
    AddUsbKeypad("/dev/hidraw-single");
    EXPECT_EQ(EnumerateKeypads(*pm), 2);
    EXPECT_EQ(DevicePathOf(Slot(0)), "/dev/hidraw-multi");
    EXPECT_EQ(DevicePathOf(Slot(1)), "/dev/hidraw-single");
}

TEST_F(UsbListingTest, PathTooLongForDevicePathIsNoKeypad)
{
    const std::string longPath = "/dev/" + std::string(255, 'p'); // 260 characters
    AddUsbKeypad(longPath);
    const std::string fits = "/dev/" + std::string(254, 'q'); // 259 characters
    AddUsbKeypad(fits);
    EXPECT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_EQ(DevicePathOf(Slot(0)), fits);
    EXPECT_FALSE(SetDevicePath(Slot(1), longPath));
    EXPECT_STREQ(Slot(1).DevicePath, "");
}

TEST_F(UsbListingTest, KeypadRefusedForPermissionIsListedWithTheFix)
{
    const int denied = AddUsbKeypad("/dev/hidraw-denied");
    fakehid_set_open_error(denied, EACCES);
    const int busy = AddUsbKeypad("/dev/hidraw-busy");
    fakehid_set_open_error(busy, EBUSY);
    AddUsbKeypad("/dev/hidraw-fine");
    EXPECT_EQ(EnumerateKeypads(*pm), 2);
    EXPECT_EQ(DevicePathOf(Slot(0)), "/dev/hidraw-denied");
    EXPECT_NE(Slot(0).LastError.find("Permission denied"), std::string::npos);
    EXPECT_NE(Slot(0).LastError.find("udev/70-tessaron-keypad.rules"), std::string::npos);
    EXPECT_NE(Slot(0).LastError.find("/dev/hidraw-denied"), std::string::npos);
    EXPECT_EQ(DevicePathOf(Slot(1)), "/dev/hidraw-fine");
    EXPECT_TRUE(Slot(1).LastError.empty());

    EXPECT_TRUE(OpenUsbKeypad(*pm, 0));
    EXPECT_FALSE(Slot(0).Flags & SlotOpen);
    EXPECT_FALSE(Slot(0).LastError.empty());
    // Once the rule is installed the keypad opens and the message goes.
    fakehid_set_open_error(denied, 0);
    EXPECT_FALSE(OpenUsbKeypad(*pm, 0));
    EXPECT_TRUE(Slot(0).LastError.empty());
}

TEST_F(UsbOpenTest, OpeningStartsBothThreadsAndSendsThePortNumber)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    Slot(0).ComPort = 12;
    waits.clear();
    EXPECT_FALSE(OpenUsbKeypad(*pm, 0));
    EXPECT_EQ(Slot(0).Flags, SlotPresent | SlotOpen);
    ASSERT_TRUE(Slot(0).Handle);
    ASSERT_TRUE(Slot(0).ReadThread);
    ASSERT_TRUE(Slot(0).WriteThread);
    EXPECT_EQ(Slot(0).ReadThread->Kind(), LinkUsb);
    EXPECT_EQ(Slot(0).WriteThread->Kind(), LinkUsb);
    ASSERT_EQ(fakehid_feature_count(id), 1);
    EXPECT_EQ(FakeFeature(id, 0), (std::vector<unsigned char>{0x00, 12, 0, 0, 0, 0}));
    EXPECT_EQ(fakehid_feature_reads(id), 1);
    EXPECT_EQ(waits, (std::vector<int>{50}));
}

TEST_F(UsbOpenTest, KeypadWithoutPortIsToldPortZero)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    Slot(0).ComPort = 0x113; // only the low 8 bits travel
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    CloseKeypad(*pm, 0);
    Slot(0).ComPort = 0;
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    ASSERT_EQ(fakehid_feature_count(id), 2);
    EXPECT_EQ(FakeFeature(id, 0)[1], 0x13);
    EXPECT_EQ(FakeFeature(id, 1), (std::vector<unsigned char>{0x00, 0, 0, 0, 0, 0}));
}

TEST_F(UsbOpenTest, OpenDoesNothingForOpenSerialOrEmptySlots)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    const int opens = fakehid_total_opens(id);
    EXPECT_TRUE(OpenUsbKeypad(*pm, 0)); // already open

    SetDevicePath(Slot(1), "/dev/hidraw-a");
    Slot(1).Flags = SlotPresent | SlotRs232;
    EXPECT_TRUE(OpenUsbKeypad(*pm, 1));
    Slot(1).Flags = SlotPresent | SlotCdc;
    EXPECT_TRUE(OpenUsbKeypad(*pm, 1));
    Slot(2).Flags = SlotPresent; // no DevicePath
    EXPECT_TRUE(OpenUsbKeypad(*pm, 2));
    EXPECT_TRUE(OpenUsbKeypad(*pm, 6));
    EXPECT_TRUE(OpenUsbKeypad(*pm, -1));
    EXPECT_EQ(fakehid_total_opens(id), opens);
    EXPECT_FALSE(Slot(1).Flags & SlotOpen);
}

TEST_F(UsbOpenTest, AbsentKeypadStaysPresentAndClosed)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    fakehid_unplug(id);
    EXPECT_TRUE(OpenUsbKeypad(*pm, 0));
    EXPECT_EQ(Slot(0).Flags, SlotPresent);
    EXPECT_FALSE(Slot(0).Handle);
    EXPECT_TRUE(Slot(0).LastError.empty());
    fakehid_plug(id, nullptr);
    EXPECT_FALSE(OpenUsbKeypad(*pm, 0));
}

TEST_F(UsbOpenTest, CloseKeepsIdentityAndPortAndAllowsReopening)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    Slot(0).ComPort = 5;
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    waits.clear();
    CloseKeypad(*pm, 0);
    EXPECT_EQ(waits, (std::vector<int>{100}));
    EXPECT_EQ(Slot(0).Flags, SlotPresent);
    EXPECT_FALSE(Slot(0).Handle);
    EXPECT_FALSE(Slot(0).ReadThread);
    EXPECT_FALSE(Slot(0).WriteThread);
    EXPECT_EQ(DevicePathOf(Slot(0)), "/dev/hidraw-a");
    EXPECT_EQ(Slot(0).ComPort, 5);
    EXPECT_EQ(fakehid_open_handles(id), 0);
    EXPECT_FALSE(OpenUsbKeypad(*pm, 0));
    EXPECT_EQ(fakehid_open_handles(id), 2);
}

// Without any pause the close must still be safe: both threads are joined
// before the device goes, so nothing reads it afterwards.
TEST_F(UsbOpenTest, CloseJoinsTheThreadsBeforeClosingTheDevice)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    pm->SleepMs = [](int) {};
    for (int round = 0; round < 5; ++round) {
        ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
        const unsigned char bytes[3] = {'a', 'b', 'c'};
        fakehid_type(id, bytes, 3);
        Slot(0).WriteThread->Queue(3, bytes);
        CloseKeypad(*pm, 0);
        const int reads = fakehid_wait_reads(id, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        EXPECT_EQ(fakehid_wait_reads(id, 0, 0), reads);
    }
    EXPECT_EQ(fakehid_open_handles(id), 0);
}

TEST_F(UsbOpenTest, BytesTravelBothWaysThroughAnOpenSlot)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    const unsigned char typed[4] = {'1', '2', '3', '\r'};
    fakehid_type(id, typed, 4);
    TFileReadThread& reader = *Slot(0).ReadThread;
    ASSERT_TRUE(test::WaitFor([&] { return reader.Available() == 4; }));
    EXPECT_EQ(reader.PopByte(), '1');

    const std::string host = "0123456789";
    Slot(0).WriteThread->Queue(10, reinterpret_cast<const std::uint8_t*>(host.data()));
    ASSERT_EQ(fakehid_wait_outputs(id, 2, 3000), 2);
    EXPECT_EQ(FakeOutput(id, 0)[1], 7);
    EXPECT_EQ(FakeOutput(id, 1)[1], 3);
    // Writes and feature reports never enter hidapi beside a read on one device.
    for (int i = 0; i < 20; ++i) {
        Slot(0).WriteThread->Queue(7, reinterpret_cast<const std::uint8_t*>(host.data()));
        SendPortNumber(*pm, 0);
    }
    ASSERT_EQ(fakehid_wait_outputs(id, 22, 5000), 22);
    EXPECT_EQ(fakehid_overlapping_calls(), 0);
}

TEST_F(UsbOpenTest, SilentKeypadRunsUpSilentWaits)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    fakehid_set_idle_interval(id, 0);
    EXPECT_TRUE(test::WaitFor([&] { return Slot(0).ReadThread->SilentWaits > 20; }, 5000));
    fakehid_set_idle_interval(id, 100);
    EXPECT_TRUE(test::WaitFor([&] { return Slot(0).ReadThread->SilentWaits == 0; }, 3000));
}

TEST_F(UsbOpenTest, IdentificationQueryReturnsTheKeypadsText)
{
    AddUsbKeypad("/dev/hidraw-a", "Tessaron 510 v6 ");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_EQ(QueryIdentification(*pm, 0), ""); // closed
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    waits.clear();
    EXPECT_EQ(QueryIdentification(*pm, 0), "Tessaron 510 v6 ");
    EXPECT_EQ(waits, (std::vector<int>{80}));
}

// The identity follows the USB port, not the hidraw node: after a replug that
// renumbers the node, the saved identity still opens the keypad.
TEST_F(UsbOpenTest, IdentitySurvivesAReplugThatChangesTheNode)
{
    const std::string phys = "usb-0000:00:14.0-1.2/input0";
    AddSysfsNode("hidraw3", phys);
    const int id = AddUsbKeypad("/dev/hidraw3");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_EQ(DevicePathOf(Slot(0)), phys);
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    CloseKeypad(*pm, 0);

    fakehid_unplug(id);
    RemoveSysfsNode("hidraw3");
    EXPECT_TRUE(OpenUsbKeypad(*pm, 0));
    AddSysfsNode("hidraw7", phys);
    fakehid_plug(id, "/dev/hidraw7");
    const int opens = fakehid_total_opens(id);
    EXPECT_FALSE(OpenUsbKeypad(*pm, 0));
    EXPECT_EQ(fakehid_total_opens(id), opens + 2);
    CloseKeypad(*pm, 0);

    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_EQ(DevicePathOf(Slot(0)), phys);
}

// `tessaron keypads` beside a running bridge: the keypad that bridging holds
// is neither opened a second time nor told another port.
TEST_F(UsbOpenTest, AKeypadThatAnotherProgramHoldsIsLeftAlone)
{
    const int id = AddUsbKeypad("/dev/hidraw-a");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    TPortManager other;
    other.SysfsRoot = pm->SysfsRoot;
    other.SleepMs = [](int) {};
    ASSERT_EQ(EnumerateKeypads(other), 1);
    const int opens = fakehid_total_opens(id);
    const int features = fakehid_feature_count(id);
    EXPECT_TRUE(OpenUsbKeypad(other, 0));
    EXPECT_TRUE(other.KeypadSlots[0].InUseElsewhere);
    EXPECT_EQ(fakehid_total_opens(id), opens);
    EXPECT_EQ(fakehid_feature_count(id), features);

    CloseKeypad(*pm, 0);
    EXPECT_FALSE(OpenUsbKeypad(other, 0));
    EXPECT_FALSE(other.KeypadSlots[0].InUseElsewhere);
}

// Any HID device may sit where a keypad was plugged in, also one that shares
// the keypad's vendor or its product ID; it is never opened, whether sysfs
// knows its IDs or hidapi's listing tells them (a path that is no hidraw node).
TEST_F(UsbOpenTest, AForeignDeviceInTheKeypadsPlaceIsNeverOpened)
{
    struct Case
    {
        unsigned short vendor;
        unsigned short product;
        const char* phys; // known to sysfs as hidraw4 with this HID_PHYS, or not at all
    };
    const Case cases[] = {
        {0x046D, 0xC52B, "usb-0000:00:14.0-1.2/input0"}, // a keyboard's receiver
        {0x16C0, 0x0605, "usb-0000:00:14.0-1.3/input0"}, // the keypad's vendor only
        {0x16C1, 0x0604, "usb-0000:00:14.0-1.4/input0"}, // its product only
        {0x1050, 0x0407, nullptr},                       // a token
        {0x16C0, 0x0605, nullptr},
        {0x16C1, 0x0604, nullptr},
    };
    ASSERT_FALSE(LoadHidLibraries(*pm));
    for (const Case& c : cases) {
        fakehid_reset();
        RemoveSysfsNode("hidraw4");
        char ids[32];
        std::snprintf(ids, sizeof ids, "0003:%08X:%08X", c.vendor, c.product);
        SCOPED_TRACE(std::string(ids) + (c.phys ? " in sysfs" : " listed by hidapi"));
        const std::string node = c.phys ? "/dev/hidraw4" : "/dev/hidraw-foreign";
        const int device = fakehid_add_device(c.vendor, c.product, node.c_str());
        if (c.phys != nullptr) {
            AddSysfsNode("hidraw4", c.phys, ids);
        }
        for (const std::string& identity : {c.phys ? std::string(c.phys) : node, node}) {
            SetDevicePath(Slot(0), identity);
            Slot(0).Flags = SlotPresent;
            EXPECT_TRUE(OpenUsbKeypad(*pm, 0)) << identity;
            EXPECT_EQ(Slot(0).Flags, SlotPresent) << identity;
        }
        EXPECT_EQ(fakehid_total_opens(device), 0);
    }
}

TEST_F(UsbOpenTest, KeypadsOnTwoPortsKeepTheirOwnIdentities)
{
    AddSysfsNode("hidraw1", "usb-0000:00:14.0-1.1/input0");
    AddSysfsNode("hidraw2", "usb-0000:00:14.0-1.2/input0");
    AddUsbKeypad("/dev/hidraw1", "First keypad    ");
    AddUsbKeypad("/dev/hidraw2", "Second keypad   ");
    ASSERT_EQ(EnumerateKeypads(*pm), 2);
    // The nodes swap (both replugged, other order): each identity finds its keypad.
    fakehid_reset();
    AddUsbKeypad("/dev/hidraw1", "Second keypad   ");
    AddUsbKeypad("/dev/hidraw2", "First keypad    ");
    AddSysfsNode("hidraw1", "usb-0000:00:14.0-1.2/input0");
    AddSysfsNode("hidraw2", "usb-0000:00:14.0-1.1/input0");
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    ASSERT_FALSE(OpenUsbKeypad(*pm, 1));
    EXPECT_EQ(QueryIdentification(*pm, 0), "First keypad    ");
    EXPECT_EQ(QueryIdentification(*pm, 1), "Second keypad   ");
}

} // namespace
} // namespace tessaron
