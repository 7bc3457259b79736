// The built tool as a script would run it: exit status and standard error.
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using tessaron::test::TempHome;

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

// env: NAME=VALUE words for the tool's environment. A tool that hangs is
// ended by timeout (status 124).
Result RunTool(const TempHome& home, const std::string& args, const std::string& env = "")
{
    const std::string out = home.file("stdout.txt");
    const std::string err = home.file("stderr.txt");
    const std::string command = "timeout 10 env " + env + " '" + TESSARON_TOOL + "' " + args +
                                " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = tessaron::test::ReadFile(out);
    r.err = tessaron::test::ReadFile(err);
    return r;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

TEST(ToolProcess, SuccessIsQuietAndZero)
{
    TempHome home;
    const Result r = RunTool(home, "new " + Quoted(home.file("My Keys.ckd")));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(home.exists("My Keys.ckd"));
    EXPECT_TRUE(home.exists("My Keys.hex"));

    const Result shown = RunTool(home, "show " + Quoted(home.file("My Keys.ckd")));
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("Macros: none"), std::string::npos) << shown.out;
}

TEST(ToolProcess, FailuresExitOneWithOneLine)
{
    TempHome home;
    for (const std::string& args :
         {"show " + Quoted(home.file("missing.ckd")), "new " + Quoted(home.file("x.doc")),
          "new " + Quoted(home.file("no/such/dir/x.ckd"))}) {
        SCOPED_TRACE(args);
        const Result r = RunTool(home, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("tessaron: ", 0) == 0 || r.err.rfind("usage:", 0) == 0, true)
            << r.err;
        if (r.err.rfind("tessaron: ", 0) == 0) {
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        }
        EXPECT_EQ(r.out, "");
    }
}

// --help and --version answer on standard output; a command line that is
// wrong gets the usage on standard error and status 2, whatever part is wrong.
TEST(ToolProcess, HelpVersionAndUsageErrors)
{
    TempHome home;
    struct Case
    {
        std::string args;
        int status;
        std::string out; // what standard output starts with
        std::string err; // what standard error starts with
    };
    const Case cases[] = {
        {"--help", 0, "usage: tessaron COMMAND", ""},
        {"--version", 0, "tessaron 6.0.0.0\n", ""},
        {"version", 0, "6.0.0.0\n", ""},
        {"download --help", 0, "usage: tessaron download FILE.ckd|FILE.hex [--port COMn]\n", ""},
        {"", 2, "", "usage: tessaron COMMAND"},
        {"frobnicate", 2, "", "tessaron: unknown command \"frobnicate\"\nusage: tessaron"},
        {"--frobnicate", 2, "", "tessaron: unknown option --frobnicate\nusage: tessaron"},
        {"keypads --all", 2, "", "usage: tessaron keypads [--json]\n"},
        {"show --json", 2, "", "usage: tessaron show"},
        {"download a.ckd --port", 2, "", "usage: tessaron download"},
        {"download a.ckd --port COM17", 2, "", "tessaron: \"COM17\" is no port (COM1 to COM16)"},
        {"assign 1", 2, "", "usage: tessaron assign KEYPAD COMn\n"},
        {"assign 1 ttyS0", 2, "", "tessaron: \"ttyS0\" is no port"},
        {"unassign", 2, "", "usage: tessaron unassign KEYPAD\n"},
        {"command Stop", 2, "", "usage: tessaron command St|Go|Ck\n"},
        {"command St", 1, "", "tessaron: neither Corvandelle nor tessaron bridge is running.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = RunTool(home, c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_TRUE(c.out.empty() ? r.out.empty() : r.err.empty()) << r.out << r.err;
    }
}

TEST(ToolProcess, RomWarningGoesToStandardError)
{
    TempHome home;
    home.write("w.rom", "[ADVANCED_PARAMETERS]\r\nECR_String=0123456789\r\n");
    const Result r =
        RunTool(home, "resave " + Quoted(home.file("w.rom")) + " " + Quoted(home.file("out.rom")));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tessaron: Warning: ECR Suffix String has been truncated to the max width "
                     "of 8 characters.\n");
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(home.exists("out.rom"));
}

// What a hostile document or folder gets: a one-line reason at once, never a hang.
TEST(ToolProcess, HostileFilesAndFoldersAreRefusedAtOnce)
{
    TempHome home;
    ASSERT_EQ(::mkfifo(home.file("fifo.ckd").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(home.file("fifo.rom").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(home.file("folder.ckd").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("/dev/zero", home.file("device.ckd").c_str()), 0);
    home.write("big.ckd", std::string(1024 * 1024 + 1, '\n'));
    const std::string open = home.file("open");
    ASSERT_EQ(::mkdir(open.c_str(), 0777), 0);
    ::chmod(open.c_str(), 0777);
    struct Case
    {
        std::string args;
        std::string err;
        std::string env = "";
    };
    const std::string unable = "tessaron: Unable to read " + home.path();
    const Case cases[] = {
        {"show " + Quoted(home.file("fifo.ckd")),
         unable + "/fifo.ckd: not a regular file (a FIFO)"},
        {"hex " + Quoted(home.file("fifo.ckd")), unable + "/fifo.ckd: not a regular file"},
        {"resave " + Quoted(home.file("fifo.rom")) + " " + Quoted(home.file("out.rom")),
         unable + "/fifo.rom: not a regular file (a FIFO)"},
        {"show " + Quoted(home.file("folder.ckd")),
         unable + "/folder.ckd: not a regular file (a folder)"},
        {"show " + Quoted(home.file("device.ckd")),
         unable + "/device.ckd: not a regular file (a device)"},
        {"show " + Quoted(home.file("big.ckd")),
         unable + "/big.ckd: longer than the 1048576 bytes (1 MiB)"},
        {"folder", "tessaron: TESSARON_HOME: " + open + " is not a private folder of yours",
         "TESSARON_HOME=" + Quoted(open)},
        {"bridge",
         "tessaron bridge: " + open +
             " is not a private folder of yours: other users may write to it (mode 0777). Make "
             "it private: chmod 700",
         "TESSARON_LOCK_DIR=" + Quoted(open)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = RunTool(home, c.args, c.env);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_FALSE(home.exists("out.rom"));
}

} // namespace
