#include "portmgr/io/TVirtualPort.h"
#include "tests/support/PtyHost.h"
#include "tests/support/TempHome.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using tessaron::TVirtualPort;
using tessaron::test::PtyHost;
using tessaron::test::TempHome;
using tessaron::test::WaitFor;

namespace {

std::string linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

bool entryExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0;
}

std::string bytes(TVirtualPort& port)
{
    return std::to_string(port.BytesPending());
}

int write(TVirtualPort& port, const std::string& text)
{
    return port.Write(reinterpret_cast<const std::uint8_t*>(text.data()),
                      static_cast<int>(text.size()));
}

std::string read(TVirtualPort& port, int max)
{
    std::uint8_t buffer[64];
    const int n = port.Read(buffer, max);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
}

// Waits until the host's bytes have reached the master's queue.
bool pendingReaches(TVirtualPort& port, int n)
{
    return WaitFor([&] { return port.BytesPending() >= n; }, 2000);
}

// A temporary suite folder and a port object.
class VirtualPortTest : public ::testing::Test
{
protected:
    TempHome home;
    TVirtualPort port;
};

} // namespace

TEST_F(VirtualPortTest, CreatePortLinksThePseudoTerminalAsComN)
{
    ASSERT_TRUE(port.CreatePort("COM3")) << port.LastError();
    EXPECT_TRUE(port.PortCreated());
    EXPECT_EQ(port.Name(), "COM3");
    EXPECT_EQ(port.LinkPath(), home.file("ports/COM3"));
    EXPECT_EQ(linkTarget(home.file("ports/COM3")), port.SlavePath());
    EXPECT_EQ(port.SlavePath().rfind("/dev/pts/", 0), 0u);
    EXPECT_TRUE(entryExists(TVirtualPort::MarkerPath("COM3")));
    EXPECT_FALSE(port.PortOpened());
    EXPECT_EQ(port.BytesPending(), 0);
}

TEST_F(VirtualPortTest, OnlyComOneToSixteenAreNames)
{
    for (const char* bad :
         {"", "COM", "COM0", "COM17", "COM03", "com3", "LPT1", "COM3x", "COM-1"}) {
        TVirtualPort port;
        EXPECT_FALSE(port.CreatePort(bad)) << bad;
        EXPECT_FALSE(port.PortCreated());
        EXPECT_NE(port.LastError(), "");
    }
    TVirtualPort first;
    TVirtualPort last;
    EXPECT_TRUE(first.CreatePort("COM1"));
    EXPECT_TRUE(last.CreatePort("COM16"));
    EXPECT_FALSE(first.CreatePort("COM2")) << "one port per object";
}

TEST_F(VirtualPortTest, HostSeesRawBytesBothWays)
{
    ASSERT_TRUE(port.CreatePort("COM4"));
    PtyHost host(port.LinkPath());
    ASSERT_TRUE(host.isOpen());
    ASSERT_TRUE(port.PortOpened());

    const std::string toHost("a\nb\r\x00\x03\x11\x13\x7f\xff", 10);
    EXPECT_EQ(write(port, toHost), 10);
    EXPECT_EQ(host.read(10, 2000), toHost) << "no line translation, no control characters";

    const std::string fromHost("x\ny\r\x04\x1a\x00\xfe", 8);
    ASSERT_TRUE(host.write(fromHost));
    ASSERT_TRUE(pendingReaches(port, 8)) << bytes(port);
    EXPECT_EQ(read(port, 16), fromHost);
    EXPECT_EQ(host.drain(50), "") << "nothing echoed";
}

TEST_F(VirtualPortTest, ReadTakesAtMostTheAskedCount)
{
    ASSERT_TRUE(port.CreatePort("COM5"));
    PtyHost host(port.LinkPath());
    ASSERT_TRUE(host.write("0123456789"));
    ASSERT_TRUE(pendingReaches(port, 10));
    EXPECT_EQ(read(port, 7), "0123456");
    EXPECT_EQ(port.BytesPending(), 3);
    EXPECT_EQ(read(port, 7), "789");
    EXPECT_EQ(port.BytesPending(), 0);
    EXPECT_EQ(read(port, 7), "");
}

