#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessaron::cli {

// One subcommand of the tessaron tool. args excludes the program and command
// names. Returns the exit status (see Arguments.h): 0 on success, 1 with a
// one-line message on err, 2 with the command's usage on err.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err);

struct Command
{
    const char* name;
    const char* usage;
    CommandFunction run;
};

// Runs the tool on a full argument vector (argv[0] first).
int RunTool(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

} // namespace tessaron::cli
