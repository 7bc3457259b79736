#include "ReceivedText.h"

#include "common/AsciiText.h"

#include <cstdio>

namespace tessaron {

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
        const int digit = HexDigitValue(c);
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
