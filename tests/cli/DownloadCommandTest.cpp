// tessaron download into a simulated serial keypad: what goes, what is
// refused with the loader's messages, and an interrupt part-way.
#include "cli/Command.h"

#include "FakeSerialKeypad.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/RedefinitionFile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>

namespace tessaron {
namespace {

using test::FakeSerialKeypad;
using test::TempHome;

class DownloadCommandTest : public ::testing::Test
{
protected:
    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"tessaron", "download"});
        std::ostringstream o, e;
        const int status = cli::RunTool(args, o, e);
        out = o.str();
        err = e.str();
        return status;
    }
    // A document with one macro; its image as the editor's Save writes it.
    std::string Document(const std::string& name, int delay)
    {
        TKeypadClass k;
        k.AppendMacroText(4, 0, "4142");
        k.DOWNLOAD_DELAY = delay;
        WriteRedefinitionFile(k, home.file(name));
        image = DownloadImageText(k);
        return home.file(name);
    }

    TempHome home;
    std::string image;
    std::string out;
    std::string err;
};

TEST_F(DownloadCommandTest, DocumentsGoAsTheirImagesOthersAreRefusedAsTheLoaderRefusesThem)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    const std::string ckd = Document("keys.ckd", 0);
    home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=3\r\nComType=R\r\n");
    const int bytes = static_cast<int>(std::count(image.begin(), image.end(), '\n'));

    // Made in memory: nothing is written beside the document.
    ASSERT_EQ(Run({ckd}), 0) << err;
    EXPECT_EQ(out, "Download complete: " + std::to_string(bytes) + " bytes sent to COM3 (DB9).\n");
    EXPECT_EQ(err, "");
    EXPECT_FALSE(home.exists("keys.hex"));
    ASSERT_TRUE(keypad.WaitForDownloads(1, 5000)) << keypad.DownloadReport();
    EXPECT_TRUE(keypad.Downloads()[0].Complete);
    EXPECT_NE(keypad.Downloads()[0].Listing.find("KEY4 level 1: [A] [B]\n"), std::string::npos);

    // An image is sent as it is, to the port given.
    home.write("keys.hex", image);
    ASSERT_EQ(Run({"--port", "COM3", home.file("keys.hex")}), 0) << err;
    ASSERT_TRUE(keypad.WaitForDownloads(2, 5000)) << keypad.DownloadReport();
    EXPECT_TRUE(keypad.Downloads()[1].Complete);

    home.write("shop.rom", "[GLOBAL_PARAMETERS]\r\n[ADVANCED_PARAMETERS]\r\nLcdSize=32\r\n");
    home.write("bad.hex", "\"40\"\r\n\"01\"\r\nxyz\r\n");
    struct Case
    {
        std::vector<std::string> args;
        std::string tavrixIni;
        std::string err;
    };
    const std::string noPort = "[Com Port Configuration]\r\nComPort=0\r\n";
    const Case refused[] = {
        {{home.file("shop.rom")}, "", "\"" + home.file("shop.rom") + "\" is a ROM file. Tavrix"},
        {{home.file("gone.hex")}, "", "The download image \"" + home.file("gone.hex") + "\" does"},
        {{home.file("bad.hex")}, "", "\"" + home.file("bad.hex") + "\" is not a valid download"},
        {{ckd}, noPort, "No COM port is set for the keypad."},
        {{ckd, "--port=COM4"}, noPort, "Cannot download to COM4: "},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.err);
        if (!c.tavrixIni.empty()) {
            home.write("Tavrix.ini", c.tavrixIni);
        }
        EXPECT_EQ(Run(c.args), 1);
        EXPECT_EQ(out, "");
        EXPECT_EQ(err.rfind("tessaron: " + c.err, 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
    EXPECT_EQ(keypad.Downloads().size(), 2u);
}

// Ctrl+C part-way: the loader stops cleanly, says how far it got, status 2.
TEST_F(DownloadCommandTest, AnInterruptCancelsWithStatusTwo)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    const std::string ckd = Document("slow.ckd", 100); // its own delay: 100 ms a byte
    test::ChildProcess tool;
    ASSERT_TRUE(
        tool.start({TESSARON_TOOL, "download", ckd, "--port", "COM3"}, test::ChildEnvironment({})));
    ASSERT_TRUE(keypad.WaitForReceived(5, 10000));
    ::kill(tool.pid(), SIGINT);
    EXPECT_EQ(tool.wait(30000), 2);
    EXPECT_EQ(tool.errorOutput().rfind("tessaron: Download cancelled after ", 0), 0u)
        << tool.errorOutput();
}

} // namespace
} // namespace tessaron
