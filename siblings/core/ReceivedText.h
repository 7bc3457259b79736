#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaron {

// What arrived, for the two views: text (Latin-1; CR, LF and CR LF end a line;
// tab as is; other control bytes as <XX>) and hex (two digits a byte, sixteen
// to a line). Keeps the state between reads so that a pair or a line split
// over two reads comes out whole.
class TReceivedText
{
public:
    struct Parts
    {
        std::string Text; // Latin-1 bytes
        std::string Hex;
    };

    Parts Append(const std::uint8_t* bytes, std::size_t n);
    void Clear() { *this = TReceivedText(); }
    std::size_t Total() const { return m_total; }

private:
    bool m_afterCr = false;
    std::size_t m_total = 0;
};

// Bytes to send from what the user typed: the text as Latin-1, or, in hex
// mode, pairs of hexadecimal digits (blanks between them are allowed). False
// with the offending position in bad when a hex text is not that.
bool ParseSendText(const std::string& text, bool hex, std::string& bytes, std::size_t& bad);

} // namespace tessaron
