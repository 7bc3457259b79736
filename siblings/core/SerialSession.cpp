#include "SerialSession.h"

#include "PortSurvey.h"

#include "portmgr/devices/SerialLine.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace tessaron {

bool TSerialSession::Open(int n, std::string& why)
{
    Close();
    int fd = -1;
    if (OpenPortForUse(n, fd, why) != 0) {
        return false;
    }
    m_fd = fd;
    m_port = n;
    return true;
}

void TSerialSession::Close()
{
    if (m_fd >= 0) {
        CloseComPort(m_fd);
    }
    m_fd = -1;
    m_port = 0;
}

int TSerialSession::Read(std::uint8_t* buffer, std::size_t size)
{
    if (m_fd < 0) {
        return -1;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n > 0) {
            return static_cast<int>(n);
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            return 0;
        }
        // A terminal in raw mode with VMIN 0 reads 0 both when nothing is there
        // and after a hang-up (a pseudo-terminal whose bridge went away, an
        // unplugged adapter); poll() tells them apart. EIO is a hang-up too.
        if (n == 0) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0) {
                return 0;
            }
        }
        Close();
        return -1;
    }
}

int TSerialSession::Write(const std::uint8_t* bytes, std::size_t n)
{
    if (m_fd < 0) {
        return 0;
    }
    return WriteWithin(m_fd, bytes, static_cast<int>(n), WriteTimeoutMs);
}

TReceivedText::Parts TReceivedText::Append(const std::uint8_t* bytes, std::size_t n)
{
    Parts out;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", b);
        if (m_total % 16 != 0) {
            out.Hex += ' ';
        } else if (m_total != 0) {
            out.Hex += '\n';
        }
        out.Hex += hex;
        ++m_total;

        if (b == '\n' && m_afterCr) {
            m_afterCr = false; // the LF of a CR LF: the line has ended already
            continue;
        }
        m_afterCr = b == '\r';
        if (b == '\r' || b == '\n') {
            out.Text += '\n';
        } else if (b == '\t' || (b >= 0x20 && b != 0x7F)) {
            out.Text += static_cast<char>(b);
        } else {
            out.Text += '<';
            out.Text += hex;
            out.Text += '>';
        }
    }
    return out;
}

bool ParseSendText(const std::string& text, bool hex, std::string& bytes, std::size_t& bad)
{
    bytes.clear();
    if (!hex) {
        bytes = text;
        return true;
    }
    int high = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == ',') {
            if (high >= 0) {
                bad = i;
                return false;
            }
            continue;
        }
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            bad = i;
            return false;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes += static_cast<char>(high * 16 + digit);
            high = -1;
        }
    }
    if (high >= 0) {
        bad = text.size();
        return false;
    }
    return true;
}

} // namespace tessaron
