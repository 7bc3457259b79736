#pragma once

#include "portmgr/io/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaron {

// Qex's hold on one port: opened with OpenPortForUse (9600 8N1, raw, never a
// port that another program holds), read without blocking when poll() or a
// notifier says so, written with a time limit.
class TSerialSession
{
public:
    TSerialSession() = default;
    ~TSerialSession() { Close(); }
    TSerialSession(const TSerialSession&) = delete;
    TSerialSession& operator=(const TSerialSession&) = delete;

    // Opens COMn (closing any port held before); false with why set.
    bool Open(int n, std::string& why);
    void Close();
    bool IsOpen() const { return m_line.IsOpen(); }
    int Port() const { return m_port; }
    int Fd() const { return m_line.Fd(); }

    // What is there now: the byte count (0 when nothing), or -1 when the port
    // has gone (device unplugged, bridge stopped); the port is then closed.
    int Read(std::uint8_t* buffer, std::size_t size);
    // Writes all bytes within WriteTimeoutMs; the count written.
    int Write(const std::uint8_t* bytes, std::size_t n);

    static constexpr int WriteTimeoutMs = 2000;

private:
    TSerialPort m_line;
    int m_port = 0;
};

} // namespace tessaron
