// The four programs as their callers find and start them: by file name beside
// the suite's programs, each with the version marker; Tavrix with the image's
// path as its one argument, from a terminal with --no-window.
#include "SiblingsTestSupport.h"

#include "common/CommandLine.h"
#include "common/FileVersion.h"
#include "common/SuiteFolder.h"
#include "siblings/core/DownloadImageFile.h"
#include "tests/editor/model/ModelTestSupport.h"
#include "tests/fakes/FakeSerialKeypad.h"
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <thread>

namespace tessaron::test {
namespace {

struct Finished
{
    int status = -1;
    std::string out;
    std::string err;
};

// Runs program with exactly these arguments; during() runs while it does,
// with its pid.
Finished RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::function<void(pid_t)>& during = {})
{
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ChildProcess child;
    if (!child.start(std::move(argv), ChildEnvironment({}))) {
        return {};
    }
    if (during) {
        during(child.pid());
    }
    const int status = child.wait(60000);
    return {status, child.output(), child.errorOutput()};
}

TEST(SiblingPrograms, AreFoundByNameBesideTheSuiteAndCarryTheVersion)
{
    TempHome home;
    for (const char* name : {"Tavrix", "Wendrel", "Qex", "Ruskel"}) {
        SCOPED_TRACE(name);
        const std::string path = SiblingProgramPath(name);
        EXPECT_EQ(path, FolderOf(OwnExecutablePath()) + "/" + name);
        EXPECT_EQ(ReadFileVersion(path), "6.0.0.0");
        const Finished r = RunProgram(path, {"--version"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, std::string(name) + " 6.0.0.0\n");
        // One that the user puts into the suite folder wins.
        ::chmod(home.write(name, "#!/bin/sh\n").c_str(), 0755);
        EXPECT_EQ(SiblingProgramPath(name), home.file(name));
    }
}

class TavrixProgram : public ::testing::Test
{
protected:
    TavrixProgram()
    {
        // The editor's Download passes the path quoted; the launcher splits it
        // the Windows way into the one argument the loader gets.
        imagePath = home.file("My \"best\" keys.hex");
        total = WriteOneKeyImage(home, imagePath);
        const auto split =
            SplitWindowsCommandLine("\"" + home.file("My \\\"best\\\" keys.hex") + "\"");
        EXPECT_EQ(split, std::vector<std::string>{imagePath});
    }

    void settings(int delay) { WriteCom3Settings(home, "R", delay); }

    TempHome home;
    std::string imagePath;
    size_t total = 0;
};

TEST_F(TavrixProgram, SendsFromATerminalWithATextProgressBar)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    settings(0);
    const Finished r = RunProgram(TAVRIX_PROGRAM, {"--no-window", imagePath});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string done =
        "Download complete: " + std::to_string(total) + " bytes sent to COM3 (DB9).\n";
    EXPECT_EQ(r.out.rfind("Sending " + imagePath + " to COM3 (DB9), 0 ms after each byte\n", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("[" + std::string(40, '#') + "]  " + std::to_string(total) + "/" +
                         std::to_string(total) + " bytes 100%\n" + done),
              std::string::npos)
        << r.out;
    ASSERT_TRUE(keypad.WaitForDownloads(1, 5000));
    EXPECT_TRUE(keypad.Downloads()[0].Complete);
}

TEST_F(TavrixProgram, RefusalsAndInterruptsExitWithTheirStatus)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    settings(0);
    const std::string rom = home.write("a.rom", "[GLOBAL_PARAMETERS]\r\n[ADVANCED_PARAMETERS]\r\n");
    struct Case
    {
        std::vector<std::string> arguments;
        std::string err; // its start
    };
    const Case cases[] = {
        {{"--no-window"}, "usage: Tavrix [PATH]"},
        {{"--no-window", imagePath, imagePath}, "usage: Tavrix [PATH]"},
        {{"--no-window", "--frobnicate", imagePath}, "Tavrix: unknown option --frobnicate\nusage:"},
        {{"--no-window", rom}, "Tavrix: \"" + rom + "\" is a ROM file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        const Finished r = RunProgram(TAVRIX_PROGRAM, c.arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(keypad.Received(), "");

    // Ctrl+C cancels part-way: the keypad gets no whole definition.
    settings(50);
    const Finished r = RunProgram(TAVRIX_PROGRAM, {"--no-window", imagePath}, [&](pid_t pid) {
        keypad.WaitForReceived(3, 5000);
        ::kill(pid, SIGINT);
    });
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.err.rfind("Tavrix: Download cancelled after ", 0), 0u) << r.err;
    EXPECT_LT(keypad.Received().size(), total);
}

} // namespace
} // namespace tessaron::test
