#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the subcommands share in reading their arguments.
namespace tessaron::cli {

using Args = std::vector<std::string>;

// Exit statuses: done; refused or failed (a one-line message); the command
// line itself is wrong (usage on standard error).
constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// Removes every flag from args; whether there was one.
bool TakeFlag(Args& args, std::string_view flag);
// Removes "--name VALUE" (or "--name=VALUE") from args into value. False when
// the option is there without a value, or twice.
bool TakeOption(Args& args, std::string_view name, std::string& value);
// The first argument that looks like an option ("-x", "--x"; not "-" alone),
// "" when none: what is left after a command took its own is unknown.
std::string UnknownOption(const Args& args);

// "COM1" to "COM16" in any letter case: the port's number, else 0.
int ParseComPort(std::string_view text);

} // namespace tessaron::cli
