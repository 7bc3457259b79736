// A real `tessaron bridge` process, the simulated USB keypad library as its
// hidapi, and host applications that open ports/COMn.
#include "BridgeProcess.h"
#include "tests/portmgr/PortSettingsText.h"
#include "tests/support/OtherUser.h"
#include "tests/support/PtyHost.h"
#include "tests/support/TempHome.h"

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessaron::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kStartMs = 15000; // generous: the tests also run under ThreadSanitizer

class BridgeE2E : public ::testing::Test
{
protected:
    BridgeE2E() : runtime(home.path() + "/runtime") { ::mkdir(runtime.c_str(), 0700); }

    void remember(const std::vector<std::pair<std::string, int>>& assignments)
    {
        home.write("Corvandelle.ini", PortSettingsText(assignments));
    }

    // Starts the bridge and waits until bridging runs.
    void startBridge(BridgeProcess& bridge)
    {
        ASSERT_TRUE(bridge.start());
        ASSERT_TRUE(bridge.waitForLine("Corvandelle (Running)", kStartMs)) << bridge.errorOutput();
    }

    std::string port(int n) { return home.file("ports/COM" + std::to_string(n)); }

    // Entries of ports/ (links and markers), sorted; not its lock file, which stays.
    std::vector<std::string> portsFolder()
    {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(home.file("ports").c_str())) {
            while (dirent* e = ::readdir(d)) {
                const std::string name = e->d_name;
                if (name != "." && name != ".." && name != ".lock") {
                    names.push_back(name);
                }
            }
            ::closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempHome home;
    std::string runtime;
};

std::string pattern(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += static_cast<char>('a' + (i * 7 + i / 26) % 26);
    }
    return s;
}

} // namespace

TEST_F(BridgeE2E, KeypadBytesReachTheHostInOrder)
{
    remember({{"sim-1", 3}});
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    startBridge(bridge);
    EXPECT_TRUE(bridge.waitForLine("keypad #1 opened: sim-1", 1000));
    EXPECT_TRUE(bridge.waitForLine("COM3 created (keypad #1)", 1000));

    PtyHost host(port(3));
    ASSERT_TRUE(host.isOpen());
    ASSERT_TRUE(bridge.waitForLine("COM3 opened by a host", 5000));
    FakeHidClient keypad(bridge.controlSocket());
    const std::string text = pattern(600);
    for (size_t at = 0; at < text.size(); at += 100) {
        keypad.command("type 1 " + text.substr(at, 100));
    }
    EXPECT_EQ(host.read(text.size(), 10000), text);

    host.close();
    EXPECT_TRUE(bridge.waitForLine("COM3 closed by its host", 5000));
    bridge.signal(SIGTERM);
    EXPECT_EQ(bridge.wait(10000), 0);
}

TEST_F(BridgeE2E, HostBytesReachTheKeypadAsReportsOfAtMostSevenBytes)
{
    remember({{"sim-1", 4}});
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    startBridge(bridge);

    PtyHost host(port(4));
    const std::string text = pattern(100);
    ASSERT_TRUE(host.write(text));
    FakeHidClient keypad(bridge.controlSocket());
    std::string received;
    std::vector<std::vector<unsigned char>> reports;
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (received.size() < text.size() && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        reports = keypad.outputs(1);
        received.clear();
        for (const auto& r : reports) {
            if (r.size() >= 2 && r[1] <= 7) {
                received.append(r.begin() + 2, r.begin() + 2 + r[1]);
            }
        }
    }
    EXPECT_EQ(received, text);
    ASSERT_GE(reports.size(), 15u);
    for (const auto& r : reports) {
        ASSERT_EQ(r.size(), 9u);
        EXPECT_EQ(r[0], 0x00);
        EXPECT_GE(r[1], 1);
        EXPECT_LE(r[1], 7);
        for (size_t i = 2 + r[1]; i < 9; ++i) {
            EXPECT_EQ(r[i], 0x00) << "filled up with zeros";
        }
    }
}

