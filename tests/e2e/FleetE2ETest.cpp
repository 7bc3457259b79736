// A machine without a display set up from a script with the tessaron tool
// alone: the keypads listed as JSON, a simulated USB keypad given COM5 while
// `tessaron bridge` runs (the bridge stops for it and makes ports/COM5 when
// it starts again), a redefinition file downloaded into the keypad through
// that port, and bridging stopped and started again by command.
#include "BridgeProcess.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempHome.h"
#include "tests/support/WaitFor.h"

#include "editor/model/DownloadImage.h"
#include "editor/model/KeypadClass.h"
#include "editor/model/RedefinitionFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessaron;
using namespace tessaron::test;

namespace {

constexpr int kStartMs = 15000; // generous: the tests also run under ThreadSanitizer

struct ToolRun
{
    int status = -1;
    std::string out;
    std::string err;
};

class FleetE2E : public ::testing::Test
{
protected:
    FleetE2E() : runtime(home.path() + "/runtime") { ::mkdir(runtime.c_str(), 0700); }

    // The tool as a script runs it, beside the bridge: the same folder and
    // runtime place, and the simulated keypads of the same set-up file (its
    // own copies of them: what it sends them is not what the bridge's get).
    ToolRun tool(std::vector<std::string> args)
    {
        args.insert(args.begin(), TESSARON_TOOL);
        ChildProcess child;
        ToolRun r;
        if (child.start(
                std::move(args),
                ChildEnvironment({"TESSARON_HOME=" + home.path(), "TESSARON_LOCK_DIR=" + runtime,
                                  "TESSARON_HIDAPI=" TESSARON_FAKEHID_LIBRARY,
                                  "TESSARON_FAKEHID_SETUP=" + home.file("fakehid-setup"),
                                  "TESSARON_FAKEHID_CONTROL="}))) {
            r.status = child.wait(60000);
        }
        r.out = child.output();
        r.err = child.errorOutput();
        return r;
    }

    TempHome home;
    std::string runtime;
};

} // namespace

TEST_F(FleetE2E, AScriptListsAssignsDownloadsAndControlsTheBridge)
{
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1 Tessaron 510 v6 "});
    ASSERT_TRUE(bridge.start());
    ASSERT_TRUE(bridge.waitForLine("Corvandelle (Running)", kStartMs)) << bridge.errorOutput();

    // The bridge holds the keypad: listed, not asked.
    ToolRun r = tool({"keypads", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[\n  {\n    \"row\": 1,\n    \"kind\": \"USB\",\n    \"port\": null,\n"
                     "    \"identity\": \"sim-1\",\n    \"version\": null,\n"
                     "    \"in_use\": true\n  }\n]\n");

    r = tool({"assign", "sim-1", "COM5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "COM5 assigned to keypad 1 (sim-1).\n"
                     "Bridging was stopped and started again so that the change takes effect.\n");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(bridge.waitForLine("COM5 created (keypad #1)", kStartMs));
    EXPECT_TRUE(bridge.waitForLine("Corvandelle (Running)", kStartMs, 2));
    struct stat link;
    EXPECT_EQ(::lstat(home.file("ports/COM5").c_str(), &link), 0);
    // Run again, as a script is: nothing to change, and the hosts keep their port.
    const size_t assigned = bridge.lines().size();
    r = tool({"assign", "sim-1", "COM5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "keypad 1 (sim-1) has COM5 already.\n");
    EXPECT_EQ(bridge.lines(assigned), std::vector<std::string>{});

    TKeypadClass document;
    document.AppendMacroText(3, 0, "4f4b0d"); // "OK" and CR
    WriteRedefinitionFile(document, home.file("shop.ckd"));
    const std::string image = DownloadImageText(document);
    const std::string bytes = std::to_string(std::count(image.begin(), image.end(), '\n'));
    r = tool({"download", home.file("shop.ckd"), "--port", "COM5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Download complete: " + bytes + " bytes sent to COM5.\n");
    FakeHidClient keypad(bridge.controlSocket());
    std::string report;
    ASSERT_TRUE(WaitFor(
        [&] {
            report.clear();
            for (const std::string& line : keypad.command("downloads 1")) {
                report += line + "\n";
            }
            return report.find("complete") != std::string::npos;
        },
        kStartMs));
    EXPECT_NE(report.find("download 1: " + bytes + " bytes, complete\n"), std::string::npos)
        << report;
    EXPECT_NE(report.find("  KEY3 level 1: [O] [K] [CR]\n"), std::string::npos) << report;

    const size_t before = bridge.lines().size();
    r = tool({"command", "St"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(bridge.waitForLine("COM5 deleted", kStartMs));
    EXPECT_NE(::lstat(home.file("ports/COM5").c_str(), &link), 0);
    r = tool({"command", "Go"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(bridge.waitForLine("COM5 created (keypad #1)", kStartMs, 2));
    const std::vector<std::string> lines = bridge.lines(before);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Corvandelle (Stopped)"), lines.end());
    EXPECT_EQ(lines.back(), "Corvandelle (Running)");

    // Stopped by hand, bridging stays stopped through a change.
    EXPECT_EQ(tool({"command", "St"}).status, 0);
    ASSERT_TRUE(bridge.waitForLine("COM5 deleted", kStartMs, 2));
    const size_t stopped = bridge.lines().size();
    r = tool({"assign", "1", "COM6"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "COM6 assigned to keypad 1 (sim-1).\n"
                     "Bridging is stopped; the change takes effect when it starts again "
                     "(tessaron command Go).\n");
    EXPECT_EQ(tool({"command", "St"}).status, 0) << "stopping twice is no failure";
    EXPECT_EQ(tool({"command", "Go"}).status, 0);
    EXPECT_TRUE(bridge.waitForLine("COM6 created (keypad #1)", kStartMs));
    const std::vector<std::string> after = bridge.lines(stopped);
    EXPECT_EQ(std::count(after.begin(), after.end(), "Corvandelle (Running)"), 1);

    // Without a desktop there is no dialog to open; said, and not done.
    r = tool({"command", "Ck"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tessaron: the running tessaron bridge has no desktop, so no configuration "
                     "dialog to open: assign ports with tessaron assign.\n");

    bridge.signal(SIGTERM);
    EXPECT_EQ(bridge.wait(10000), 0);
    r = tool({"command", "St"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tessaron: neither Corvandelle nor tessaron bridge is running.\n");
}
