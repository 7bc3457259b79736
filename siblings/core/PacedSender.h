#pragma once

#include "Pacer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaron {

// Sends bytes to an open port one at a time, in order, pausing delayMs after
// each byte. A byte the port does not take within ByteTimeoutMs ends the send.
class TPacedSender
{
public:
    static constexpr int ByteTimeoutMs = 3000;

    struct Result
    {
        enum class Outcome
        {
            Sent,
            Cancelled,
            Failed,
        };
        Outcome Status = Outcome::Sent;
        int BytesSent = 0;
        std::string Error; // why it failed
    };

    TPacedSender(int fd, int delayMs, TPacer& pacer) : m_fd(fd), m_delayMs(delayMs), m_pacer(pacer)
    {
    }

    // progress, when given, holds the number of bytes sent so far (for another
    // thread to show).
    Result Send(const std::uint8_t* bytes, std::size_t n, std::atomic<int>* progress = nullptr);

    // Waits (at most timeoutMs) until the port has sent what it holds, so that
    // closing it loses nothing.
    static void Drain(int fd, int timeoutMs);

private:
    enum class Written
    {
        Yes,
        Cancelled,
        Failed, // error says why
    };
    Written writeByte(std::uint8_t byte, std::string& error);

    int m_fd;
    int m_delayMs;
    TPacer& m_pacer;
};

} // namespace tessaron