TEST_F(BridgeE2E, AnUnpluggedKeypadIsClosedAfterAboutASecondAndReopenedWhenItComesBack)
{
    remember({{"sim-1", 3}});
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    startBridge(bridge);
    PtyHost host(port(3));
    FakeHidClient keypad(bridge.controlSocket());

    const auto unplugged = Clock::now();
    keypad.command("unplug 1");
    ASSERT_TRUE(bridge.waitForLine("keypad #1 closed: sim-1 (no report for a second)", 10000));
    const auto closedAfter = Clock::now() - unplugged;
    EXPECT_GE(closedAfter, std::chrono::milliseconds(900));
    EXPECT_LE(closedAfter, std::chrono::milliseconds(5000));

    keypad.command("plug 1");
    ASSERT_TRUE(bridge.waitForLine("keypad #1 opened: sim-1", 5000, 2));
    // The port stayed; bytes flow again.
    keypad.command("type 1 back");
    EXPECT_EQ(host.read(4, 5000), "back");
    const auto lines = bridge.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "COM3 created (keypad #1)"), 1);
}

TEST_F(BridgeE2E, ARememberedKeypadAbsentAtStartStillGetsItsPort)
{
    remember({{"sim-away", 5}});
    BridgeProcess bridge(home.path(), runtime);
    startBridge(bridge);
    EXPECT_TRUE(bridge.waitForLine("COM5 created (keypad #1)", 1000));
    PtyHost host(port(5));
    ASSERT_TRUE(host.isOpen());
    // Host bytes for the absent keypad go nowhere.
    ASSERT_TRUE(host.write("lost"));

    FakeHidClient keypad(bridge.controlSocket());
    keypad.command("add 16c0:0604 sim-away");
    ASSERT_TRUE(bridge.waitForLine("keypad #1 opened: sim-away", 5000));
    keypad.command("type 1 hello");
    EXPECT_EQ(host.read(5, 5000), "hello");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(keypad.outputs(1).empty());
}

TEST_F(BridgeE2E, SigtermLeavesNoPortLinkBehind)
{
    remember({{"sim-1", 3}, {"sim-away", 12}});
    ::mkdir(home.file("ports").c_str(), 0755);
    ::symlink("/dev/ttyUSB0", port(2).c_str()); // the user's own link stays
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    startBridge(bridge);
    PtyHost host(port(3));
    ASSERT_TRUE(bridge.waitForLine("COM3 opened by a host", 5000));

    bridge.signal(SIGTERM);
    EXPECT_EQ(bridge.wait(10000), 0);
    EXPECT_TRUE(bridge.waitForLine("COM3 deleted", 0));
    EXPECT_TRUE(bridge.waitForLine("COM12 deleted", 0));
    EXPECT_TRUE(bridge.waitForLine("Corvandelle (Stopped)", 0));
    EXPECT_EQ(portsFolder(), std::vector<std::string>{"COM2"});

    // The same ports can be made again at once; SIGINT stops the bridge too.
    BridgeProcess again(home.path(), runtime);
    again.setUp({"add 16c0:0604 sim-1"});
    startBridge(again);
    EXPECT_TRUE(again.waitForLine("COM3 created (keypad #1)", 0));
    again.signal(SIGINT);
    EXPECT_EQ(again.wait(10000), 0);
    EXPECT_EQ(portsFolder(), std::vector<std::string>{"COM2"});
}

