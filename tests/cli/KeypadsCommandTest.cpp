// tessaron keypads against simulated USB and serial keypads, in-process and as
// a separate process set up through the simulated library's set-up file.
#include "cli/Command.h"

#include "FakeHid.h"
#include "FakeSerialKeypad.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>

namespace tessaron {
namespace {

namespace fs = std::filesystem;
using test::FakeSerialKeypad;
using test::TempDir;
using test::TempHome;
using test::WriteFile;

const std::string PortPhys = "usb-0000:00:14.0-1.2/input0";

class KeypadsCommandTest : public ::testing::Test
{
protected:
    KeypadsCommandTest() { fakehid_reset(); }
    ~KeypadsCommandTest() override
    {
        serial.clear();
        fakehid_reset();
    }

    int Run(std::vector<std::string> extra = {})
    {
        std::vector<std::string> argv = {"tessaron", "keypads"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        std::ostringstream o;
        std::ostringstream e;
        const int status = cli::RunTool(argv, o, e);
        out = o.str();
        err = e.str();
        return status;
    }

    int AddUsb(const std::string& path, const std::string& identification)
    {
        const int id = fakehid_add_device(0x16C0, 0x0604, path.c_str());
        fakehid_set_identification(id, identification.data(), identification.size());
        return id;
    }
    void SysfsNode(const std::string& node, const std::string& phys)
    {
        WriteFile(sysfs.path() + "/class/hidraw/" + node + "/device/uevent",
                  "HID_PHYS=" + phys + "\n");
    }
    void AddSerial(int n, char type, const std::string& identification)
    {
        FakeSerialKeypad::Options o;
        o.Type = type;
        o.Identification = identification;
        serial.push_back(
            std::make_unique<FakeSerialKeypad>(home.file("ports/COM" + std::to_string(n)), o));
    }

    TempHome home;
    TempDir sysfs;
    test::ScopedEnv hidapiEnv{"TESSARON_HIDAPI", FAKEHID_LIBRARY};
    test::ScopedEnv sysfsEnv{"TESSARON_SYSFS", sysfs.path()};
    std::vector<std::unique_ptr<FakeSerialKeypad>> serial;
    std::string out;
    std::string err;
};

TEST_F(KeypadsCommandTest, WithoutHidapiItFailsWithTheSystemsMessage)
{
    ::setenv("TESSARON_HIDAPI", "/nonexistent/libhidapi-hidraw.so.0", 1);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(err, "Could not start USB librairies!\n");
    EXPECT_EQ(out, "");
}

TEST_F(KeypadsCommandTest, NoKeypadListsNothing)
{
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

TEST_F(KeypadsCommandTest, ListsSerialKeypadsFirstThenUsbKeypadsWithTheirPorts)
{
    home.write("Corvandelle.ini",
               "[Port Settings]\r\nCOM_Assignment_1=5\r\nGUID_1=" + PortPhys + "\r\n");
    SysfsNode("hidraw3", PortPhys);
    const int assigned = AddUsb("/dev/hidraw3", "USB keypad one  ");
    AddUsb("/dev/hidraw5", "USB keypad two  ");
    AddSerial(11, 'v', "Tessaron CDC 514");
    AddSerial(3, 'R', "Tessaron 510 RS2");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(out, "1\tRS232\t-\tCOM3\tTessaron 510 RS2\n"
                   "2\tCDC\t-\tCOM11\tTessaron CDC 514\n"
                   "3\tUSB\tCOM5\t" +
                       PortPhys +
                       "\tUSB keypad one  \n"
                       "4\tUSB\t-\t/dev/hidraw5\tUSB keypad two  \n");
    EXPECT_EQ(err, "");
    // Opening told the keypad its saved port, as bridging would.
    unsigned char feature[6] = {};
    ASSERT_EQ(fakehid_feature(assigned, 0, feature, sizeof feature), 6);
    EXPECT_EQ(feature[1], 5);
    EXPECT_EQ(fakehid_open_handles(assigned), 0); // and it closed it again
}

TEST_F(KeypadsCommandTest, IdentitySurvivesAReplugThatRenumbersTheNode)
{
    SysfsNode("hidraw3", PortPhys);
    const int id = AddUsb("/dev/hidraw3", "Replugged keypad");
    ASSERT_EQ(Run(), 0);
    const std::string first = out;
    EXPECT_EQ(first, "1\tUSB\t-\t" + PortPhys + "\tReplugged keypad\n");

    fakehid_unplug(id);
    fs::remove_all(sysfs.path() + "/class/hidraw/hidraw3");
    SysfsNode("hidraw8", PortPhys);
    fakehid_plug(id, "/dev/hidraw8");
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(out, first); // same identity, and the keypad answered at its new node
}

TEST_F(KeypadsCommandTest, KeypadWithoutPermissionIsListedAndTheFixNamed)
{
    const int id = AddUsb("/dev/hidraw-denied", "Never seen      ");
    fakehid_set_open_error(id, EACCES);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(out, "1\tUSB\t-\t/dev/hidraw-denied\t\n");
    EXPECT_NE(err.find("Permission denied"), std::string::npos) << err;
    EXPECT_NE(err.find("udev/70-tessaron-keypad.rules"), std::string::npos) << err;
}

// Beside a running bridge: its keypad and its port are not asked, and a dead
// bridge's leftover link is removed before the probe could follow it.
TEST_F(KeypadsCommandTest, WhatABridgeHoldsIsNotAskedAndTheListingSaysSo)
{
    AddUsb("/dev/hidraw-bridged", "Bridged keypad  ");
    TPortManager bridge;
    ASSERT_EQ(EnumerateKeypads(bridge), 1);
    ASSERT_FALSE(OpenUsbKeypad(bridge, 0));
    TVirtualPort port;
    ASSERT_TRUE(port.CreatePort("COM2"));
    home.write("ports/.COM5.owner", "999999999 1 /dev/pts/999\n");
    fs::create_symlink("/dev/pts/999", home.file("ports/COM5"));

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(out, "1\tUSB\t-\t/dev/hidraw-bridged\t(in use, not asked)\n");
    EXPECT_NE(err.find("COM2 not probed: a virtual port of a running bridge"), std::string::npos)
        << err;
    EXPECT_NE(err.find("keypad 1 is in use by another program of the suite"), std::string::npos)
        << err;
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(home.file("ports/COM5"))));
    EXPECT_EQ(port.BytesPending(), 0);
}

TEST_F(KeypadsCommandTest, VersionTextStaysOnItsLine)
{
    AddUsb("/dev/hidraw-odd", std::string("Tab\there\0 rest", 14));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(out, "1\tUSB\t-\t/dev/hidraw-odd\tTab?here\n");
}

TEST_F(KeypadsCommandTest, ArgumentsAreRefused)
{
    EXPECT_EQ(Run({"--all"}), 2);
    EXPECT_NE(err.find("usage: tessaron keypads"), std::string::npos);
}

// Ports given and taken as the configuration dialog does, by row or identity,
// with its refusals and its message on the keypad's display; without a
// running bridge there is nothing to stop. The listing shows the result.
TEST_F(KeypadsCommandTest, AssignAndUnassignAsTheConfigurationDialogDoes)
{
    home.write("Corvandelle.ini", "[Port Settings]\r\nCOM_Assignment_1=7\r\nGUID_1=/dev/hidraw-b"
                                  "\r\nCOM_Assignment_2=9\r\nGUID_2=/dev/hidraw-gone\r\n");
    AddSerial(3, 'R', "Tessaron 510 RS2");
    const int a = AddUsb("/dev/hidraw-a", "Keypad A        ");
    const int b = AddUsb("/dev/hidraw-b", "Keypad B        ");
    const auto lastMessage = [](int id) {
        char text[64] = {};
        const int n = fakehid_message_count(id);
        return n > 0 && fakehid_message(id, n - 1, text, sizeof text) >= 0 ? std::string(text)
                                                                           : std::string("none");
    };
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const std::string takenByB = "tessaron: COM7 is assigned to keypad /dev/hidraw-b; unassign "
                                 "that one first (tessaron unassign /dev/hidraw-b).\n";
    const Case cases[] = {
        {{"assign", "2", "COM5"}, 0, "COM5 assigned to keypad 2 (/dev/hidraw-a).\n", ""},
        {{"assign", "/dev/hidraw-a", "COM7"}, 1, "", takenByB},
        {{"assign", "1", "COM6"},
         1,
         "",
         "tessaron: keypad 1 (COM3) is a serial keypad (RS232): its port is fixed and cannot be "
         "assigned.\n"},
        {{"assign", "2", "COM3"}, 1, "", "tessaron: COM3 is the port of a serial keypad.\n"},
        {{"assign", "4", "COM6"},
         1,
         "",
         "tessaron: no keypad \"4\" is attached or remembered (tessaron keypads lists them).\n"},
        {{"assign", "/dev/hidraw-a", "com6"},
         0,
         "COM6 assigned to keypad 2 (/dev/hidraw-a).\n",
         ""},
        {{"assign", "2", "COM6"}, 0, "keypad 2 (/dev/hidraw-a) has COM6 already.\n", ""},
        {{"unassign", "/dev/hidraw-gone"},
         0,
         "keypad 4 (/dev/hidraw-gone) no longer has COM9.\n",
         ""},
        {{"unassign", "3"}, 0, "keypad 3 (/dev/hidraw-b) no longer has COM7.\n", ""},
        {{"unassign", "3"}, 0, "keypad 3 (/dev/hidraw-b) has no port already.\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        std::vector<std::string> argv = {"tessaron"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::ostringstream o, e;
        EXPECT_EQ(cli::RunTool(argv, o, e), c.status);
        EXPECT_EQ(o.str(), c.out);
        EXPECT_EQ(e.str(), c.err);
        if (c.args[0] == "assign" && c.args[1] == "2" && c.status == 0) {
            EXPECT_EQ(lastMessage(a), "Keypad #2, " + c.args[2] + " ");
        }
    }
    EXPECT_EQ(lastMessage(b), "Keypad #3, COM? ");
    EXPECT_EQ(fakehid_open_handles(a), 0);
    EXPECT_EQ(home.read("Corvandelle.ini"),
              "[Port Settings]\r\nCOM_Assignment_1=0\r\nGUID_1=\r\nCOM_Assignment_2=0\r\n"
              "GUID_2=\r\nCOM_Assignment_3=6\r\nGUID_3=/dev/hidraw-a\r\nCOM_Assignment_4=0\r\n"
              "GUID_4=\r\nCOM_Assignment_5=0\r\nGUID_5=\r\nCOM_Assignment_6=0\r\nGUID_6=\r\n");

    EXPECT_EQ(Run({"--json"}), 0);
    EXPECT_EQ(out, "[\n"
                   "  {\n    \"row\": 1,\n    \"kind\": \"RS232\",\n    \"port\": null,\n"
                   "    \"identity\": \"COM3\",\n    \"version\": \"Tessaron 510 RS2\",\n"
                   "    \"in_use\": false\n  },\n"
                   "  {\n    \"row\": 2,\n    \"kind\": \"USB\",\n    \"port\": \"COM6\",\n"
                   "    \"identity\": \"/dev/hidraw-a\",\n    \"version\": \"Keypad A        \",\n"
                   "    \"in_use\": false\n  },\n"
                   "  {\n    \"row\": 3,\n    \"kind\": \"USB\",\n    \"port\": null,\n"
                   "    \"identity\": \"/dev/hidraw-b\",\n    \"version\": \"Keypad B        \",\n"
                   "    \"in_use\": false\n  }\n"
                   "]\n");
}

// The built tool in a process of its own, its keypads set up through
// TESSARON_FAKEHID_SETUP as a person without hardware would.
TEST_F(KeypadsCommandTest, ToolListsKeypadsSetUpThroughTheSetupFile)
{
    const std::string setup =
        home.write("keypads.txt", "# two simulated keypads\n"
                                  "add 16c0:0604 /dev/hidraw4 Process keypad 1\n"
                                  "add 16c0:0605 /dev/hidraw6 Not a keypad    \n");
    SysfsNode("hidraw4", PortPhys);
    AddSerial(2, 'R', "short");
    const std::string command = "TESSARON_HOME='" + home.path() + "' TESSARON_HIDAPI='" +
                                FAKEHID_LIBRARY + "' TESSARON_FAKEHID_SETUP='" + setup +
                                "' TESSARON_SYSFS='" + sysfs.path() + "' '" TESSARON_TOOL +
                                "' keypads > '" + home.file("out") + "' 2> '" + home.file("err") +
                                "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << home.read("err");
    EXPECT_EQ(home.read("out"), "1\tRS232\t-\tCOM2\tshort\n"
                                "2\tUSB\t-\t" +
                                    PortPhys + "\tProcess keypad 1\n");
    EXPECT_EQ(home.read("err"), "");
}

} // namespace
} // namespace tessaron
