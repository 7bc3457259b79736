#pragma once

#include <string>

namespace tessaron {

// COM1 to COM16 are the entries ports/COM1 to ports/COM16 of the suite folder:
// links to serial devices, or Corvandelle's virtual ports.
std::string ComPortPath(int n);

// Opens COMn for reading and writing, existing device only, without sharing:
// 0 with fd set when open, 1 when it does not open (missing, refused, held by
// another program, or a virtual port that a run of the suite made), 2 when it
// is not a character device. The descriptor is non-blocking; reads wait with
// poll(). Why a port that exists was passed over goes to reason (if given).
int OpenComPort(int n, int& fd, std::string* reason = nullptr);
// Gives up the exclusive hold and closes.
void CloseComPort(int fd);

// The keypads' line: speed baud, 8 data bits, no parity, one stop bit, no flow
// control of any kind, DTR off, RTS on, raw bytes. False when fd is no terminal.
bool ApplyLineSettings(int fd, int speed);

// Reads up to max bytes, waiting at most totalMs for all of them; returns the count.
int ReadWithin(int fd, unsigned char* buffer, int max, int totalMs);
// Writes all n bytes, waiting at most totalMs for room; returns the count written.
int WriteWithin(int fd, const unsigned char* bytes, int n, int totalMs);

} // namespace tessaron
