// tessaron command St|Go|Ck: what `Corvandelle --command` does, sent to
// whichever runs, Corvandelle or `tessaron bridge`.
#include "Commands.h"

#include "portmgr/bridge/CommandSocket.h"

#include <ostream>

namespace tessaron::cli {

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
