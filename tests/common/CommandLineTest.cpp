// The command line that every program reads before it makes its QApplication.
#include "common/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaron {
namespace {

constexpr ProgramOption Options[] = {{"--no-window", false}, {"--command", true}};
constexpr ProgramSyntax Syntax{"Tavrix", "Tavrix [PATH]\nTavrix --no-window PATH",
                               "Sends a download image.\n", Options};

TEST(ProgramArguments, OptionsOperandsAndQtOptionsAreToldApart)
{
    using Strings = std::vector<std::string>;
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    struct Case
    {
        Strings arguments;
        int exit;
        std::string out; // its start
        std::string err; // its start
        Pairs options;
        Strings operands;
        Strings qt; // after the program's path
    };
    const Case cases[] = {
        {{"--help", "--frobnicate"},
         0,
         "usage: Tavrix [PATH]\n       Tavrix --no-window PATH\nSends a download image.\n"
         "  -h, --help",
         "",
         {},
         {},
         {}},
        {{"x.hex", "--version"}, 0, "Tavrix 6.0.0.0\n", "", {}, {}, {}},
        {{"x.hex", "--frobnicate", "--help"},
         1,
         "",
         "Tavrix: unknown option --frobnicate\nusage: Tavrix [PATH]\n       Tavrix --no-window "
         "PATH\nTry 'Tavrix --help' for more.\n",
         {},
         {},
         {}},
        // A document that starts with '-': after "--", or as a path; "-" and
        // negative numbers are operands too.
        {{"--", "-x.hex", "--help"}, -1, "", "", {}, {"-x.hex", "--help"}, {}},
        {{"./-x.hex", "-", "-50"}, -1, "", "", {}, {"./-x.hex", "-", "-50"}, {}},
        {{"-platform", "offscreen", "a", "--no-window", "--style", "Fusion", "-reverse",
          "--command", "St", "--command=Go"},
         -1,
         "",
         "",
         {{"--no-window", ""}, {"--command", "St"}, {"--command", "Go"}},
         {"a"},
         {"-platform", "offscreen", "--style", "Fusion", "-reverse"}},
        {{"--command"}, 1, "", "Tavrix: option --command needs a value\nusage:", {}, {}, {}},
        {{"-style"}, 1, "", "Tavrix: option -style needs a value\nusage:", {}, {}, {}},
        {{"--no-window=1"}, 1, "", "Tavrix: option --no-window takes no value\n", {}, {}, {}},
        {{"--platform=xcb"}, 1, "", "Tavrix: unknown option --platform=xcb\n", {}, {}, {}},
    };
    for (const Case& c : cases) {
        Strings argv = {"/bin/Tavrix"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::vector<char*> pointers;
        std::string trace;
        for (std::string& a : argv) {
            pointers.push_back(a.data());
            trace += a + " ";
        }
        SCOPED_TRACE(trace);
        std::ostringstream out;
        std::ostringstream err;
        const ProgramArguments given = ReadProgramArguments(
            Syntax, static_cast<int>(pointers.size()), pointers.data(), out, err);
        EXPECT_EQ(given.Exit, c.exit);
        EXPECT_EQ(out.str().rfind(c.out, 0), 0u) << out.str();
        EXPECT_EQ(err.str().rfind(c.err, 0), 0u) << err.str();
        EXPECT_EQ(out.str().empty(), c.out.empty());
        EXPECT_EQ(err.str().empty(), c.err.empty());
        if (c.exit != -1) {
            continue;
        }
        EXPECT_EQ(given.Options, c.options);
        EXPECT_EQ(given.Operands, c.operands);
        ASSERT_EQ(given.QtArgc, static_cast<int>(c.qt.size()) + 1);
        ASSERT_EQ(given.QtArguments.size(), c.qt.size() + 2);
        EXPECT_EQ(given.QtArguments.front(), pointers.front());
        EXPECT_EQ(given.QtArguments.back(), nullptr);
        EXPECT_EQ(Strings(given.QtArguments.begin() + 1, given.QtArguments.end() - 1), c.qt);
    }
    ProgramArguments given;
    given.Options = {{"--command", "St"}, {"--command", "Go"}};
    EXPECT_EQ(*given.Option("--command"), "Go") << "the last one given counts";
    EXPECT_EQ(given.Option("--no-window"), nullptr);
}

} // namespace
} // namespace tessaron
