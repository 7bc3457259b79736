#include "PausedBridging.h"

#include "portmgr/bridge/CommandSocket.h"

namespace tessaron::cli {

PausedBridging::~PausedBridging()
{
    std::string ignored;
    resume(ignored);
}

bool PausedBridging::pause(std::string& problem)
{
    const TCommandResult r = SendCommandPair("St");
    if (r.Reply == TCommandReply::NotRunning) {
        return true;
    }
    if (r.Reply != TCommandReply::Done) {
        problem = "bridging could not be stopped for the change: " + CommandProblem(r);
        return false;
    }
    // Stopped by hand before: it stays stopped after the change.
    m_paused = !r.WasStopped;
    m_stoppedBefore = r.WasStopped;
    return true;
}

bool PausedBridging::resume(std::string& problem)
{
    if (!m_paused) {
        return true;
    }
    m_paused = false;
    const TCommandResult r = SendCommandPair("Go");
    if (r.Reply != TCommandReply::Done) {
        problem = "bridging, stopped for the change, did not start again: " + CommandProblem(r);
        return false;
    }
    return true;
}

} // namespace tessaron::cli