// Its log going nowhere (a closed pipe) does not end the bridge: it keeps
// bridging and still removes its ports when it is stopped.
TEST_F(BridgeE2E, AClosedOutputPipeDoesNotEndTheBridge)
{
    remember({{"sim-1", 3}});
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    ASSERT_TRUE(bridge.start(TESSARON_FAKEHID_LIBRARY, true));
    PtyHost host;
    ASSERT_TRUE(WaitFor([&] { return host.open(port(3)); }, kStartMs));
    FakeHidClient keypad(bridge.controlSocket());
    keypad.command("type 1 alive");
    EXPECT_EQ(host.read(5, 5000), "alive");
    host.close();
    bridge.signal(SIGTERM);
    EXPECT_EQ(bridge.wait(10000), 0);
    EXPECT_TRUE(portsFolder().empty());
}

TEST_F(BridgeE2E, WhatAKilledBridgeLeftIsClearedByTheNextStart)
{
    remember({{"sim-away", 6}});
    {
        BridgeProcess killed(home.path(), runtime);
        startBridge(killed);
        killed.signal(SIGKILL);
        killed.wait(10000);
    }
    struct stat st
    {
    };
    ASSERT_EQ(::lstat(port(6).c_str(), &st), 0) << "SIGKILL leaves the link";

    BridgeProcess next(home.path(), runtime);
    startBridge(next);
    EXPECT_TRUE(next.waitForLine("COM6 created (keypad #1)", 0));
}

TEST_F(BridgeE2E, ASecondBridgeSaysCorvandelleIsAlreadyRunning)
{
    remember({{"sim-away", 7}});
    BridgeProcess first(home.path(), runtime);
    startBridge(first);

    BridgeProcess second(home.path(), runtime);
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.wait(10000), 1);
    EXPECT_EQ(second.errorOutput(), "Corvandelle is already running!\n");
    EXPECT_TRUE(second.lines().empty());

    // The first one is untouched.
    PtyHost host(port(7));
    EXPECT_TRUE(host.isOpen());
    EXPECT_TRUE(first.waitForLine("COM7 opened by a host", 5000));
}

TEST_F(BridgeE2E, PortsThatCannotBeMadeEndTheBridgeWithTheirNumber)
{
    remember({{"sim-a", 3}, {"sim-b", 4}, {"sim-c", 5}});
    home.write("ports/COM4", "not a port");
    BridgeProcess bridge(home.path(), runtime);
    ASSERT_TRUE(bridge.start());
    EXPECT_EQ(bridge.wait(15000), 1);
    EXPECT_EQ(bridge.errorOutput(), "tessaron bridge: 1 virtual port could not be created\n");
    EXPECT_TRUE(bridge.waitForLine("COM4 could not be created (keypad #2)", 0));
    EXPECT_EQ(home.read("ports/COM4"), "not a port");
    EXPECT_EQ(portsFolder(), std::vector<std::string>{"COM4"}) << "COM3 and COM5 removed again";
}

// ports/ is used only when it is the user's alone: in one that others may
// change, they could link COMn to a terminal of theirs that answers like a
// keypad. Bridging refuses it and says why; a link to a folder of one's own
// is fine.
TEST_F(BridgeE2E, BridgingRefusesAPortsFolderThatOthersMayChange)
{
    OtherUser other;
    std::string noOtherUser;
    const bool haveOtherUser = other.get(noOtherUser);
    struct Case
    {
        const char* what;
        mode_t mode;
        bool othersFolder;  // ports/ is a link to a folder that another user owns
        const char* reason; // "" when bridging runs
    };
    const Case cases[] = {
        {"group may write", 0775, false, "may be changed by other users (mode 0775)"},
        {"another user's folder", 0755, true, "belongs to tessaron-other, not to you"},
        {"a link to a folder of one's own", 0700, false, ""},
    };
    remember({{"sim-away", 3}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.othersFolder && !haveOtherUser) {
            continue;
        }
        const std::string folder = home.file(std::string("real-ports-") + c.what);
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
        if (c.othersFolder) {
            ASSERT_EQ(::chown(folder.c_str(), other.uid, other.gid), 0);
        }
        ::unlink(home.file("ports").c_str());
        ASSERT_EQ(::symlink(folder.c_str(), home.file("ports").c_str()), 0);

        BridgeProcess bridge(home.path(), runtime);
        ASSERT_TRUE(bridge.start());
        if (*c.reason == '\0') {
            ASSERT_TRUE(bridge.waitForLine("COM3 created (keypad #1)", kStartMs));
            bridge.signal(SIGTERM);
            EXPECT_EQ(bridge.wait(10000), 0);
            continue;
        }
        EXPECT_EQ(bridge.wait(kStartMs), 1);
        EXPECT_EQ(bridge.errorOutput(), "tessaron bridge: 1 virtual port could not be created\n");
        EXPECT_TRUE(bridge.waitForLine(
            "COM3 could not be created (keypad #1): " + home.file("ports") + " " + c.reason, 0))
            << (bridge.lines().empty() ? "" : bridge.lines().back());
        EXPECT_TRUE(portsFolder().empty()) << "nothing made there";
    }
    if (!haveOtherUser) {
        GTEST_SKIP() << "the case of another user's folder: " << noOtherUser;
    }
}

