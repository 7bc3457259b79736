#pragma once

#include "Arguments.h"

#include <iosfwd>

// The subcommands of the tessaron tool, each in its own source file.
namespace tessaron {
struct TKeypadSlot;
}

namespace tessaron::cli {

// Document commands (EditorCommands.cpp): new, hex, resave, show.
int RunNew(const Args& args, std::ostream& out, std::ostream& err);
int RunHex(const Args& args, std::ostream& out, std::ostream& err);
int RunResave(const Args& args, std::ostream& out, std::ostream& err);
int RunShow(const Args& args, std::ostream& out, std::ostream& err);

// A document into a keypad through the loader's core (DownloadCommand.cpp).
int RunDownload(const Args& args, std::ostream& out, std::ostream& err);

// The headless bridge (BridgeCommand.cpp): bridge.
int RunBridge(const Args& args, std::ostream& out, std::ostream& err);
// A command to the running bridge or Corvandelle (ControlCommand.cpp).
int RunControl(const Args& args, std::ostream& out, std::ostream& err);

// Keypad listing (KeypadsCommand.cpp): keypads; and a slot's kind as it
// lists it: "USB", "RS232" or "CDC".
int RunKeypads(const Args& args, std::ostream& out, std::ostream& err);
const char* KeypadKind(const TKeypadSlot& slot);
// Port assignments (AssignCommand.cpp): assign, unassign.
int RunAssign(const Args& args, std::ostream& out, std::ostream& err);
int RunUnassign(const Args& args, std::ostream& out, std::ostream& err);

// "usage: tessaron <the command's usage>" on err; returns ExitUsage.
int UsageError(std::ostream& err, const char* command);

} // namespace tessaron::cli
