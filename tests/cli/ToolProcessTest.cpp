// The built tool as a script would run it: exit status and standard error.
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

using tessaron::test::TempHome;

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

Result RunTool(const TempHome& home, const std::string& args)
{
    const std::string out = home.file("stdout.txt");
    const std::string err = home.file("stderr.txt");
    const std::string command =
        std::string("'") + TESSARON_TOOL + "' " + args + " >'" + out + "' 2>'" + err + "'";
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
          "new " + Quoted(home.file("no/such/dir/x.ckd")), std::string("frobnicate"),
          std::string("")}) {
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

} // namespace
