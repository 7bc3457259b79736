// Every program of the suite, as built, answers --help and --version and
// refuses an unknown option before it needs a display: run here with an empty
// environment (no display, no Qt platform named, no HOME), where a program that
// made its QApplication first would abort.
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

using namespace tessaron::test;

namespace {

struct Program
{
    const char* name;
    const char* path;
};

constexpr Program Programs[] = {
    {"Plindorax", PLINDORAX_PROGRAM}, {"Corvandelle", CORVANDELLE_PROGRAM},
    {"Tavrix", TAVRIX_PROGRAM},       {"Wendrel", WENDREL_PROGRAM},
    {"Qex", QEX_PROGRAM},             {"Ruskel", RUSKEL_PROGRAM},
};

std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

} // namespace

TEST(ProgramConventions, HelpVersionAndUnknownOptionsWithoutADisplay)
{
    for (const Program& program : Programs) {
        const std::string name = program.name;
        struct Case
        {
            const char* option;
            int status;
            bool onStandardOutput;
            std::string firstLine;
        };
        const Case cases[] = {
            {"--help", 0, true, "usage: " + name},
            {"--version", 0, true, name + " 6.0.0.0"},
            {"--frobnicate", 1, false, name + ": unknown option --frobnicate"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(name + " " + c.option);
            ChildProcess child;
            ASSERT_TRUE(child.start({program.path, c.option}, {}));
            EXPECT_EQ(child.wait(10000), c.status) << child.errorOutput();
            const std::string& shown = c.onStandardOutput ? child.output() : child.errorOutput();
            const std::string& quiet = c.onStandardOutput ? child.errorOutput() : child.output();
            EXPECT_EQ(firstLine(shown).rfind(c.firstLine, 0), 0u) << shown;
            EXPECT_EQ(quiet, "");
            if (!c.onStandardOutput) {
                EXPECT_NE(shown.find("\nusage: " + name), std::string::npos) << shown;
            }
        }
    }
}
