// tessaron command St|Go|Ck: what `Corvandelle --command` does, sent to
// whichever runs, Corvandelle or `tessaron bridge`.
#include "Commands.h"

#include <ostream>

namespace tessaron::cli {

std::string CommandProblem(const TCommandResult& result)
{
    switch (result.Reply) {
    case TCommandReply::Done:
        return {};
    case TCommandReply::Busy:
        return "Corvandelle is busy with its configuration dialog; try again when it is closed.";
    case TCommandReply::Ignored:
        return "the running bridge ignored the command.";
    case TCommandReply::NoDesktop:
        return "the running tessaron bridge has no desktop, so no configuration dialog to "
               "open: assign ports with tessaron assign.";
    case TCommandReply::Failed:
        return "bridging could not start again; the log of the running bridge says why.";
    case TCommandReply::NotRunning:
        return "neither Corvandelle nor tessaron bridge is running.";
    case TCommandReply::NoAnswer:
        return "the running bridge did not answer.";
    case TCommandReply::Closed:
        return "the running bridge closed the connection without an answer.";
    case TCommandReply::Error:
        return result.Error;
    }
    return result.Error;
}

int RunControl(const Args& args, std::ostream&, std::ostream& err)
{
    if (args.size() != 1 || (args[0] != "St" && args[0] != "Go" && args[0] != "Ck")) {
        return UsageError(err, "command");
    }
    const TCommandResult result = SendCommandPair(args[0]);
    if (result.Reply == TCommandReply::Done) {
        return ExitDone;
    }
    err << "tessaron: " << CommandProblem(result) << '\n';
    return ExitFailed;
}

} // namespace tessaron::cli
