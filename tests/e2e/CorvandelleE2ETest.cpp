// A real Corvandelle process without a notification area (offscreen), the
// simulated USB keypad library as its hidapi, driven by `Corvandelle --command`
// from the shell's side, a host application and Tavrix on its port, and the
// signals that end it.
#include "BridgeProcess.h"
#include "tests/support/PtyHost.h"
#include "tests/support/TempHome.h"

#include "common/CommandLine.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/KeypadClass.h"
#include "editor/model/LoaderSettings.h"
#include "editor/model/RedefinitionFile.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tessaron;
using namespace tessaron::test;

namespace {

constexpr int kStartMs = 20000; // generous: the tests also run under sanitizers

// A program of the build run with the suite folder, runtime folder and
// simulated keypads of the test; its output goes to files.
class Program
{
public:
    Program(const TempHome& home, std::string runtime) : m_home(home), m_runtime(std::move(runtime))
    {
    }
    ~Program()
    {
        if (m_pid > 0 && wait(0) == -2) {
            ::kill(m_pid, SIGKILL);
            wait(10000);
        }
    }

    bool start(const std::vector<std::string>& arguments)
    {
        static int runs = 0;
        const std::string name = "run" + std::to_string(++runs);
        m_out = m_home.file(name + ".out");
        m_err = m_home.file(name + ".err");
        std::vector<std::string> env = {"TESSARON_HOME=" + m_home.path(),
                                        "XDG_RUNTIME_DIR=" + m_runtime,
                                        "TESSARON_LOCK_DIR=" + m_runtime,
                                        "TESSARON_HIDAPI=" TESSARON_FAKEHID_LIBRARY,
                                        "TESSARON_FAKEHID_SETUP=" + m_home.file("keypads"),
                                        "TESSARON_FAKEHID_CONTROL=" + m_runtime + "/fakehid.sock",
                                        "QT_QPA_PLATFORM=offscreen"};
        env = ChildEnvironment(std::move(env));
        std::vector<char*> envp = Pointers(env);
        std::vector<std::string> args = {TESSARON_CORVANDELLE};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv = Pointers(args);

        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&files, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none); // the test may block stop signals
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
        const int r = ::posix_spawn(&m_pid, TESSARON_CORVANDELLE, &files, &attributes, argv.data(),
                                    envp.data());
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
        return r == 0;
    }

    // The exit status; -2 while it runs after milliseconds, -1 when a signal ended it.
    int wait(int milliseconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (m_status == -2) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                break;
            }
            if (std::chrono::steady_clock::now() >= end) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return m_status;
    }

    bool waitForOutput(const std::string& text, int count, int milliseconds)
    {
        return WaitFor([&] { return occurrences(ReadFile(m_out), text) >= count; }, milliseconds);
    }
    std::string out() const { return ReadFile(m_out); }
    std::string err() const { return ReadFile(m_err); }
    void signal(int number) { ::kill(m_pid, number); }

    static int occurrences(const std::string& text, const std::string& part)
    {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++n;
        }
        return n;
    }

private:
    const TempHome& m_home;
    std::string m_runtime;
    std::string m_out;
    std::string m_err;
    pid_t m_pid = -1;
    int m_status = -2;
};

class CorvandelleE2E : public ::testing::Test
{
protected:
    CorvandelleE2E() : runtime(home.path() + "/runtime") { ::mkdir(runtime.c_str(), 0700); }

    // `Corvandelle --command pair`: its exit status, its standard error in error.
    int command(const std::string& pair, std::string& error)
    {
        Program client(home, runtime);
        EXPECT_TRUE(client.start({"--command", pair}));
        const int status = client.wait(60000);
        error = client.err();
        return status;
    }
    bool port(int n)
    {
        std::error_code e;
        return std::filesystem::is_symlink(home.file("ports/COM" + std::to_string(n)), e);
    }

    TempHome home;
    std::string runtime;
};

