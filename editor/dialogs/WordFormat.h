#pragma once

// The serial word formats that the property dialogs edit, as plain functions
// over the stored bytes.
//
// Word_Format has two encodings, chosen by bit 7 and never changed by the
// dialogs:
//   bit 7 clear: bit 3 = 8 data bits, bit 0 = 2 stop bits, bit 1 = parity on,
//                bit 2 = odd parity (the USER-mode encoding);
//   bit 7 set:   bit 4 = 8 data bits, bit 3 = 2 stop bits, bit 2 = parity on,
//                bits 0-1 = 0 even, 1 odd, 2 space, 3 mark.
// CardWordFormat uses the second layout's bits 0 to 4; bits 5 to 7 are kept.

#include <cstdint>

namespace tessaron {

enum class TParity
{
    None,
    Odd,
    Even,
    Mark,
    Space,
};

struct TWordFormat
{
    bool EightDataBits;
    bool TwoStopBits;
    TParity Parity;
};

TWordFormat DecodeHostWordFormat(std::uint8_t value);
std::uint8_t HostWithDataBits(std::uint8_t value, bool eight);
std::uint8_t HostWithStopBits(std::uint8_t value, bool two);
// None, Odd or Even: mark and space can only be shown, not chosen.
std::uint8_t HostWithParity(std::uint8_t value, TParity parity);

TWordFormat DecodeCardWordFormat(std::uint8_t value);
std::uint8_t CardWithDataBits(std::uint8_t value, bool eight);
std::uint8_t CardWithStopBits(std::uint8_t value, bool two);
std::uint8_t CardWithParity(std::uint8_t value, TParity parity);

// The USER Properties list "8,N,1", "7,N,1", "7,O,1", "7,E,1" stores 8, 0, 6, 2;
// a stored value shows the first entry whose test it passes: bit 3 set, bit 1
// clear, bit 2 set, otherwise.
constexpr int UserWordFormatCount = 4;
int UserWordFormatEntry(std::uint8_t value);
std::uint8_t UserWordFormatValue(int entry);

} // namespace tessaron
