// tessaron folder names the suite folder in use.
#include "cli/Command.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(FolderCommand, PrintsTheSuiteFolder)
{
    tessaron::test::TempHome home;
    std::ostringstream out, err;
    EXPECT_EQ(tessaron::cli::RunTool({"tessaron", "folder"}, out, err), 0);
    EXPECT_EQ(out.str(), home.path() + "\n");
    EXPECT_EQ(err.str(), "");

    std::ostringstream out2, err2;
    EXPECT_EQ(tessaron::cli::RunTool({"tessaron", "folder", "x"}, out2, err2), 2);
    EXPECT_EQ(err2.str(), "usage: tessaron folder [--json]\n");

    std::ostringstream out3, err3;
    EXPECT_EQ(tessaron::cli::RunTool({"tessaron", "folder", "--json"}, out3, err3), 0);
    EXPECT_EQ(out3.str(), "{\n  \"folder\": \"" + home.path() + "\"\n}\n");
}
