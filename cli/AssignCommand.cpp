// tessaron assign KEYPAD COMn and tessaron unassign KEYPAD: a USB keypad's
// virtual port stored or removed as the configuration dialog does, with its
// refusals and the message on the keypad's display. Bridging is stopped
// meanwhile, as the dialog runs only while it is (the keypads are free to be
// opened, the virtual ports gone), and started again with the change.
#include "Commands.h"
#include "PausedBridging.h"

#include "common/FileWriteError.h"
#include "portmgr/devices/KeypadQuery.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"

#include <ostream>

namespace tessaron::cli {

namespace {

// The wait for the label to reach the keypad before it is closed again.
constexpr int LabelWaitMs = 500;

// The slot of KEYPAD: the row of an attached keypad as `tessaron keypads`
// numbers it, or the identity of an attached or remembered one; -1 if none.
int findKeypad(const TPortManager& pm, const std::string& keypad)
{
    if (keypad.size() == 1 && keypad[0] >= '1' && keypad[0] < '1' + MaxKeypads) {
        const int row = keypad[0] - '1';
        return (pm.KeypadSlots[row].Flags & SlotPresent) ? row : -1;
    }
    for (int i = 0; i < MaxKeypads; ++i) {
        if (!keypad.empty() && DevicePathOf(pm.KeypadSlots[i]) == keypad) {
            return i;
        }
    }
    return -1;
}

std::string portName(int port)
{
    return "COM" + std::to_string(port);
}

// Why the dialog would not offer port (PortAvailable is false).
std::string whyTaken(const TPortManager& pm, int port)
{
    const std::string name = portName(port);
    for (const TPortAssignment& a : pm.PortAssignments) {
        if (a.ComPort == port) {
            return name + " is assigned to keypad " + a.Identity +
                   "; unassign that one first (tessaron unassign " + a.Identity + ").";
        }
    }
    if (pm.SerialKeypadPorts[port - 1]) {
        return name + " is the port of a serial keypad.";
    }
    return name + " is a port of this machine (ports/" + name + " is a serial device).";
}

// Tells an attached USB keypad its port on its display, as the dialog does.
void label(TPortManager& pm, int row, int port, std::ostream& err)
{
    TKeypadSlot& slot = pm.KeypadSlots[row];
    if (!IsUsbSlot(slot)) {
        return; // remembered, not attached
    }
    slot.ComPort = port; // also sent as a feature report when it is opened
    if (OpenUsbKeypad(pm, row)) {
        err << "tessaron: keypad " << row + 1 << " could not be opened to show its port"
            << (slot.LastError.empty() ? "" : ": " + slot.LastError) << '\n';
        return;
    }
    SendLabel(pm, row, port);
    WaitForWrites(pm, LabelWaitMs);
    CloseKeypad(pm, row);
}

// The keypads found and the remembered ones placed, as the configuration
// dialog does; false (said on err) when USB cannot be used.
bool survey(TPortManager& pm, std::ostream& err)
{
    LoadSettings(pm);
    TVirtualPort::ResetBus();
    if (EnumerateKeypads(pm) < 0) {
        err << kUsbStartFailedMessage << '\n';
        return false;
    }
    PlaceRememberedKeypads(pm, false);
    return true;
}

std::string named(int row, const std::string& identity)
{
    return "keypad " + std::to_string(row + 1) + " (" + identity + ")";
}

// port 0: unassign. The keypad is looked for beside a running bridge first,
// so that what needs no change (or is refused) leaves bridging alone; the
// change itself is made with bridging stopped.
int changeAssignment(const std::string& keypad, int port, std::ostream& out, std::ostream& err)
{
    const auto refuse = [&err](const std::string& message) {
        err << "tessaron: " << message << '\n';
        return ExitFailed;
    };
    const auto missing = [&] {
        return refuse("no keypad \"" + keypad +
                      "\" is attached or remembered (tessaron keypads lists them).");
    };
    std::string identity;
    const auto unchanged = [&](int row) {
        out << named(row, identity)
            << (port > 0 ? " has " + portName(port) : std::string(" has no port")) << " already.\n";
        return ExitDone;
    };
    {
        TPortManager pm;
        if (!survey(pm, err)) {
            return ExitFailed;
        }
        const int row = findKeypad(pm, keypad);
        if (row < 0) {
            return missing();
        }
        const TKeypadSlot& slot = pm.KeypadSlots[row];
        identity = DevicePathOf(slot);
        if (IsSerialSlot(slot)) {
            return refuse(named(row, identity) + " is a serial keypad (" + KeypadKind(slot) +
                          "): its port is fixed and cannot be assigned.");
        }
        if (FindAssignedPort(pm, identity) == port) {
            return unchanged(row);
        }
    }

    PausedBridging bridging;
    std::string problem;
    if (!bridging.pause(problem)) {
        return refuse(problem);
    }
    TPortManager pm;
    if (!survey(pm, err)) {
        return ExitFailed;
    }
    const int row = findKeypad(pm, identity); // gone meanwhile: not found
    if (row < 0) {
        return missing();
    }
    const int before = FindAssignedPort(pm, identity);
    if (before == port) {
        return unchanged(row); // so meanwhile
    }
    if (port > 0) {
        ComputeAvailablePorts(pm);
        if (!pm.PortAvailable[port]) {
            return refuse(whyTaken(pm, port));
        }
    }
    try {
        if (MoveAssignment(pm, port, identity) != 0) {
            return refuse(portName(port) + " cannot be stored: the six assignments that "
                                           "Corvandelle.ini holds are all other keypads'.");
        }
    } catch (const FileWriteError& e) {
        return refuse(e.what());
    }
    label(pm, row, port, err);

    if (port > 0) {
        out << portName(port) << " assigned to " << named(row, identity) << ".\n";
    } else {
        out << named(row, identity) << " no longer has " << portName(before) << ".\n";
    }
    if (bridging.paused()) {
        if (!bridging.resume(problem)) {
            return refuse(problem);
        }
        out << "Bridging was stopped and started again so that the change takes effect.\n";
    } else if (bridging.stoppedBefore()) {
        out << "Bridging is stopped; the change takes effect when it starts again "
               "(tessaron command Go).\n";
    }
    return ExitDone;
}

} // namespace

int RunAssign(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2 || !UnknownOption(args).empty()) {
        return UsageError(err, "assign");
    }
    const int port = ParseComPort(args[1]);
    if (port == 0) {
        err << "tessaron: \"" << args[1] << "\" is no port (COM1 to COM16)\n";
        return UsageError(err, "assign");
    }
    return changeAssignment(args[0], port, out, err);
}

int RunUnassign(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1 || !UnknownOption(args).empty()) {
        return UsageError(err, "unassign");
    }
    return changeAssignment(args[0], 0, out, err);
}

} // namespace tessaron::cli