TEST_F(CorvandelleE2E, BridgesAndObeysCommandsWithoutNotificationArea)
{
    home.write("keypads", "add 16c0:0604 /dev/hidraw-sim1 Tessaron E2E #1  \n");
    home.write("Corvandelle.ini",
               "[Port Settings]\r\nCOM_Assignment_1=3\r\nGUID_1=/dev/hidraw-sim1\r\n");
    std::string error;
    EXPECT_EQ(command("St", error), 1);
    EXPECT_EQ(error, "Neither Corvandelle nor tessaron bridge is running.\n");

    Program corvandelle(home, runtime);
    ASSERT_TRUE(corvandelle.start({}));
    ASSERT_TRUE(corvandelle.waitForOutput("Corvandelle (Running)", 1, kStartMs))
        << corvandelle.out() << corvandelle.err();
    EXPECT_NE(corvandelle.err().find("there is no notification area"), std::string::npos);

    // A host application and the keypad talk through COM3.
    FakeHidClient keypads(runtime + "/fakehid.sock");
    PtyHost host(home.file("ports/COM3"));
    ASSERT_TRUE(host.isOpen());
    keypads.command("type 1 1234");
    EXPECT_EQ(host.read(4, 5000), "1234");

    // A second copy says so and leaves the first alone.
    Program second(home, runtime);
    ASSERT_TRUE(second.start({}));
    EXPECT_EQ(second.wait(kStartMs), 1);
    EXPECT_EQ(second.err(), "Corvandelle is already running!\n");
    EXPECT_TRUE(port(3));

    // St stops (twice is harmless), Go starts again.
    host.close();
    EXPECT_EQ(command("St", error), 0) << error;
    EXPECT_FALSE(port(3));
    EXPECT_EQ(command("St", error), 0) << error;
    EXPECT_EQ(command("Go", error), 0) << error;
    EXPECT_TRUE(port(3));
    EXPECT_EQ(Program::occurrences(corvandelle.out(), "Corvandelle (Running)"), 2);

    // Ck: half a second later the configuration labels the keypad, releases
    // it again (nobody can answer the dialog offscreen) and bridging resumes.
    EXPECT_EQ(command("Ck", error), 0) << error;
    ASSERT_TRUE(corvandelle.waitForOutput("Corvandelle (Running)", 3, kStartMs))
        << corvandelle.out();
    EXPECT_EQ(keypads.command("messages 1"), std::vector<std::string>{"\"Keypad #1, COM3 \""});
    EXPECT_TRUE(port(3));

    EXPECT_EQ(command("Xx", error), 1);
    corvandelle.signal(SIGTERM);
    EXPECT_EQ(corvandelle.wait(kStartMs), 0) << corvandelle.err();
    EXPECT_FALSE(port(3));
    EXPECT_NE(corvandelle.out().find("COM3 deleted\nkeypad #1 closed: /dev/hidraw-sim1\n"
                                     "Corvandelle (Stopped)\n"),
              std::string::npos)
        << corvandelle.out();
}

// Download without hardware, end to end: a macro edited in the editor's
// document, saved with its download image, sent by Tavrix to the port in
// "Tavrix.ini", which is Corvandelle's virtual port of a USB keypad, and
// decoded by the simulated keypad behind it.
TEST_F(CorvandelleE2E, DownloadReachesASimulatedUsbKeypadThroughTheBridge)
{
    home.write("keypads", "add 16c0:0604 /dev/hidraw-sim1 Tessaron E2E #1  \n");
    home.write("Corvandelle.ini",
               "[Port Settings]\r\nCOM_Assignment_1=3\r\nGUID_1=/dev/hidraw-sim1\r\n");
    // As Wendrel records a virtual port.
    home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=3\r\nComType=U\r\n");

    // The editor's USER-mode save: the redefinition file, then its image.
    TKeypadClass document;
    document.AppendMacroText(5, 0, "4869400119"); // "H", "i", a 100 ms delay
    document.SetAutoRepeat(5, 0, 1);
    document.SetKeyType(2, KeyTypeLevelShift);
    document.DOWNLOAD_DELAY = 2;
    const std::string ckd = home.file("Macro Files/My keys.ckd");
    home.write("Macro Files/My keys.ckd", "");
    WriteRedefinitionFile(document, ckd);
    WriteDownloadImage(document, DownloadImagePath(ckd), LoaderSettingsPath());
    EXPECT_NE(home.read("Tavrix.ini").find("DownloadDelay=2"), std::string::npos);

    Program corvandelle(home, runtime);
    ASSERT_TRUE(corvandelle.start({}));
    ASSERT_TRUE(corvandelle.waitForOutput("Corvandelle (Running)", 1, kStartMs))
        << corvandelle.out() << corvandelle.err();
    ASSERT_TRUE(port(3)) << corvandelle.out();

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

    FakeHidClient keypad(runtime + "/fakehid.sock");
    std::string report;
    WaitFor(
        [&] {
            report.clear();
            for (const std::string& line : keypad.command("downloads 1")) {
                report += line + "\n";
            }
            return report.find("complete") != std::string::npos;
        },
        10000);
    EXPECT_NE(report.find("download 1: 194 bytes, complete\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  Level Shift key 1: KEY2\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  KEY5 level 1 (AutoRepeat): [H] [i] [Dly 100]\n"), std::string::npos)
        << report;
    // The image went as data: the keypad took none of it for a command.
    EXPECT_EQ(keypad.command("messages 1"), std::vector<std::string>{});

    corvandelle.signal(SIGTERM);
    EXPECT_EQ(corvandelle.wait(kStartMs), 0) << corvandelle.err();
}

// Started at log-in nobody reads standard error: a folder that others may
// change ends Corvandelle with the reason (offscreen, where no box could be
// closed, on standard error only).
TEST_F(CorvandelleE2E, FoldersOthersMayChangeAreRefused)
{
    struct Case
    {
        std::string folder;
        std::string err;
    };
    const Case cases[] = {
        {runtime, "Corvandelle: " + runtime + " is not a private folder of yours"},
        {home.path(), "Corvandelle: TESSARON_HOME: " + home.path() + " is not a private folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        ::chmod(c.folder.c_str(), 0770);
        Program corvandelle(home, runtime);
        ASSERT_TRUE(corvandelle.start({}));
        EXPECT_EQ(corvandelle.wait(kStartMs), 1);
        EXPECT_NE(corvandelle.err().find(c.err), std::string::npos) << corvandelle.err();
        ::chmod(c.folder.c_str(), 0700);
    }
}

} // namespace