// Killed at random moments while hosts and keypads are busy (hosts that leave
// their ports in exclusive mode have an ordinary user's bridge make them
// afresh, replacing link and marker), and sometimes while it starts, the
// bridge always starts again with every assigned port, and they carry data.
TEST_F(BridgeE2E, RandomKillsNeverLeaveAPortThatCannotBeMadeAgain)
{
    remember({{"sim-1", 3}, {"sim-2", 4}, {"sim-away", 5}});
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    constexpr int kKills = 20;
    for (int round = 0; round <= kKills; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        BridgeProcess bridge(home.path(), runtime);
        bridge.withoutSysAdmin = true;
        bridge.setUp({"add 16c0:0604 sim-1", "add 16c0:0604 sim-2"});
        ASSERT_TRUE(bridge.start());
        if (round % 4 == 3) {
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 200));
            bridge.signal(SIGKILL);
            bridge.wait(10000);
            continue;
        }
        ASSERT_TRUE(bridge.waitForLine("Corvandelle (Running)", kStartMs)) << bridge.errorOutput();
        for (const char* created : {"COM3 created", "COM4 created", "COM5 created"}) {
            EXPECT_TRUE(bridge.waitForLine(created, 0)) << created;
        }
        FakeHidClient keypads(bridge.controlSocket());
        for (int k = 1; k <= 2; ++k) {
            const std::string name = "COM" + std::to_string(k + 2);
            PtyHost host(port(k + 2));
            ASSERT_TRUE(host.isOpen()) << name;
            ASSERT_TRUE(bridge.waitForLine(name + " opened by a host", 5000)) << name;
            const std::string text = "r" + std::to_string(round);
            keypads.command("type " + std::to_string(k) + " " + text);
            EXPECT_EQ(host.read(text.size(), 5000), text) << name;
        }
        if (round == kKills) {
            bridge.signal(SIGTERM);
            EXPECT_EQ(bridge.wait(10000), 0);
            break;
        }
        const auto killAt = Clock::now() + std::chrono::milliseconds(random() % 300);
        while (Clock::now() < killAt) {
            PtyHost host(port(3 + static_cast<int>(random() % 2)));
            if (host.isOpen()) {
                ::ioctl(host.fd(), TIOCEXCL);
                host.write("x");
            }
            keypads.command("type " + std::to_string(1 + random() % 2) + " y");
        }
        bridge.signal(SIGKILL);
        bridge.wait(10000);
    }
    EXPECT_TRUE(portsFolder().empty());
}

TEST_F(BridgeE2E, WithoutHidapiTheBridgeCannotStart)
{
    BridgeProcess bridge(home.path(), runtime);
    ASSERT_TRUE(bridge.start("/nonexistent/libhidapi.so"));
    EXPECT_EQ(bridge.wait(10000), 1);
    EXPECT_EQ(bridge.errorOutput(), "Could not start USB librairies!\n");
}
