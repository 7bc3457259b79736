// Download without hardware, end to end: a macro edited in the editor's
// document, saved with its download image, sent by Tavrix to the keypad's port
// in "Tavrix.ini", which is the virtual port of a running `tessaron bridge`,
// and decoded by the simulated USB keypad behind it.
#include "BridgeProcess.h"
#include "tests/support/TempHome.h"

#include "common/CommandLine.h"
#include "editor/model/FileIO.h"
#include "editor/model/KeypadClass.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace tessaron;
using namespace tessaron::test;

namespace {

constexpr int kStartMs = 15000; // generous: the tests also run under the sanitizers

// What the keypad reports about its downloads, once one has ended.
std::string WaitForDownload(FakeHidClient& keypad, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::string report;
    while (std::chrono::steady_clock::now() < end) {
        report.clear();
        for (const std::string& line : keypad.command("downloads 1")) {
            report += line + "\n";
        }
        if (report.find("complete") != std::string::npos) {
            return report;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return report;
}

} // namespace

TEST(DownloadE2E, AnEditedMacroReachesASimulatedUsbKeypadThroughTheBridge)
{
    TempHome home;
    const std::string runtime = home.path() + "/runtime";
    ::mkdir(runtime.c_str(), 0700);
    home.write("Corvandelle.ini", "[Port Settings]\r\nCOM_Assignment_1=3\r\nGUID_1=sim-1\r\n");
    // As Wendrel records a virtual port.
    home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=3\r\nComType=U\r\n");

    // The editor's USER-mode save: the redefinition file, then its image.
    TKeypadClass document;
    document.SelectKey(5);
    document.AppendMacroText("4869400119"); // "H", "i", a 100 ms delay
    document.SetAutoRepeat(1);
    document.SelectKey(2);
    document.SetKeyType(KeyTypeLevelShift);
    document.DOWNLOAD_DELAY = 2;
    const std::string ckd = home.file("Macro Files/My keys.ckd");
    home.write("Macro Files/My keys.ckd", "");
    WriteRedefinitionFile(document, ckd);
    WriteDownloadImage(document, DownloadImagePath(ckd), LoaderSettingsPath());
    EXPECT_NE(home.read("Tavrix.ini").find("DownloadDelay=2"), std::string::npos);

    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    ASSERT_TRUE(bridge.start());
    ASSERT_TRUE(bridge.waitForLine("COM3 created (keypad #1)", kStartMs)) << bridge.errorOutput();
    ASSERT_TRUE(bridge.waitForLine("Corvandelle (Running)", kStartMs)) << bridge.errorOutput();

    // Download: the editor passes the image's path quoted; the loader gets it
    // as its one argument.
    const std::vector<std::string> arguments =
        SplitWindowsCommandLine("\"" + DownloadImagePath(ckd) + "\"");
    ASSERT_EQ(arguments.size(), 1u);
    const std::string out = home.file("tavrix.out");
    const int status = std::system(("'" + std::string(TAVRIX_PROGRAM) + "' --no-window '" +
                                    arguments[0] + "' >'" + out + "' 2>&1")
                                       .c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << home.read("tavrix.out");
    EXPECT_NE(home.read("tavrix.out").find("bytes sent to COM3 (USB).\n"), std::string::npos)
        << home.read("tavrix.out");

    FakeHidClient keypad(bridge.controlSocket());
    const std::string report = WaitForDownload(keypad, 10000);
    EXPECT_NE(report.find("download 1: 194 bytes, complete\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  Level Shift key 1: KEY2\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  KEY5 level 1 (AutoRepeat): [H] [i] [Dly 100]\n"), std::string::npos)
        << report;
    // The image went as data: the keypad took none of it for a command.
    EXPECT_EQ(keypad.command("messages 1"), std::vector<std::string>{});

    bridge.signal(SIGTERM);
    EXPECT_EQ(bridge.wait(10000), 0);
}