TEST_F(VirtualPortTest, PortOpenedFollowsHostsOpeningAndClosing)
{
    ASSERT_TRUE(port.CreatePort("COM6"));
    for (int round = 0; round < 3; ++round) {
        EXPECT_FALSE(port.PortOpened()) << round;
        PtyHost host(port.LinkPath());
        EXPECT_TRUE(port.PortOpened()) << round;
        {
            PtyHost second(port.LinkPath());
            EXPECT_TRUE(port.PortOpened());
        }
        EXPECT_TRUE(port.PortOpened()) << "one host still holds it";
    }
    EXPECT_FALSE(port.PortOpened());
}

TEST_F(VirtualPortTest, BytesWrittenWithoutAHostAreDropped)
{
    ASSERT_TRUE(port.CreatePort("COM7"));
    EXPECT_EQ(write(port, "stale"), 0);
    PtyHost host(port.LinkPath());
    EXPECT_EQ(host.drain(50), "");
    EXPECT_EQ(write(port, "fresh"), 5);
    EXPECT_EQ(host.read(5, 2000), "fresh");
}

TEST_F(VirtualPortTest, WhatOneHostLeftUnreadNeverReachesTheNext)
{
    ASSERT_TRUE(port.CreatePort("COM8"));
    {
        PtyHost first(port.LinkPath());
        ASSERT_TRUE(port.PortOpened());
        EXPECT_EQ(write(port, "unread"), 6);
    }
    EXPECT_FALSE(port.PortOpened());
    PtyHost second(port.LinkPath());
    ASSERT_TRUE(port.PortOpened());
    EXPECT_EQ(second.drain(50), "");
}

