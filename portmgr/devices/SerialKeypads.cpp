#include "SerialKeypads.h"

#include "PortManager.h"
#include "UsbKeypads.h"
#include "portmgr/io/SerialLine.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <termios.h>

namespace tessaron {

namespace {

constexpr int ProbeReadMs = 100;
constexpr int ProbeWriteMs = 100;
constexpr int IdentificationReadMax = 64;
constexpr int SerialCloseWaitMs = 200;
constexpr int LabelClearWaitMs = 100;
constexpr const char* Db9Identification = "Tessaron on DB9 ";

const unsigned char TypeQuery[2] = {'@', 0x05};

// n for "COMn" with n from 1 to 16, otherwise 0.
int comNumber(const char* devicePath)
{
    if (std::strncmp(devicePath, "COM", 3) != 0) {
        return 0;
    }
    int n = 0;
    const char* p = devicePath + 3;
    if (*p == '\0' || *p == '0') {
        return 0;
    }
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9' || n > MaxComPorts) {
            return 0;
        }
        n = n * 10 + (*p - '0');
    }
    return n <= MaxComPorts ? n : 0;
}

void clearSlot(TKeypadSlot& s)
{
    s.Handle.reset();
    s.Flags = 0;
    s.ComPort = 0;
    s.DevicePath[0] = '\0';
    s.LastError.clear();
    s.InUseElsewhere = false;
}

} // namespace

int OpenProbePort(TPortManager& pm, int n)
{
    if (pm.Probe.Handle.IsOpen()) {
        return -1;
    }
    TSerialPort port;
    const int result =
        OpenComPort(n, port, n >= 1 && n <= MaxComPorts ? &pm.PortNotes[n - 1] : nullptr);
    if (result != 0) {
        return result;
    }
    if (!ApplyLineSettings(port.Fd(), pm.Probe.Speed)) {
        return 2; // closed again, nothing written
    }
    ::tcflush(port.Fd(), TCIOFLUSH);
    pm.Probe.Handle = std::move(port);
    pm.Probe.Port = n;
    return 0;
}

void CloseProbePort(TPortManager& pm)
{
    pm.Probe.Handle.Close();
}

void ProbeSerialPort(TPortManager& pm, int n)
{
    pm.Probe.Reply = 0;
    pm.Probe.Identification[0] = '\0';
    if (OpenProbePort(pm, n) != 0) {
        return;
    }
    const int fd = pm.Probe.Handle.Fd();
    unsigned char reply = 0;
    int got = 0;
    for (int attempt = 0; attempt < 2 && got == 0; ++attempt) {
        WriteWithin(fd, TypeQuery, sizeof TypeQuery, ProbeWriteMs);
        got = ReadWithin(fd, &reply, 1, ProbeReadMs);
        if (got == 0) {
            got = ReadWithin(fd, &reply, 1, ProbeReadMs);
        }
    }
    if (got == 0) {
        CloseProbePort(pm);
        return;
    }
    pm.Probe.Reply = static_cast<char>(reply);
    unsigned char text[IdentificationReadMax];
    WriteWithin(fd, IdentificationQuery, sizeof IdentificationQuery, ProbeWriteMs);
    const int length = ReadWithin(fd, text, sizeof text, ProbeReadMs);
    if (length == IdentificationLength) {
        // Kept as text: a zero byte ends it early, and the port is then no keypad.
        std::memcpy(pm.Probe.Identification, text, IdentificationLength);
        pm.Probe.Identification[IdentificationLength] = '\0';
    } else if (pm.Probe.Reply == 'R') {
        std::strcpy(pm.Probe.Identification, Db9Identification);
    }
    CloseProbePort(pm);
}

int EnumerateKeypads(TPortManager& pm)
{
    if (!pm.Hid.Loaded() && LoadHidLibraries(pm)) {
        return -1;
    }
    for (int i = 0; i < MaxKeypads; ++i) {
        CloseSlot(pm, i, 0); // callers close everything first; a thread left running would
                             // outlive its device
        clearSlot(pm.KeypadSlots[i]);
    }
    pm.SerialKeypadPorts.fill(false);
    pm.PortNotes.fill(std::string());
    pm.Probe.Speed = 9600;
    for (int n = 1; n <= MaxComPorts; ++n) {
        ProbeSerialPort(pm, n);
        if (std::strlen(pm.Probe.Identification) != IdentificationLength) {
            continue;
        }
        // A keypad beyond the sixth keeps its port out of the menu all the same.
        pm.SerialKeypadPorts[n - 1] = true;
        for (TKeypadSlot& s : pm.KeypadSlots) {
            if (s.Flags == 0) {
                std::snprintf(s.DevicePath, sizeof s.DevicePath, "COM%d", n);
                s.Flags =
                    pm.Probe.Reply == 'v' ? (SlotPresent | SlotCdc) : (SlotPresent | SlotRs232);
                s.ComPort = 0;
                break;
            }
        }
    }
    ListUsbKeypads(pm);
    return FilledSlots(pm);
}

bool OpenSerialKeypad(TPortManager& pm, int slot)
{
    if (!ValidSlot(slot)) {
        return true;
    }
    TKeypadSlot& s = pm.KeypadSlots[slot];
    if (s.Flags & SlotOpen) {
        return true;
    }
    char kind;
    if (s.Flags & SlotRs232) {
        kind = LinkRs232;
    } else if (s.Flags & SlotCdc) {
        kind = LinkCdc;
    } else {
        return true;
    }
    const int n = comNumber(s.DevicePath);
    auto port = std::make_unique<TSerialPort>();
    // Reads return at once with what has arrived; the read thread poll()s.
    if (n == 0 || OpenComPort(n, *port) != 0 || !ApplyLineSettings(port->Fd(), pm.Probe.Speed)) {
        s.Handle.reset();
        return true;
    }
    return !StartSlotThreads(pm, s, TDeviceHandle::ForPort(std::move(port)), kind);
}

void CloseSerialKeypad(TPortManager& pm, int slot)
{
    CloseSlot(pm, slot, SerialCloseWaitMs);
}

void SendLabelClear(TPortManager& pm, int slot)
{
    if (ValidSlot(slot) && pm.KeypadSlots[slot].WriteThread) {
        const unsigned char clear[2] = {'@', 'C'};
        pm.KeypadSlots[slot].WriteThread->Queue(2, clear);
    }
    pm.SleepMs(LabelClearWaitMs);
}

} // namespace tessaron
