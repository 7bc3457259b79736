#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// The command channel of the running bridge, Corvandelle's or `tessaron
// bridge`'s: a local socket in a folder that only the user can open
// ("corvandelle" in the folder of the single-instance lock). A client sends
// two characters ("St", "Go" or "Ck") and reads one reply line:
//   "ok"        carried out (for "Ck": the configuration is on its way);
//   "stopped"   "St" when bridging was stopped already: nothing changed;
//   "busy"      not now: the configuration dialog is open;
//   "ignored"   not a command;
//   "nodesktop" "Ck" to a bridge without a desktop, which has no dialog;
//   "failed"    "Go" could not start bridging (the bridge's log says why).

// The socket's path; the folder is made (mode 0700) when missing. "" with
// error set when no private folder can be had.
std::string CommandSocketPath(std::string& error);

// What became of a command sent to the running bridge.
enum class TCommandReply
{
    Done,
    Busy,
    Ignored,
    NoDesktop,
    Failed,
    NotRunning, // nobody listens: neither Corvandelle nor a bridge runs
    NoAnswer,   // no reply within a minute
    Closed,     // the connection ended without a reply line
    Error,      // the channel could not be used; the text says why
};

struct TCommandResult
{
    TCommandReply Reply = TCommandReply::Error;
    std::string Error; // of TCommandReply::Error: the path and the reason
    // Of "St" answered Done: bridging was not running, so a client that
    // stopped it for a while must not start it again.
    bool WasStopped = false;
};

// Sends a pair to whichever runs, Corvandelle or `tessaron bridge`. Within a
// log-in session a bridge started without one (cron, a service before the
// log-in) listens in the home folder's place: it is looked for there too.
TCommandResult SendCommandPair(std::string_view pair);

// What a reply other than Done means for the user: one sentence, in lower
// case where the program's name goes before it.
std::string CommandProblem(const TCommandResult& result);

// What `Corvandelle --command` does: 0 when the running Corvandelle carried
// the command out, 1 with a one-line message otherwise (none running, busy).
// It reaches `tessaron bridge` as well.
int SendCommand(std::string_view pair, std::string& message);

} // namespace tessaron
