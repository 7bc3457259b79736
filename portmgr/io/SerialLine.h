#pragma once

#include "SerialPort.h"

#include <atomic>
#include <string>

namespace tessaron {

// COM1 to COM16 are the entries ports/COM1 to ports/COM16 of the suite folder:
// links to serial devices, or Corvandelle's virtual ports.
std::string ComPortPath(int n);

// Opens COMn for reading and writing into port, existing device only, without
// sharing: 0 when open, 1 when it does not open (missing, refused, in use), 2
// when it is no serial port (no character device, or no terminal: such a
// device is closed again before a byte reaches it). The descriptor is
// non-blocking; reads wait with poll(). Why a port that exists was passed
// over goes to reason (if given).
//
// A probe sets a port's line and writes to it, so a port that anything else
// may be using is passed over. What can be seen of other programs:
//   - our own processes holding the device open, through /proc/<pid>/fd (of
//     other users' processes only when we are root, as for fuser);
//   - programs of any user that take UUCP lock files (minicom, cu, gpsd,
//     ModemManager and most serial libraries; see TUucpLock): a lock that
//     names a live process, also one we may not signal, means in use;
//   - programs that put the terminal in exclusive mode (TIOCEXCL, set by many
//     serial libraries): the open fails with EBUSY (not for root, who sees
//     every holder through /proc instead);
//   - terminals that belong to another user: a device node owned by anyone
//     but us or root (a pseudo-terminal belongs to whoever opened it; real
//     serial ports are root's, group dialout) is never opened;
//   - the suite's own virtual ports, live or left behind, by their markers.
// Not seen: a program of another user that takes no lock and sets no
// exclusive mode on a device that root owns (a real serial port); only root
// sees it, through /proc.
//
// While it has the port, the open takes its UUCP lock (when the lock folder
// may be written; ordinary users often may not), flock()s it against the
// suite's other programs and sets exclusive mode; port.Close() gives all of
// it back with the line settings and modem lines found at open.
int OpenComPort(int n, TSerialPort& port, std::string* reason = nullptr);

// Who else has the serial device at path (ports/COMn), found without opening
// it, as OpenComPort sees it: "another user (bob), whose device it is", a
// process that holds its UUCP lock, or one that holds it open. "" when none is
// seen, or path is no device.
std::string PortUser(const std::string& path);

// The keypads' line: speed baud, 8 data bits, no parity, one stop bit, no flow
// control of any kind, DTR off, RTS on, raw bytes. False when the line cannot
// be set (fd is no terminal).
bool ApplyLineSettings(int fd, int speed);

// Reads up to max bytes, waiting at most totalMs for all of them; returns the count.
int ReadWithin(int fd, unsigned char* buffer, int max, int totalMs);
// Writes all n bytes, waiting at most totalMs for room; returns the count
// written. A stop that is set ends the wait early (a thread asked to end).
int WriteWithin(int fd, const unsigned char* bytes, int n, int totalMs,
                const std::atomic<bool>* stop = nullptr);

} // namespace tessaron
