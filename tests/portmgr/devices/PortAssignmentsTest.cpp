#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"

#include "common/FileWriteError.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <pty.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaron {
namespace {

using test::TempHome;

class AssignmentsTest : public ::testing::Test
{
protected:
    void SetUp() override { LoadSettings(pm); }

    void Entry(int i, int port, const std::string& identity)
    {
        pm.PortAssignments[static_cast<size_t>(i)].ComPort = port;
        pm.PortAssignments[static_cast<size_t>(i)].Identity = identity;
    }
    const TPortAssignment& At(int i) const { return pm.PortAssignments[static_cast<size_t>(i)]; }
    void LinkPort(int n, const std::string& target)
    {
        std::filesystem::create_directories(home.file("ports"));
        std::filesystem::create_symlink(target, home.file("ports/COM" + std::to_string(n)));
    }
    // A serial device of this test's own that nobody holds: a pseudo-terminal
    // (a shared node such as /dev/null is held by many processes, and another
    // test may lock it at the same time).
    std::string Terminal()
    {
        int master = -1;
        int slave = -1;
        char name[128] = {};
        EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        masters.push_back(master);
        return name;
    }
    ~AssignmentsTest() override
    {
        for (int fd : masters) {
            ::close(fd);
        }
    }

    TempHome home;
    TPortManager pm;
    std::vector<int> masters;
};

TEST_F(AssignmentsTest, WithoutSettingsFileAllIsEmpty)
{
    EXPECT_FALSE(home.exists("Corvandelle.ini"));
    EXPECT_TRUE(pm.RetryOnVComFail);
    for (int i = 0; i < MaxKeypads; ++i) {
        EXPECT_EQ(At(i).ComPort, 0);
        EXPECT_TRUE(At(i).Identity.empty());
        EXPECT_FALSE(At(i).InUse);
    }
    ComputeAvailablePorts(pm);
    for (int n = 0; n <= MaxComPorts; ++n) {
        EXPECT_TRUE(pm.PortAvailable[n]) << n;
    }
}

TEST_F(AssignmentsTest, LoadReadsEveryEntryAndLeavesInUseAlone)
{
    home.write("Corvandelle.ini",
               "[Application]\r\nRetryOnVComFail=0\r\n"
               "[port settings]\r\ncom_assignment_1=5\r\nGUID_1= usb-1-1.2:1.0 \r\n"
               "COM_Assignment_6=16\r\nGUID_6=COM3\r\n");
    pm.PortAssignments[0].InUse = true;
    LoadSettings(pm);
    EXPECT_FALSE(pm.RetryOnVComFail);
    EXPECT_EQ(At(0).ComPort, 5);
    EXPECT_EQ(At(0).Identity, "usb-1-1.2:1.0");
    EXPECT_TRUE(At(0).InUse);
    EXPECT_EQ(At(5).ComPort, 16);
    EXPECT_EQ(At(5).Identity, "COM3");
    EXPECT_EQ(At(2).ComPort, 0);
}

TEST_F(AssignmentsTest, SavedPortOutsideTheRangeIsNoPort)
{
    home.write("Corvandelle.ini", "[Port Settings]\nCOM_Assignment_1=17\nGUID_1=keypad-a\n"
                                  "COM_Assignment_2=-3\nGUID_2=keypad-b\n"
                                  "COM_Assignment_3=0x10\nGUID_3=keypad-c\n");
    LoadSettings(pm);
    EXPECT_EQ(At(0).ComPort, 0);
    EXPECT_EQ(At(0).Identity, "keypad-a"); // the keypad may get a port again
    EXPECT_EQ(At(1).ComPort, 0);
    EXPECT_EQ(At(2).ComPort, 16);
    EXPECT_EQ(StoreAssignment(pm, 4, "keypad-a"), 0);
    EXPECT_EQ(At(0).ComPort, 4);
}

TEST_F(AssignmentsTest, SavedIdentityTooLongForDevicePathIsAFreeEntry)
{
    const std::string tooLong(260, 'i');
    const std::string fits(259, 'j');
    home.write("Corvandelle.ini", "[Port Settings]\nCOM_Assignment_1=5\nGUID_1=" + tooLong +
                                      "\nCOM_Assignment_2=6\nGUID_2=" + fits + "\n");
    LoadSettings(pm);
    EXPECT_EQ(At(0).ComPort, 0);
    EXPECT_TRUE(At(0).Identity.empty());
    EXPECT_EQ(FindAssignedPort(pm, tooLong), 0);
    EXPECT_EQ(FindAssignedPort(pm, fits), 6);
    EXPECT_EQ(StoreAssignment(pm, 5, tooLong), 1);
}

TEST_F(AssignmentsTest, SaveWritesAllSixPairsInOrder)
{
    Entry(1, 3, "keypad-b");
    SavePortSettings(pm);
    const std::string text = home.read("Corvandelle.ini");
    const std::string expected = "[Port Settings]\r\n"
                                 "COM_Assignment_1=0\r\nGUID_1=\r\n"
                                 "COM_Assignment_2=3\r\nGUID_2=keypad-b\r\n"
                                 "COM_Assignment_3=0\r\nGUID_3=\r\n"
                                 "COM_Assignment_4=0\r\nGUID_4=\r\n"
                                 "COM_Assignment_5=0\r\nGUID_5=\r\n"
                                 "COM_Assignment_6=0\r\nGUID_6=\r\n";
    EXPECT_EQ(text, expected);
    pm.RetryOnVComFail = false;
    SaveAppSettings(pm);
    TPortManager other;
    LoadSettings(other);
    EXPECT_FALSE(other.RetryOnVComFail);
    EXPECT_EQ(other.PortAssignments[1].ComPort, 3);
    EXPECT_EQ(other.PortAssignments[1].Identity, "keypad-b");
}

TEST_F(AssignmentsTest, SaveKeepsWhatCorvandelleDoesNotUse)
{
    home.write("Corvandelle.ini",
               "; keypads\r\n[Port Settings]\r\nExtra=kept\r\n[Other]\r\nx=1\r\n");
    LoadSettings(pm);
    StoreAssignment(pm, 2, "keypad-a");
    const std::string text = home.read("Corvandelle.ini");
    EXPECT_NE(text.find("; keypads\r\n"), std::string::npos);
    EXPECT_NE(text.find("Extra=kept\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Other]\r\nx=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("GUID_1=keypad-a\r\n"), std::string::npos);
}

TEST_F(AssignmentsTest, FindAndClaimTakeTheFirstMatchingEntry)
{
    Entry(1, 4, "keypad-a");
    Entry(3, 9, "keypad-a");
    Entry(4, 2, "");
    EXPECT_EQ(FindAssignedPort(pm, "keypad-a"), 4);
    EXPECT_EQ(FindAssignedPort(pm, ""), 0); // empty entries match nothing
    EXPECT_EQ(FindAssignedPort(pm, "keypad-z"), 0);
    EXPECT_EQ(ClaimAssignment(pm, "keypad-a"), 1);
    EXPECT_TRUE(At(1).InUse);
    EXPECT_FALSE(At(3).InUse);
    EXPECT_EQ(ClaimAssignment(pm, "keypad-z"), -1);
    EXPECT_EQ(ClaimAssignment(pm, ""), -1);
}

TEST_F(AssignmentsTest, IdentitiesDifferingInCaseAreDifferentKeypads)
{
    EXPECT_EQ(StoreAssignment(pm, 5, "usb-0000:00:14.0-1.2/input0"), 0);
    EXPECT_EQ(FindAssignedPort(pm, "USB-0000:00:14.0-1.2/INPUT0"), 0);
    EXPECT_EQ(StoreAssignment(pm, 6, "USB-0000:00:14.0-1.2/INPUT0"), 0);
    EXPECT_EQ(StoreAssignment(pm, 0, "Usb-0000:00:14.0-1.2/input0"), 1);
    EXPECT_EQ(FindAssignedPort(pm, "usb-0000:00:14.0-1.2/input0"), 5);
    EXPECT_EQ(FindAssignedPort(pm, "USB-0000:00:14.0-1.2/INPUT0"), 6);
}

TEST_F(AssignmentsTest, StoreRefusesAnEmptyIdentityOrAPortOutOfRange)
{
    EXPECT_EQ(StoreAssignment(pm, 5, ""), 1);
    EXPECT_EQ(StoreAssignment(pm, 0, ""), 1);
    EXPECT_EQ(StoreAssignment(pm, 17, "keypad-a"), 1);
    EXPECT_EQ(StoreAssignment(pm, -1, "keypad-a"), 1);
    EXPECT_FALSE(home.exists("Corvandelle.ini"));
}

TEST_F(AssignmentsTest, StoringWhatIsAlreadySoWritesNothing)
{
    Entry(2, 5, "keypad-a");
    EXPECT_EQ(StoreAssignment(pm, 5, "keypad-a"), 0);
    EXPECT_FALSE(home.exists("Corvandelle.ini"));
}

TEST_F(AssignmentsTest, PortOfAnotherKeypadIsRefused)
{
    Entry(0, 5, "keypad-a");
    EXPECT_EQ(StoreAssignment(pm, 5, "keypad-b"), 1);
    EXPECT_EQ(At(0).Identity, "keypad-a");
    EXPECT_EQ(FindAssignedPort(pm, "keypad-b"), 0);
    EXPECT_FALSE(home.exists("Corvandelle.ini"));
}

TEST_F(AssignmentsTest, OnlyTheFirstEntryHoldingThePortDecides)
{
    Entry(0, 5, "keypad-a");
    Entry(1, 5, "keypad-b"); // a hand-edited file can hold this
    EXPECT_EQ(StoreAssignment(pm, 5, "keypad-b"), 1);
    EXPECT_EQ(StoreAssignment(pm, 5, "keypad-a"), 0);
}

TEST_F(AssignmentsTest, KeypadWithAPortMustGiveItUpBeforeTakingAnother)
{
    EXPECT_EQ(StoreAssignment(pm, 5, "keypad-a"), 0);
    EXPECT_EQ(StoreAssignment(pm, 7, "keypad-a"), 1);
    EXPECT_EQ(FindAssignedPort(pm, "keypad-a"), 5);
    EXPECT_EQ(StoreAssignment(pm, 0, "keypad-a"), 0);
    EXPECT_EQ(StoreAssignment(pm, 7, "keypad-a"), 0);
    EXPECT_EQ(FindAssignedPort(pm, "keypad-a"), 7);
    TPortManager reread;
    LoadSettings(reread);
    EXPECT_EQ(FindAssignedPort(reread, "keypad-a"), 7);
}

TEST_F(AssignmentsTest, KeypadWhoseEntryHasNoPortGetsThePortThere)
{
    Entry(0, 0, "keypad-x");
    Entry(3, 0, "keypad-a");
    EXPECT_EQ(StoreAssignment(pm, 8, "keypad-a"), 0);
    EXPECT_EQ(At(3).ComPort, 8);
    EXPECT_EQ(At(0).ComPort, 0);
}

TEST_F(AssignmentsTest, NewKeypadTakesTheFirstFreeEntryThenAPortlessOne)
{
    for (int i = 0; i < MaxKeypads; ++i) {
        Entry(i, i + 1, "keypad-" + std::to_string(i));
    }
    Entry(4, 0, "keypad-4"); // remembered without a port
    Entry(2, 0, "");         // free
    EXPECT_EQ(StoreAssignment(pm, 12, "keypad-new"), 0);
    EXPECT_EQ(At(2).ComPort, 12);
    EXPECT_EQ(At(2).Identity, "keypad-new");
    EXPECT_EQ(StoreAssignment(pm, 13, "keypad-newer"), 0);
    EXPECT_EQ(At(4).ComPort, 13);
    EXPECT_EQ(At(4).Identity, "keypad-newer");
}

TEST_F(AssignmentsTest, SeventhKeypadIsRefusedWhenTheTableIsFull)
{
    for (int i = 0; i < MaxKeypads; ++i) {
        ASSERT_EQ(StoreAssignment(pm, i + 1, "keypad-" + std::to_string(i)), 0);
    }
    const std::string before = home.read("Corvandelle.ini");
    EXPECT_EQ(StoreAssignment(pm, 9, "keypad-7"), 1);
    EXPECT_EQ(home.read("Corvandelle.ini"), before);
}

TEST_F(AssignmentsTest, RemovingAnUnknownKeypadIsRefused)
{
    Entry(0, 3, "keypad-a");
    EXPECT_EQ(StoreAssignment(pm, 0, "keypad-b"), 1);
    EXPECT_EQ(At(0).ComPort, 3);
    EXPECT_EQ(StoreAssignment(pm, 0, "keypad-a"), 0);
    EXPECT_EQ(At(0).ComPort, 0);
    EXPECT_TRUE(At(0).Identity.empty());
}

TEST_F(AssignmentsTest, UnwritableSettingsRaiseAndKeepTheNewValues)
{
    // A folder where a file stands: no one, not even root, can write below it.
    const std::string blocked = home.write("blocked", "a file");
    ::setenv("TESSARON_HOME", (blocked + "/suite").c_str(), 1);
    try {
        StoreAssignment(pm, 5, "keypad-a");
        ADD_FAILURE() << "no error raised";
    } catch (const FileWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("Unable to write to"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Corvandelle.ini"), std::string::npos);
    }
    EXPECT_EQ(FindAssignedPort(pm, "keypad-a"), 5);
    ::setenv("TESSARON_HOME", home.path().c_str(), 1);
}

TEST_F(AssignmentsTest, AvailablePortsLeaveOutRealAssignedAndKeypadPorts)
{
    Entry(0, 3, "keypad-a");
    LinkPort(4, Terminal());                // a character device: a real port
    home.write("ports/COM5", "not a port"); // a plain file is no port
    LinkPort(6, home.file("nowhere"));      // a dangling link neither
    pm.SerialKeypadPorts[6] = true;         // a serial keypad answered on COM7
    ComputeAvailablePorts(pm);
    EXPECT_TRUE(pm.PortAvailable[0]);
    for (int n = 1; n <= MaxComPorts; ++n) {
        EXPECT_EQ(pm.PortAvailable[n], n != 3 && n != 4 && n != 7) << n;
    }
}

TEST_F(AssignmentsTest, RealPortExistsOnlyForCharacterDevicesThatOpen)
{
    EXPECT_FALSE(RealPortExists(1));
    const std::string terminal = Terminal();
    LinkPort(1, terminal);
    EXPECT_TRUE(RealPortExists(1));
    home.write("ports/COM2", "file");
    EXPECT_FALSE(RealPortExists(2));
    EXPECT_FALSE(RealPortExists(0));
    EXPECT_FALSE(RealPortExists(17));
    // Held by another program of the suite.
    const int holder = ::open(terminal.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_FALSE(RealPortExists(1));
    ::close(holder);
    EXPECT_TRUE(RealPortExists(1));
}

} // namespace
} // namespace tessaron
