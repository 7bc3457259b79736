#pragma once

#include "UucpLock.h"

#include "portmgr/io/OpenPort.h"

#include <termios.h>

namespace tessaron {

// A serial port opened by OpenComPort (see SerialLine.h), with what it found
// and took at open: the line settings and modem lines, given back when it is
// closed, and its UUCP lock, removed then. Closing also gives up the
// exclusive mode. One thread at a time.
class TSerialPort : public TOpenPort
{
public:
    TSerialPort() = default;
    ~TSerialPort() override { Close(); }
    TSerialPort(TSerialPort&& other) noexcept;
    TSerialPort& operator=(TSerialPort&& other) noexcept;
    TSerialPort(const TSerialPort&) = delete;
    TSerialPort& operator=(const TSerialPort&) = delete;

    int Fd() const override { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

    // Takes fd, open on a terminal, and lock (the device's UUCP lock, or none),
    // and notes the terminal's line settings and modem lines as they are now.
    // False when fd is no terminal: it is closed at once and the lock let go,
    // before anything was written to it.
    bool Take(int fd, TUucpLock lock);
    // Puts back the line settings and modem lines noted at Take, gives up the
    // exclusive mode, closes the descriptor and removes the UUCP lock.
    // Harmless when closed.
    void Close();

    // How long Close waits for bytes still on their way out before it puts
    // the old line settings back (they would go out at the old speed).
    static constexpr int kDrainMs = 100;

private:
    int m_fd = -1;
    termios m_line{};
    int m_modem = 0;
    bool m_modemKnown = false;
    TUucpLock m_lock;
};

} // namespace tessaron