TEST_F(VirtualPortTest, NextHostGetsRawModeWhateverTheLastOneSet)
{
    ASSERT_TRUE(port.CreatePort("COM9"));
    {
        PtyHost first(port.LinkPath());
        termios t{};
        ASSERT_EQ(::tcgetattr(first.fd(), &t), 0);
        t.c_lflag |= ECHO | ICANON;
        t.c_oflag |= OPOST | ONLCR;
        ASSERT_EQ(::tcsetattr(first.fd(), TCSANOW, &t), 0);
        ASSERT_TRUE(port.PortOpened());
    }
    EXPECT_FALSE(port.PortOpened());
    PtyHost second(port.LinkPath());
    termios t{};
    ASSERT_EQ(::tcgetattr(second.fd(), &t), 0);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

// Lowers or raises CAP_SYS_ADMIN in this thread's effective set; false when
// the thread may not have it. Only a process without it is turned away by a
// terminal in exclusive mode.
bool setSysAdmin(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    const unsigned bit = 1u << CAP_SYS_ADMIN;
    if (::syscall(SYS_capget, &header, data) != 0 || !(data[0].permitted & bit)) {
        return false;
    }
    data[0].effective = on ? (data[0].effective | bit) : (data[0].effective & ~bit);
    return ::syscall(SYS_capset, &header, data) == 0;
}

// Many serial libraries set exclusive mode, which outlives the host on a
// pseudo-terminal; the next host must still get in, and nothing is lost, be
// the bridge privileged or not. Hosts are never privileged here.
TEST(TVirtualPort, AHostInExclusiveModeDoesNotLockOutTheNext)
{
    for (const bool privilegedBridge : {false, true}) {
        if (privilegedBridge && !setSysAdmin(true)) {
            continue; // only root can play a privileged bridge
        }
        setSysAdmin(false);
        TempHome home;
        TVirtualPort port;
        ASSERT_TRUE(port.CreatePort("COM11"));
        for (int round = 0; round < 2; ++round) {
            {
                PtyHost host(port.LinkPath());
                ASSERT_TRUE(host.isOpen()) << round;
                ASSERT_EQ(::ioctl(host.fd(), TIOCEXCL), 0);
                ASSERT_TRUE(host.write("bye"));
                ASSERT_TRUE(pendingReaches(port, 3));
                setSysAdmin(privilegedBridge);
                ASSERT_TRUE(port.PortOpened());
            }
            EXPECT_FALSE(port.PortOpened());
            setSysAdmin(false);
            PtyHost next(port.LinkPath());
            EXPECT_TRUE(next.isOpen()) << privilegedBridge << round;
            EXPECT_TRUE(port.PortOpened());
            EXPECT_EQ(read(port, 7), "bye");
            EXPECT_EQ(write(port, "hi"), 2);
            EXPECT_EQ(next.read(2, 2000), "hi");
        }
        EXPECT_EQ(linkTarget(port.LinkPath()), port.SlavePath());
        EXPECT_EQ(TVirtualPort::ResetBus(), 0) << "the terminal is still this port";
        port.Delete();
        EXPECT_FALSE(entryExists(home.file("ports/COM11")));
        EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM11")));
    }
    setSysAdmin(true);
}

TEST_F(VirtualPortTest, HostBytesOutliveTheHostsClose)
{
    ASSERT_TRUE(port.CreatePort("COM10"));
    {
        PtyHost host(port.LinkPath());
        ASSERT_TRUE(host.write("bye"));
        ASSERT_TRUE(pendingReaches(port, 3));
    }
    EXPECT_FALSE(port.PortOpened());
    EXPECT_EQ(port.BytesPending(), 3);
    EXPECT_EQ(read(port, 7), "bye");
    EXPECT_EQ(read(port, 7), "") << "no host and nothing left";
}

TEST_F(VirtualPortTest, CreatePortRefusesATakenName)
{
    home.write("ports/COM1", "a file");
    ASSERT_EQ(::symlink("/dev/null", home.file("ports/COM2").c_str()), 0);
    ASSERT_EQ(::symlink("/nonexistent/ttyUSB9", home.file("ports/COM3").c_str()), 0);
    ASSERT_EQ(::mkdir(home.file("ports/COM4").c_str(), 0755), 0);
    for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) {
        TVirtualPort port;
        EXPECT_FALSE(port.CreatePort(name)) << name;
        EXPECT_NE(port.LastError().find("is taken"), std::string::npos) << port.LastError();
        EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath(name)));
    }
    EXPECT_EQ(home.read("ports/COM1"), "a file");
    EXPECT_EQ(linkTarget(home.file("ports/COM2")), "/dev/null");
    EXPECT_EQ(linkTarget(home.file("ports/COM3")), "/nonexistent/ttyUSB9");

    TVirtualPort owner;
    ASSERT_TRUE(owner.CreatePort("COM5"));
    TVirtualPort rival;
    EXPECT_FALSE(rival.CreatePort("COM5"));
    EXPECT_EQ(linkTarget(home.file("ports/COM5")), owner.SlavePath());

    // Another process is making COM6 (its marker is there, its link not yet):
    // its marker is neither overwritten nor removed.
    const std::string theirs = std::to_string(::getppid()) + " 1 /dev/pts/98\n";
    home.write("ports/.COM6.owner", theirs);
    TVirtualPort racer;
    EXPECT_FALSE(racer.CreatePort("COM6"));
    EXPECT_EQ(home.read("ports/.COM6.owner"), theirs);
    EXPECT_FALSE(entryExists(home.file("ports/COM6")));
}

TEST_F(VirtualPortTest, DeleteRemovesLinkAndMarkerSoThePortCanBeMadeAgain)
{
    ASSERT_TRUE(port.CreatePort("COM11"));
    PtyHost host(port.LinkPath());
    port.Delete();
    EXPECT_FALSE(port.PortCreated());
    EXPECT_FALSE(entryExists(home.file("ports/COM11")));
    EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM11")));
    EXPECT_EQ(write(port, "x"), 0);
    EXPECT_EQ(port.BytesPending(), 0);
    EXPECT_FALSE(port.PortOpened());
    port.Delete(); // harmless twice

    EXPECT_TRUE(port.CreatePort("COM11")) << port.LastError();
    {
        TVirtualPort scoped;
        ASSERT_TRUE(scoped.CreatePort("COM12"));
    }
    EXPECT_FALSE(entryExists(home.file("ports/COM12"))) << "the destructor deletes";
}

