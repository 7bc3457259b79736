#include "Commands.h"
#include "StopSignals.h"

#include "common/SingleInstanceLock.h"
#include "portmgr/bridge/CommandListener.h"
#include "portmgr/bridge/CommandSocket.h"
#include "portmgr/bridge/TBridgeControl.h"
#include "portmgr/bridge/TBridgeLog.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <ostream>
#include <poll.h>
#include <system_error>

namespace tessaron::cli {

namespace {

// Starts bridging; when that fails, says why and leaves nothing started.
bool startPorts(TBridgeControl& control, std::ostream& err)
{
    const int failures = control.StartPorts();
    if (failures == 0) {
        return true;
    }
    if (failures > 0) {
        control.StopPorts(); // no port without its pump, no keypad held open
        err << "tessaron bridge: " << failures
            << (failures == 1 ? " virtual port" : " virtual ports") << " could not be created\n";
    } else {
        err << kUsbStartFailedMessage << '\n';
    }
    return false;
}

// What the bridge answers on the command channel: the same as Corvandelle,
// except that without a desktop there is no configuration dialog to open.
std::string answer(TBridgeControl& control, char first, char second, std::ostream& err)
{
    if (first == 'S' && second == 't') {
        const bool wasRunning = control.Running();
        control.StopPorts();
        return wasRunning ? "ok" : "stopped";
    }
    if (first == 'G' && second == 'o') {
        // Starting again while bridging runs would drop every host's port.
        return control.Running() || startPorts(control, err) ? "ok" : "failed";
    }
    if (first == 'C' && second == 'k') {
        return "nodesktop";
    }
    return "ignored";
}

} // namespace

int RunBridge(const Args& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        return UsageError(err, "bridge");
    }
    SingleInstanceLock lock;
    switch (lock.acquire()) {
    case SingleInstanceLock::Result::Acquired:
        break;
    case SingleInstanceLock::Result::AlreadyHeld:
        err << kAlreadyRunningMessage << '\n';
        return 1;
    case SingleInstanceLock::Result::Failed:
        err << "tessaron bridge: " << lock.error() << '\n';
        return 1;
    }
    // A log that nobody reads any more (a closed pipe) must not end the bridge
    // before it has removed its ports.
    std::signal(SIGPIPE, SIG_IGN);
    StopSignals signals;
    if (!signals.valid()) {
        err << "tessaron bridge: no signal descriptor: " << std::strerror(errno) << '\n';
        return 1;
    }

    TPortManager pm;
    TBridgeLog log(&out);
    std::unique_ptr<TBridgeControl> control;
    try {
        control = std::make_unique<TBridgeControl>(pm, &log);
    } catch (const std::system_error& e) {
        err << "tessaron bridge: " << e.what() << '\n';
        return 1;
    }

    // St, Go and Ck as Corvandelle takes them; without the channel the bridge
    // still runs, as Corvandelle does. It listens before the start: a command
    // sent meanwhile waits for the loop.
    TCommandListener commands(
        [&](char first, char second) { return answer(*control, first, second, err); });
    std::string error;
    const std::string socket = CommandSocketPath(error);
    if (socket.empty() || !commands.Listen(socket, error)) {
        err << "tessaron bridge: commands cannot be received: " << error << std::endl;
    }

    TVirtualPort::ResetBus();
    if (!startPorts(*control, err)) {
        return 1;
    }
    // Nothing wakes this loop but the bridge's work, commands and the stop signals.
    pollfd fds[3] = {
        {control->PollFd(), POLLIN, 0}, {signals.fd(), POLLIN, 0}, {commands.PollFd(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 3, -1) < 0 && errno != EINTR) {
            err << "tessaron bridge: poll: " << std::strerror(errno) << '\n';
            break;
        }
        if (fds[1].revents & POLLIN) {
            break;
        }
        if (fds[0].revents & POLLIN) {
            control->Dispatch();
        }
        if (fds[2].revents & POLLIN) {
            commands.Dispatch();
        }
    }
    commands.Close();
    control->StopPorts();
    return 0;
}

} // namespace tessaron::cli
