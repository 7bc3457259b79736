#include "PortSurvey.h"

#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbIdentity.h"
#include "portmgr/io/PortHolders.h"
#include "portmgr/io/PortsLock.h"
#include "portmgr/io/SerialLine.h"
#include "portmgr/io/TVirtualPort.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tessaron {

namespace {

constexpr int LineSpeed = 9600;

std::string linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

std::string resolved(const std::string& path)
{
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) != nullptr ? std::string(real) : std::string();
}

// The keypad that Corvandelle.ini gives port n, and whether it is plugged in
// as far as the kernel's device tree tells: an identity of the kernel's form
// ("usb-<controller>-<port path>/input<n>") that no hidraw node carries now is a
// keypad that is not there, whose bytes the bridge would throw away.
void assignedKeypad(int n, TPortInfo& info)
{
    TPortManager pm;
    LoadSettings(pm);
    for (const TPortAssignment& a : pm.PortAssignments) {
        if (a.ComPort == n && !a.Identity.empty()) {
            info.Keypad = a.Identity;
            info.KeypadAbsent = a.Identity.rfind("usb-", 0) == 0 &&
                                FindHidNode(pm.SysfsRoot, a.Identity) == a.Identity;
            return;
        }
    }
}

// A host's open of a running bridge's port (the port's purpose; the serial
// probe's open passes such ports over): exclusive, like OpenComPort, so that no
// second host mixes its bytes in while we hold it.
int openBridgePort(int n, TSerialPort& port, std::string& reason)
{
    // A bridge of this user made it in a folder of this user's: a marker in a
    // folder that others may change, or a terminal of another user, proves nothing.
    const TPortsLock lock(TPortsLock::Mode::Shared, false);
    struct stat node;
    if (!lock.Held()) {
        reason = lock.Error();
        return 1;
    }
    if (::stat(ComPortPath(n).c_str(), &node) == 0 && node.st_uid != ::getuid()) {
        reason = "a device of another user (" + UserName(node.st_uid) + ")";
        return 1;
    }
    const int fd = ::open(ComPortPath(n).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
        ::close(fd);
        return 2;
    }
    if (!port.Take(fd, TUucpLock())) {
        return 2;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        port.Close();
        errno = EWOULDBLOCK;
        return 1;
    }
    ::ioctl(fd, TIOCEXCL);
    return 0;
}

} // namespace

TPortInfo SurveyPort(int n)
{
    TPortInfo info;
    info.Number = n;
    const std::string path = ComPortPath(n);
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0) {
        return info;
    }
    info.Target = S_ISLNK(link.st_mode) ? linkTarget(path) : path;

    bool alive = false;
    if (TVirtualPort::IsVirtualPortLink("COM" + std::to_string(n), alive)) {
        if (!alive) {
            // The terminal it named may belong to another session by now.
            info.Type = TPortInfo::Kind::LeftOver;
            return info;
        }
        info.Type = TPortInfo::Kind::VirtualPort;
        assignedKeypad(n, info);
        FindPortHolder(path, info.HeldBy);
        return info;
    }

    struct stat device;
    if (::stat(path.c_str(), &device) != 0) {
        info.Type = TPortInfo::Kind::BrokenLink;
        return info;
    }
    if (!S_ISCHR(device.st_mode)) {
        info.Type = TPortInfo::Kind::NotADevice;
        return info;
    }
    info.Type = TPortInfo::Kind::SerialDevice;
    const std::string real = resolved(path);
    if (!real.empty() && real != info.Target) {
        info.Link = info.Target; // /dev/serial/by-id/... names the adapter
        info.Target = real;
    }
    info.UsbSerial = info.Target.rfind("/dev/ttyACM", 0) == 0;
    info.HeldBy = PortUser(path);
    return info;
}

std::string DescribePort(const TPortInfo& info)
{
    std::string text;
    switch (info.Type) {
    case TPortInfo::Kind::Nothing:
        return "nothing";
    case TPortInfo::Kind::SerialDevice:
        text = (info.UsbSerial ? "USB serial device " : "serial device ") + info.Target;
        if (!info.Link.empty()) {
            text += " (" + info.Link + ")";
        }
        break;
    case TPortInfo::Kind::VirtualPort:
        text = "virtual port of a running bridge";
        text += info.Keypad.empty() ? ", no keypad assigned" : ", keypad " + info.Keypad;
        if (info.KeypadAbsent) {
            text += " (not plugged in)";
        }
        break;
    case TPortInfo::Kind::LeftOver:
        return "left behind by a bridge that has ended (not used)";
    case TPortInfo::Kind::BrokenLink:
        return "link to " + info.Target + ", which does not exist";
    case TPortInfo::Kind::NotADevice:
        return "not a serial port (" + info.Target + ")";
    }
    if (!info.HeldBy.empty()) {
        text += "; in use by " + info.HeldBy;
    }
    return text;
}

std::string SuggestedComType(const TPortInfo& info)
{
    return info.Type == TPortInfo::Kind::VirtualPort || info.UsbSerial ? "U" : "R";
}

int OpenPortForUse(int n, TSerialPort& port, std::string& why)
{
    port.Close();
    const std::string name = "COM" + std::to_string(n);
    if (n < 1 || n > 16) {
        why = name + " is no port: the ports are COM1 to COM16.";
        return 1;
    }
    return OpenSurveyedPort(SurveyPort(n), port, why);
}

int OpenSurveyedPort(const TPortInfo& info, TSerialPort& port, std::string& why)
{
    port.Close();
    const int n = info.Number;
    const std::string name = "COM" + std::to_string(n);
    switch (info.Type) {
    case TPortInfo::Kind::Nothing:
        why = name + " does not exist (" + ComPortPath(n) +
              "). A USB keypad's port exists while Corvandelle bridges it; a serial port "
              "is a link that you make to the device.";
        return 1;
    case TPortInfo::Kind::LeftOver:
        why = name + " was left behind by a bridge that has ended; it is not opened.";
        return 1;
    case TPortInfo::Kind::BrokenLink:
    case TPortInfo::Kind::NotADevice:
        why = name + " is not a serial port: " + DescribePort(info) + ".";
        return 1;
    case TPortInfo::Kind::SerialDevice:
    case TPortInfo::Kind::VirtualPort:
        break;
    }
    if (!info.HeldBy.empty()) {
        why = name + " is in use by " + info.HeldBy + ".";
        return 1;
    }
    // A serial device is opened as the serial probe opens it, which passes over
    // what it must not disturb; a bridge's port is opened as its host.
    std::string reason;
    errno = 0;
    const int result = info.Type == TPortInfo::Kind::VirtualPort ? openBridgePort(n, port, reason)
                                                                 : OpenComPort(n, port, &reason);
    if (result != 0) {
        const int error = errno;
        if (!reason.empty()) {
            why = name + " is " + reason + ".";
        } else if (result == 2) {
            why = name + " is not a serial port.";
        } else if (error == EWOULDBLOCK || error == EBUSY) {
            why = name + " is in use by another program.";
        } else if (error == EACCES || error == EPERM) {
            why = name + " cannot be opened: " + std::strerror(error) +
                  ". Serial devices belong to the group dialout: add yourself to it (sudo "
                  "adduser $USER dialout) and log in again.";
        } else {
            why = name + " cannot be opened" +
                  (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) + ".";
        }
        return 1;
    }
    if (!ApplyLineSettings(port.Fd(), LineSpeed)) {
        port.Close();
        why = name + " is not a serial port.";
        return 1;
    }
    return 0;
}

} // namespace tessaron
