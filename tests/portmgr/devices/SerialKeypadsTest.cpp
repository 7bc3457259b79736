#include "DevicesFixture.h"

#include "portmgr/devices/KeypadQuery.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"

#include "portmgr/io/TVirtualPort.h"
#include "portmgr/io/UucpLock.h"
#include "tests/support/OtherUser.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pty.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace tessaron {
namespace {

using test::DevicesTest;
using test::FakeSerialKeypad;
using test::WaitFor;

using ProbeTest = DevicesTest;
using EnumerateTest = DevicesTest;
using SerialOpenTest = DevicesTest;

FakeSerialKeypad::Options keypad(char type, std::string identification)
{
    FakeSerialKeypad::Options o;
    o.Type = type;
    o.Identification = std::move(identification);
    return o;
}

// The keypads' line as the terminal holds it after opening (a pseudo-terminal
// starts at 38400 baud, so a speed that was never set shows).
void expectKeypadLine(int fd)
{
    termios line{};
    ASSERT_EQ(::tcgetattr(fd, &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetispeed(&line), static_cast<speed_t>(B9600));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
}

// Somebody's terminal: a pseudo-terminal whose master end shows what was
// written to it; hold() has another process keep the terminal open, as a
// terminal program or a script would.
class Terminal
{
public:
    Terminal()
    {
        int slave = -1;
        char name[128] = {};
        ::openpty(&m_master, &slave, name, nullptr, nullptr);
        ::close(slave);
        ::fcntl(m_master, F_SETFL, O_NONBLOCK);
        path = name;
    }
    ~Terminal()
    {
        if (m_holder > 0) {
            ::close(m_quit[1]);
            ::waitpid(m_holder, nullptr, 0);
            ::close(m_quit[0]);
        }
        ::close(m_master);
    }
    void hold()
    {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(m_quit), 0);
        m_holder = ::fork();
        if (m_holder == 0) {
            const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
            char c = fd >= 0 ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            ::close(m_quit[1]);
            (void)!::read(m_quit[0], &c, 1);
            ::_exit(0);
        }
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ASSERT_EQ(c, 'y');
        ::close(ready[0]);
        ::close(ready[1]);
    }
    std::string written()
    {
        char buffer[64];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }
    // The terminal's line settings (the master reports its slave's).
    termios line() const
    {
        termios t{};
        ::tcgetattr(m_master, &t);
        return t;
    }
    std::string path;

private:
    int m_master = -1;
    pid_t m_holder = 0;
    int m_quit[2] = {-1, -1};
};

TEST_F(ProbeTest, OpenProbePortTellsWhatKindOfPortItFound)
{
    EXPECT_EQ(OpenProbePort(*pm, 3), 1); // no ports/COM3
    test::WriteFile(home.file("ports/COM4"), "a regular file");
    EXPECT_EQ(OpenProbePort(*pm, 4), 2);
    EXPECT_FALSE(pm->Probe.Handle.IsOpen());
    AddSerialKeypad(5);
    EXPECT_EQ(OpenProbePort(*pm, 5), 0);
    ASSERT_TRUE(pm->Probe.Handle.IsOpen());
    expectKeypadLine(pm->Probe.Handle.Fd());
    EXPECT_EQ(OpenProbePort(*pm, 5), -1); // still open
    CloseProbePort(*pm);
    EXPECT_FALSE(pm->Probe.Handle.IsOpen());
    EXPECT_EQ(OpenProbePort(*pm, 0), 1);
    EXPECT_EQ(OpenProbePort(*pm, 17), 1);
}

// What the probe asks each device and makes of its replies; it closes the
// port again in any case.
TEST_F(ProbeTest, ProbeAsksForTheTypeThenTheIdentification)
{
    FakeSerialKeypad::Options late = keypad('v', "Tessaron CDC 514");
    late.IgnoredTypeQueries = 1;
    FakeSerialKeypad::Options mute;
    mute.Answers = false;
    struct Case
    {
        const char* what;
        FakeSerialKeypad::Options device;
        char reply;
        std::string identification;
        int typeQueries;
        int identificationQueries;
    };
    const Case cases[] = {
        {"RS232 keypad", keypad('R', "Tessaron 510 RS2"), 'R', "Tessaron 510 RS2", 1, 1},
        {"RS232, short identification: Tessaron on DB9", keypad('R', "ten bytes!"), 'R',
         "Tessaron on DB9 ", 1, 1},
        {"CDC, short identification: no keypad", keypad('v', "ten bytes!"), 'v', "", 1, 1},
        {"a zero byte makes it shorter than 16", keypad('v', std::string("Tessaron\0CDC 514", 16)),
         'v', "Tessaron", 1, 1},
        {"the type in the second attempt counts", late, 'v', "Tessaron CDC 514", 2, 1},
        {"a silent device is asked twice and is no keypad", mute, 0, "", 2, 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeSerialKeypad& fake = AddSerialKeypad(++n, c.device);
        ProbeSerialPort(*pm, n);
        EXPECT_EQ(pm->Probe.Reply, c.reply);
        EXPECT_EQ(pm->Probe.Identification, c.identification);
        EXPECT_EQ(fake.TypeQueries(), c.typeQueries);
        EXPECT_EQ(fake.IdentificationQueries(), c.identificationQueries);
        if (n == 1) {
            EXPECT_EQ(fake.Received(), std::string("@\x05@\x06"));
        }
        EXPECT_FALSE(pm->Probe.Handle.IsOpen());
    }
}

TEST_F(ProbeTest, AnyOtherTypeReplyCountsAsRs232)
{
    AddSerialKeypad(16, keypad('x', "short"));
    ASSERT_EQ(EnumerateKeypads(*pm), 0); // no DB9 fallback: the reply was not 'R'
    AddSerialKeypad(12, keypad('x', "Odd type keypad!"));
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_EQ(Slot(0).Flags, SlotPresent | SlotRs232);
    EXPECT_STREQ(Slot(0).DevicePath, "COM12"); // two-digit ports work like the others
}

TEST_F(EnumerateTest, SerialKeypadsTakeTheFirstSlotsInPortOrder)
{
    AddUsbKeypad("/dev/hidraw-u1");
    AddSerialKeypad(9, keypad('R', "RS232 on COM9   "));
    AddSerialKeypad(2, keypad('v', "CDC on COM2     "));
    AddUsbKeypad("/dev/hidraw-u2");
    EXPECT_EQ(EnumerateKeypads(*pm), 4);
    EXPECT_STREQ(Slot(0).DevicePath, "COM2");
    EXPECT_EQ(Slot(0).Flags, SlotPresent | SlotCdc);
    EXPECT_STREQ(Slot(1).DevicePath, "COM9");
    EXPECT_EQ(Slot(1).Flags, SlotPresent | SlotRs232);
    EXPECT_STREQ(Slot(2).DevicePath, "/dev/hidraw-u1");
    EXPECT_STREQ(Slot(3).DevicePath, "/dev/hidraw-u2");
    for (int n = 1; n <= MaxComPorts; ++n) {
        EXPECT_EQ(pm->SerialKeypadPorts[n - 1], n == 2 || n == 9) << n;
    }
    EXPECT_EQ(pm->Probe.Speed, 9600);
}

// A probe sets a port's line and writes to it: never to a bridge's port, to
// what a dead bridge left (its terminal is someone else's by now), or to a
// port that another program holds.
TEST_F(EnumerateTest, PortsOfBridgesAndOfOtherProgramsAreNeverProbed)
{
    TVirtualPort bridgePort;
    ASSERT_TRUE(bridgePort.CreatePort("COM1"));
    Terminal stranger;
    home.write("ports/.COM2.owner", "999999999 1 " + stranger.path + "\n");
    LinkPort(2, stranger.path);
    Terminal held;
    held.hold();
    LinkPort(3, held.path);
    AddSerialKeypad(4, keypad('R', "Tessaron 510 RS2"));

    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_STREQ(Slot(0).DevicePath, "COM4");
    EXPECT_EQ(bridgePort.BytesPending(), 0);
    EXPECT_EQ(stranger.written(), "");
    EXPECT_EQ(held.written(), "");
    EXPECT_EQ(pm->PortNotes[0], "a virtual port of a running bridge");
    EXPECT_EQ(pm->PortNotes[1], "left behind by a bridge that ended");
    EXPECT_EQ(pm->PortNotes[2].rfind("in use by ", 0), 0u) << pm->PortNotes[2];
    EXPECT_EQ(pm->PortNotes[3], "");
}

bool sameLine(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && ::cfgetospeed(&a) == ::cfgetospeed(&b);
}

// Ports of other users, and ports that other programs have locked, get no byte
// from the probe and keep their line; so does a device that is no terminal.
// Keypads are still found (a stale lock is no hold, and stays), and each
// probed port gets back the line it had.
TEST_F(EnumerateTest, OthersPortsGetNoByteAndKeepTheirLine)
{
    test::OtherUser other;
    std::string noOtherUser;
    const bool haveOtherUser = other.get(noOtherUser);
    enum class Kind
    {
        OtherUsersTerminal, // owned and held open by another user's process
        LockAscii,          // LCK..pts_N naming another user's live process
        LockBinary,         // LCK..N (the last part of the name), a binary pid
        NoTerminal,         // /dev/full, which no program holds open
    };
    struct Case
    {
        Kind kind;
        const char* note; // the start of what the probe says
    };
    const Case cases[] = {
        {Kind::OtherUsersTerminal, "in use by another user (tessaron-other), whose device it is"},
        {Kind::LockAscii, "in use by "},
        {Kind::LockBinary, "in use by "},
        {Kind::NoTerminal, "not a serial port: /dev/full is no terminal"},
    };
    std::vector<std::unique_ptr<Terminal>> terminals;
    std::vector<termios> before;
    std::vector<std::unique_ptr<test::OtherUserProcess>> others;
    const std::string locks = home.uucpLocks() + "/";
    for (size_t i = 0; i < std::size(cases); ++i) {
        const int n = static_cast<int>(i) + 2;
        terminals.push_back(std::make_unique<Terminal>());
        Terminal& t = *terminals.back();
        before.push_back(t.line());
        const std::string pts = t.path.substr(t.path.rfind('/') + 1);
        if (cases[i].kind == Kind::NoTerminal) {
            LinkPort(n, "/dev/full");
            continue;
        }
        if (!haveOtherUser) {
            continue;
        }
        if (cases[i].kind == Kind::OtherUsersTerminal) {
            ASSERT_EQ(::chown(t.path.c_str(), other.uid, static_cast<gid_t>(-1)), 0);
        }
        others.push_back(std::make_unique<test::OtherUserProcess>(
            other, cases[i].kind == Kind::OtherUsersTerminal ? t.path : std::string()));
        ASSERT_TRUE(others.back()->running());
        const pid_t pid = others.back()->pid();
        if (cases[i].kind == Kind::LockAscii) {
            char text[16];
            std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
            test::WriteFile(locks + "LCK..pts_" + pts, text);
        } else if (cases[i].kind == Kind::LockBinary) {
            const int binary = static_cast<int>(pid);
            test::WriteFile(locks + "LCK.." + pts,
                            std::string(reinterpret_cast<const char*>(&binary), sizeof binary));
        }
        LinkPort(n, t.path);
    }
    FakeSerialKeypad& stale = AddSerialKeypad(9, keypad('R', "Tessaron 510 RS2"));
    const std::string staleLock =
        locks + "LCK..pts_" + stale.TerminalPath().substr(stale.TerminalPath().rfind('/') + 1);
    test::WriteFile(staleLock, "  99999999\n");
    FakeSerialKeypad& unlocked = AddSerialKeypad(10, keypad('v', "Tessaron CDC 514"));
    const int keypadLine = ::open(unlocked.TerminalPath().c_str(), O_RDONLY | O_NOCTTY);
    termios keypadBefore{};
    ::tcgetattr(keypadLine, &keypadBefore);

    ASSERT_EQ(EnumerateKeypads(*pm), 2);
    EXPECT_STREQ(Slot(0).DevicePath, "COM9");
    EXPECT_STREQ(Slot(1).DevicePath, "COM10");
    termios keypadAfter{};
    ::tcgetattr(keypadLine, &keypadAfter);
    ::close(keypadLine);
    EXPECT_TRUE(sameLine(keypadBefore, keypadAfter)) << "put back after the probe";
    EXPECT_EQ(test::ReadFile(staleLock), "  99999999\n");
    for (size_t i = 0; i < std::size(cases); ++i) {
        if (cases[i].kind != Kind::NoTerminal && !haveOtherUser) {
            continue;
        }
        const std::string& note = pm->PortNotes[i + 1];
        EXPECT_EQ(note.rfind(cases[i].note, 0), 0u) << i << ": " << note;
        EXPECT_EQ(terminals[i]->written(), "") << i;
        EXPECT_TRUE(sameLine(terminals[i]->line(), before[i])) << i;
    }
    if (haveOtherUser) {
        EXPECT_NE(pm->PortNotes[2].find(", which holds its lock " + locks + "LCK..pts_"),
                  std::string::npos)
            << pm->PortNotes[2];
    }
    // The probe's own lock is gone again.
    EXPECT_FALSE(std::filesystem::exists(locks + "LCK..pts_" + unlocked.TerminalPath().substr(9)));
    if (!haveOtherUser) {
        GTEST_SKIP() << "the cases of another user's ports: " << noOtherUser;
    }
}

// Whether a lock's process lives is asked with a signal that a process of
// another user may not be sent: it lives all the same.
TEST_F(EnumerateTest, ALockOfAProcessThatMayNotBeSignalledIsLive)
{
    test::OtherUser other;
    std::string why;
    if (!other.get(why)) {
        GTEST_SKIP() << why;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Raw system calls: the child of a threaded process changes only itself.
        const bool dropped = ::syscall(SYS_setresgid, other.gid, other.gid, other.gid) == 0 &&
                             ::syscall(SYS_setresuid, other.uid, other.uid, other.uid) == 0;
        ::_exit(dropped && TUucpLock::ProcessAlive(::getppid()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(TUucpLock::ProcessAlive(child)) << "reaped";
}

TEST_F(EnumerateTest, SerialKeypadsLeaveNoRoomForUsbBeyondSix)
{
    for (int n = 1; n <= 7; ++n) {
        AddSerialKeypad(n, keypad('R', "Serial keypad " + std::to_string(n) + " "));
    }
    AddUsbKeypad("/dev/hidraw-u1");
    EXPECT_EQ(EnumerateKeypads(*pm), 6);
    EXPECT_STREQ(Slot(5).DevicePath, "COM6");
    // The seventh has no slot but its port is still known to hold a keypad.
    EXPECT_TRUE(pm->SerialKeypadPorts[6]);
}

TEST_F(EnumerateTest, RefillClearsTheTableAndClosesWhatWasLeftOpen)
{
    const int id = AddUsbKeypad("/dev/hidraw-u1");
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    Slot(0).ComPort = 4;
    SetDevicePath(Slot(3), "remembered");
    Slot(3).Flags = SlotPresent;
    ASSERT_FALSE(OpenUsbKeypad(*pm, 0));
    fakehid_unplug(id);
    EXPECT_EQ(EnumerateKeypads(*pm), 0);
    for (int i = 0; i < MaxKeypads; ++i) {
        EXPECT_EQ(Slot(i).Flags, 0);
        EXPECT_EQ(Slot(i).ComPort, 0);
        EXPECT_STREQ(Slot(i).DevicePath, "");
        EXPECT_FALSE(Slot(i).ReadThread);
        EXPECT_FALSE(Slot(i).Handle);
    }
}

TEST_F(SerialOpenTest, OpenSerialKeypadBridgesItsPort)
{
    FakeSerialKeypad& fake = AddSerialKeypad(3, keypad('R', "Tessaron 510 RS2"));
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_FALSE(OpenSerialKeypad(*pm, 0));
    EXPECT_EQ(Slot(0).Flags, SlotPresent | SlotRs232 | SlotOpen);
    expectKeypadLine(Slot(0).Handle->Fd());
    // Its UUCP lock, in the HDB form, while it holds the port.
    const std::string lock = home.uucpLocks() + "/LCK..pts_" + fake.TerminalPath().substr(9);
    char hdb[16];
    std::snprintf(hdb, sizeof hdb, "%10d\n", static_cast<int>(::getpid()));
    EXPECT_EQ(test::ReadFile(lock), hdb);
    ASSERT_TRUE(Slot(0).ReadThread);
    EXPECT_EQ(Slot(0).ReadThread->Kind(), LinkRs232);
    EXPECT_EQ(Slot(0).WriteThread->Kind(), LinkRs232);
    EXPECT_TRUE(OpenSerialKeypad(*pm, 0)); // already open

    EXPECT_EQ(QueryIdentification(*pm, 0), "Tessaron 510 RS2");
    fake.Type("42\r");
    ASSERT_TRUE(WaitFor([&] { return Slot(0).ReadThread->Available() == 3; }));
    EXPECT_EQ(Slot(0).ReadThread->PopByte(), '4');

    const std::string label = "@CKeypad #1, RS232";
    Slot(0).WriteThread->Queue(18, reinterpret_cast<const std::uint8_t*>(label.data()));
    ASSERT_TRUE(fake.WaitForMessages(1, 3000));
    EXPECT_EQ(fake.Messages()[0], "Keypad #1, RS232");

    waits.clear();
    SendLabelClear(*pm, 0);
    CloseSerialKeypad(*pm, 0);
    EXPECT_EQ(waits, (std::vector<int>{100, 200}));
    ASSERT_TRUE(fake.WaitForMessages(2, 3000));
    EXPECT_EQ(fake.Messages()[1], "");
    EXPECT_EQ(Slot(0).Flags, SlotPresent | SlotRs232);
    EXPECT_FALSE(Slot(0).Handle);
    EXPECT_STREQ(Slot(0).DevicePath, "COM3");
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_FALSE(OpenSerialKeypad(*pm, 0)); // the port was given back
}

TEST_F(SerialOpenTest, CdcKeypadRunsCdcThreads)
{
    AddSerialKeypad(10, keypad('v', "Tessaron CDC 514"));
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    ASSERT_FALSE(OpenSerialKeypad(*pm, 0));
    EXPECT_EQ(Slot(0).ReadThread->Kind(), LinkCdc);
    EXPECT_STREQ(Slot(0).ReadThread->Name(), "CDC Read Thread");
}

TEST_F(SerialOpenTest, OpenFailsWithoutTouchingTheSlot)
{
    SetDevicePath(Slot(0), "COM7"); // nothing linked there
    Slot(0).Flags = SlotPresent | SlotRs232;
    EXPECT_TRUE(OpenSerialKeypad(*pm, 0));
    EXPECT_EQ(Slot(0).Flags, SlotPresent | SlotRs232);
    EXPECT_FALSE(Slot(0).Handle);

    AddSerialKeypad(8);
    SetDevicePath(Slot(1), "COM8");
    Slot(1).Flags = SlotPresent; // a USB slot: not a serial keypad
    EXPECT_TRUE(OpenSerialKeypad(*pm, 1));
    SetDevicePath(Slot(2), "COM08");
    Slot(2).Flags = SlotPresent | SlotCdc;
    EXPECT_TRUE(OpenSerialKeypad(*pm, 2));
    SetDevicePath(Slot(2), "COM17");
    EXPECT_TRUE(OpenSerialKeypad(*pm, 2));
    SendLabelClear(*pm, 2); // no write thread: only the wait
    EXPECT_EQ(WaitsOf(100).size(), 1u);
}

TEST_F(SerialOpenTest, OpenKeypadHoldsItsPortAgainstOthers)
{
    AddSerialKeypad(4, keypad('R', "Tessaron 510 RS2"));
    ASSERT_EQ(EnumerateKeypads(*pm), 1);
    EXPECT_TRUE(RealPortExists(4));
    ASSERT_FALSE(OpenSerialKeypad(*pm, 0));
    EXPECT_FALSE(RealPortExists(4)); // held: counts as not existing
    EXPECT_EQ(OpenProbePort(*pm, 4), 1);
    CloseSerialKeypad(*pm, 0);
    EXPECT_TRUE(RealPortExists(4));
}

} // namespace
} // namespace tessaron
