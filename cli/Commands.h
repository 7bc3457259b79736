#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The subcommands of the tessaron tool, each in its own source file.
namespace tessaron::cli {

using Args = std::vector<std::string>;

} // namespace tessaron::cli
