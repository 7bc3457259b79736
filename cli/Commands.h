#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The subcommands of the tessaron tool, each in its own source file.
namespace tessaron::cli {

using Args = std::vector<std::string>;

// Document commands (EditorCommands.cpp): new, hex, resave, show.
int RunNew(const Args& args, std::ostream& out, std::ostream& err);
int RunHex(const Args& args, std::ostream& out, std::ostream& err);
int RunResave(const Args& args, std::ostream& out, std::ostream& err);
int RunShow(const Args& args, std::ostream& out, std::ostream& err);

// The headless bridge (BridgeCommand.cpp): bridge.
int RunBridge(const Args& args, std::ostream& out, std::ostream& err);

// Keypad listing (KeypadsCommand.cpp): keypads.
int RunKeypads(const Args& args, std::ostream& out, std::ostream& err);

} // namespace tessaron::cli
