// tessaron keypads: finds the keypads as Corvandelle does and lists them, one
// tab-separated line per filled slot (or, with --json, one object): row,
// kind, assigned port, identity and the version text the keypad gives to the
// identification query. It may run beside a bridge: the bridge's ports and
// keypads, and ports that any program holds, are left alone, and standard
// error says what was not asked.
#include "Commands.h"
#include "JsonWriter.h"

#include "portmgr/devices/KeypadQuery.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"
#include "portmgr/io/TVirtualPort.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <thread>

namespace tessaron::cli {

const char* KeypadKind(const TKeypadSlot& slot)
{
    if (slot.Flags & SlotRs232) {
        return "RS232";
    }
    if (slot.Flags & SlotCdc) {
        return "CDC";
    }
    return "USB";
}

namespace {

// The reply as text on one line: it ends at a zero byte, and other control
// characters (a tab would start a new field) show as '?'.
std::string printable(const std::string& reply)
{
    std::string out;
    for (char c : reply) {
        if (c == '\0') {
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || u == 0x7F) ? '?' : c;
    }
    return out;
}

// The configuration dialog reads what came within 80 ms; a listing can
// afford to wait for the rest of a reply that a busy machine delays.
std::string askIdentification(TPortManager& pm, int slot)
{
    constexpr size_t kLength = 16;
    std::string reply = QueryIdentification(pm, slot);
    TFileReadThread& reader = *pm.KeypadSlots[slot].ReadThread;
    for (int waited = 0; reply.size() < kLength && waited < 1000; waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (reply.size() < kLength && reader.Available() > 0) {
            reply += static_cast<char>(reader.PopByte());
        }
    }
    return reply;
}

// Opens the keypad as the configuration dialog does, asks for its
// identification and closes it again. Not asked: a keypad that another
// program of the suite holds.
std::string versionOf(TPortManager& pm, int slot, bool& asked)
{
    std::string version;
    asked = true;
    if (IsSerialSlot(pm.KeypadSlots[slot])) {
        if (!OpenSerialKeypad(pm, slot)) {
            version = askIdentification(pm, slot);
            CloseSerialKeypad(pm, slot);
        }
    } else if (!OpenUsbKeypad(pm, slot)) {
        version = askIdentification(pm, slot);
        CloseKeypad(pm, slot);
    } else if (pm.KeypadSlots[slot].InUseElsewhere) {
        asked = false;
    }
    return printable(version);
}

} // namespace

int RunKeypads(const Args& given, std::ostream& out, std::ostream& err)
{
    Args args = given;
    const bool json = TakeFlag(args, "--json");
    if (!args.empty()) {
        return UsageError(err, "keypads");
    }
    TPortManager pm;
    LoadSettings(pm);
    TVirtualPort::ResetBus(); // what dead bridges left is never probed
    if (EnumerateKeypads(pm) < 0) {
        err << kUsbStartFailedMessage << '\n';
        return ExitFailed;
    }
    for (int n = 1; n <= MaxComPorts; ++n) {
        if (!pm.PortNotes[n - 1].empty()) {
            err << "tessaron: COM" << n << " not probed: " << pm.PortNotes[n - 1] << '\n';
        }
    }
    std::optional<JsonWriter> writer;
    if (json) {
        writer.emplace(out);
        writer->beginArray();
    }
    for (int i = 0; i < MaxKeypads; ++i) {
        TKeypadSlot& slot = pm.KeypadSlots[i];
        if (!(slot.Flags & SlotPresent)) {
            continue;
        }
        const int port = FindAssignedPort(pm, DevicePathOf(slot));
        if (IsUsbSlot(slot)) {
            slot.ComPort = port; // the keypad is told its port when opened
        }
        bool asked = false;
        const std::string version = versionOf(pm, i, asked);
        const std::string portName = port > 0 ? "COM" + std::to_string(port) : std::string();
        if (writer) {
            JsonWriter& w = *writer;
            w.beginObject();
            w.field("row", i + 1);
            w.field("kind", KeypadKind(slot));
            w.key("port");
            port > 0 ? w.string(portName) : w.null();
            w.field("identity", DevicePathOf(slot));
            w.key("version");
            asked ? w.string(version) : w.null();
            w.field("in_use", !asked);
            w.endObject();
        } else {
            out << (i + 1) << '\t' << KeypadKind(slot) << '\t'
                << (port > 0 ? portName : std::string("-")) << '\t' << DevicePathOf(slot) << '\t'
                << (asked ? version : std::string("(in use, not asked)")) << '\n';
        }
        if (slot.InUseElsewhere) {
            err << "tessaron: keypad " << (i + 1)
                << " is in use by another program of the suite (a running bridge or "
                   "Corvandelle); it was not asked\n";
        } else if (!slot.LastError.empty()) {
            err << "tessaron: " << slot.LastError << '\n';
        }
    }
    if (writer) {
        writer->endArray();
    }
    return ExitDone;
}

} // namespace tessaron::cli
