#pragma once

#include "portmgr/io/SerialPort.h"

#include <string>

namespace tessaron {

// What is behind ports/COMn, found without opening it: a look that never
// disturbs the device, the bridge that made it, or a program using it.
struct TPortInfo
{
    enum class Kind
    {
        Nothing,      // no ports/COMn
        SerialDevice, // a link (or node) to a serial device
        VirtualPort,  // a virtual port of a running bridge (Corvandelle or tessaron bridge)
        LeftOver,     // a virtual port's link whose bridge has ended: never followed
        BrokenLink,   // a link to nothing
        NotADevice,   // a file or folder, or a link to one
    };

    int Number = 0;
    Kind Type = Kind::Nothing;
    std::string Target;        // where the link leads (the device node)
    std::string Link;          // the link's own text when it names the device otherwise (by-id)
    bool UsbSerial = false;    // a USB CDC device (ttyACM), as a CDC keypad is
    std::string Keypad;        // of a virtual port: the keypad Corvandelle.ini gives it
    bool KeypadAbsent = false; // that keypad, known by where it is plugged in, is not there
    std::string HeldBy; // another program that has the port open or locked: "socat (pid 4242)"
};

TPortInfo SurveyPort(int n);

// One line for a list: "virtual port of a running bridge, keypad usb-...; in use
// by socat (pid 4242)".
std::string DescribePort(const TPortInfo& info);

// "U" for a port reached over USB (a virtual port, a CDC device), else "R".
std::string SuggestedComType(const TPortInfo& info);

// Opens COMn into port for the sibling programs' own use, 9600 baud, 8N1, raw:
// 0 when open, otherwise why not in why. It refuses what it must not disturb
// (see OpenComPort): a port that another program holds or has locked, another
// user's terminal, a link left by a bridge that has ended (its terminal may
// belong to someone else by now), anything that is no serial device.
int OpenPortForUse(int n, TSerialPort& port, std::string& why);
// The same for a port just surveyed (info.Number in 1 to 16), so that a caller
// that looked at the port first does not survey it again.
int OpenSurveyedPort(const TPortInfo& info, TSerialPort& port, std::string& why);

} // namespace tessaron
