#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// Corvandelle's command channel: a local socket in a folder that only the
// user can open ("corvandelle" in the folder of the single-instance lock). A
// client sends two characters ("St", "Go" or "Ck") and reads one reply line:
// "ok" (carried out, or for "Ck" the configuration is on its way), "busy"
// (not now: the configuration dialog is open) or "ignored" (not a command).

// The socket's path; the folder is made (mode 0700) when missing. "" with
// error set when no private folder can be had.
std::string CommandSocketPath(std::string& error);

// What `Corvandelle --command` does: 0 when the running Corvandelle carried
// the command out, 1 with a one-line message otherwise (none running, busy).
int SendCommand(std::string_view pair, std::string& message);

} // namespace tessaron