TEST_F(VirtualPortTest, DeleteLeavesALinkTheUserPutInItsPlace)
{
    ASSERT_TRUE(port.CreatePort("COM13"));
    ASSERT_EQ(::unlink(port.LinkPath().c_str()), 0);
    ASSERT_EQ(::symlink("/dev/ttyS0", home.file("ports/COM13").c_str()), 0);
    port.Delete();
    EXPECT_EQ(linkTarget(home.file("ports/COM13")), "/dev/ttyS0");
}

TEST_F(VirtualPortTest, PollPortsAnswersTheNextQuestionsFromOneSnapshot)
{
    TVirtualPort a;
    TVirtualPort b;
    ASSERT_TRUE(a.CreatePort("COM1"));
    ASSERT_TRUE(b.CreatePort("COM2"));
    PtyHost hostB(b.LinkPath());
    ASSERT_TRUE(hostB.write("xy"));
    ASSERT_TRUE(pendingReaches(b, 2));

    TVirtualPort* ports[] = {&a, nullptr, &b};
    TVirtualPort::PollPorts(ports, 3);
    PtyHost hostA(a.LinkPath()); // after the snapshot
    ASSERT_TRUE(hostB.write("z"));
    EXPECT_FALSE(a.PortOpened()) << "answered from the snapshot";
    EXPECT_TRUE(a.PortOpened()) << "then asked afresh";
    EXPECT_TRUE(b.PortOpened());
    EXPECT_GE(b.BytesPending(), 2);

    // A snapshot without data answers 0 once; a host leaving after it is seen
    // by Write, which never trusts a snapshot.
    TVirtualPort::PollPorts(ports, 3);
    ASSERT_TRUE(hostA.write("late"));
    EXPECT_EQ(a.BytesPending(), 0);
    EXPECT_TRUE(pendingReaches(a, 4));
    TVirtualPort::PollPorts(ports, 3);
    hostA.close();
    EXPECT_EQ(write(a, "gone"), 0);
    PtyHost next(a.LinkPath());
    EXPECT_EQ(next.drain(50), "");
}

namespace {

// A port made by a process that then dies without deleting it, as a crash or
// SIGKILL would leave it.
std::string leftoverOfDeadProcess(const std::string& name)
{
    int pipeFd[2];
    if (::pipe(pipeFd) != 0) {
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        auto* port = new TVirtualPort; // never deleted: the process just ends
        const bool ok = port->CreatePort(name);
        const std::string slave = ok ? port->SlavePath() : std::string();
        (void)!::write(pipeFd[1], slave.data(), slave.size());
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFd[1]);
    char buffer[256];
    const ssize_t n = ::read(pipeFd[0], buffer, sizeof buffer);
    ::close(pipeFd[0]);
    ::waitpid(pid, nullptr, 0);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

} // namespace

TEST_F(VirtualPortTest, RemovesLeftoversOfRunsThatDied)
{
    const std::string slave = leftoverOfDeadProcess("COM2");
    ASSERT_NE(slave, "");
    EXPECT_EQ(linkTarget(home.file("ports/COM2")), slave);
    TVirtualPort blocked;
    EXPECT_FALSE(blocked.CreatePort("COM2"));

    EXPECT_EQ(TVirtualPort::ResetBus(), 1);
    EXPECT_FALSE(entryExists(home.file("ports/COM2")));
    EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM2")));
    EXPECT_TRUE(blocked.CreatePort("COM2"));
}

// After a reboot a service easily gets the pid of an earlier run: a marker
// with this process's id but another start time is a leftover all the same.
TEST_F(VirtualPortTest, AnEarlierRunWithThisProcessIdIsNoLongerAlive)
{
    const std::string slave = leftoverOfDeadProcess("COM3");
    ASSERT_NE(slave, "");
    home.write("ports/.COM3.owner", std::to_string(::getpid()) + " 1 " + slave + "\n");
    EXPECT_EQ(TVirtualPort::ResetBus(), 1);
    EXPECT_FALSE(entryExists(home.file("ports/COM3")));
    EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM3")));
    TVirtualPort port;
    EXPECT_TRUE(port.CreatePort("COM3")) << port.LastError();
}

TEST_F(VirtualPortTest, NeverTouchesUserLinksOrLivePorts)
{
    ASSERT_EQ(::mkdir(home.file("ports").c_str(), 0755), 0);
    // A user's links, one of them dangling.
    ASSERT_EQ(::symlink("/dev/ttyACM0", home.file("ports/COM1").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/pts/77", home.file("ports/COM3").c_str()), 0);
    // A port of this process.
    TVirtualPort mine;
    ASSERT_TRUE(mine.CreatePort("COM4"));
    // A leftover whose link the user has since pointed at a real device: the
    // marker is stale, the link is the user's.
    const std::string slave = leftoverOfDeadProcess("COM5");
    ASSERT_NE(slave, "");
    ASSERT_EQ(::unlink(home.file("ports/COM5").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/ttyUSB0", home.file("ports/COM5").c_str()), 0);
    // A marker whose writer is gone and left no link at all.
    home.write("ports/.COM6.owner", "999999999 1 /dev/pts/5\n");
    home.write("ports/.COM7.owner", "garbage");

    EXPECT_EQ(TVirtualPort::ResetBus(), 0);
    EXPECT_EQ(linkTarget(home.file("ports/COM1")), "/dev/ttyACM0");
    EXPECT_EQ(linkTarget(home.file("ports/COM3")), "/dev/pts/77");
    EXPECT_EQ(linkTarget(home.file("ports/COM4")), mine.SlavePath());
    EXPECT_TRUE(entryExists(TVirtualPort::MarkerPath("COM4")));
    EXPECT_EQ(linkTarget(home.file("ports/COM5")), "/dev/ttyUSB0");
    EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM5")));
    EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM6")));
    EXPECT_FALSE(entryExists(TVirtualPort::MarkerPath("COM7")));
    // The live port still works.
    PtyHost host(mine.LinkPath());
    EXPECT_TRUE(mine.PortOpened());
}

TEST_F(VirtualPortTest, LeavesPortsOfAnotherLiveProcess)
{
    int ready[2];
    int quit[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(quit), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        TVirtualPort port;
        const char c = port.CreatePort("COM9") ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        char q;
        (void)!::read(quit[0], &q, 1);
        port.Delete();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_EQ(TVirtualPort::ResetBus(), 0);
    EXPECT_TRUE(entryExists(home.file("ports/COM9")));
    (void)!::write(quit[1], "q", 1);
    ::waitpid(pid, nullptr, 0);
    EXPECT_FALSE(entryExists(home.file("ports/COM9")));
    for (int fd : {ready[0], ready[1], quit[0], quit[1]}) {
        ::close(fd);
    }
}

// A run killed while it replaces a port's link and marker (a host left the
// port in exclusive mode), wherever the kill lands, leaves a pair that the
// next start clears: the port can be made again, and nothing else is left.
TEST_F(VirtualPortTest, AKillWhileALinkIsReplacedLeavesWhatTheNextStartClears)
{
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    for (int round = 0; round < 100; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            auto* port = new TVirtualPort; // never deleted: the process is killed
            const char c = port->CreatePort("COM3") ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            for (;;) {
                port->Renew();
            }
        }
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ASSERT_EQ(c, 'y');
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        EXPECT_EQ(TVirtualPort::ResetBus(), 1) << "seed " << seed << ", round " << round;
        TVirtualPort next;
        ASSERT_TRUE(next.CreatePort("COM3")) << next.LastError() << ", seed " << seed;
        next.Delete();
        std::vector<std::string> left;
        DIR* d = ::opendir(home.file("ports").c_str());
        while (dirent* e = ::readdir(d)) {
            left.push_back(e->d_name);
        }
        ::closedir(d);
        std::sort(left.begin(), left.end());
        ASSERT_EQ(left, (std::vector<std::string>{".", "..", ".lock"})) << "seed " << seed;
    }
}
