#include "PackedFields.h"

#include "AdvancedClass.h"

#include <array>
#include <cstddef>

namespace tessaron {

namespace {

constexpr std::uint8_t SecondEncoding = 0x80;

// Bits 0 to 2 of the second word format layout: 0 none, 4 even, 5 odd,
// 6 space, 7 mark.
std::uint8_t parityBits(TParity parity)
{
    static constexpr std::array<std::uint8_t, 5> bits = {0, 5, 4, 7, 6}; // in TParity's order
    return bits[static_cast<std::size_t>(parity)];
}

TParity parityOf(std::uint8_t bits)
{
    if ((bits & 0x04) == 0) {
        return TParity::None;
    }
    static constexpr std::array<TParity, 4> kinds = {TParity::Even, TParity::Odd, TParity::Space,
                                                     TParity::Mark};
    return kinds[bits & 0x03];
}

std::uint8_t withLowBits(std::uint8_t value, std::uint8_t bits)
{
    return static_cast<std::uint8_t>((value & ~0x07) | bits);
}

bool isUserHostMode(THostMode host)
{
    return host == THostMode::Hid || host == THostMode::Rf || host == THostMode::Cdc;
}

} // namespace

THostMode UserHostMode(std::uint8_t operatingMode)
{
    const THostMode host = HostModeOf(operatingMode);
    return isUserHostMode(host) ? host : THostMode::AutoDetect;
}

std::uint8_t UserOperatingMode(bool lineEdit, bool masked, THostMode host)
{
    const int nibble = isUserHostMode(host) ? static_cast<int>(host) << 4 : 0;
    return static_cast<std::uint8_t>((lineEdit ? LineEditBit : 0) | (masked ? MaskedInputBit : 0) |
                                     nibble);
}

TKeypadMode KeypadModeOf(const TAdvancedParams& params)
{
    if (params.ScreenEnable != 0) {
        return TKeypadMode::Screen;
    }
    return IsLineEdit(params.Operating_Mode) ? TKeypadMode::LineEdit : TKeypadMode::TrueTerminal;
}

TWordFormat DecodeHostWordFormat(std::uint8_t value)
{
    if ((value & SecondEncoding) != 0) {
        return DecodeCardWordFormat(value);
    }
    TParity parity = TParity::None;
    if ((value & 0x02) != 0) {
        parity = (value & 0x04) != 0 ? TParity::Odd : TParity::Even;
    }
    return {(value & 0x08) != 0, (value & 0x01) != 0, parity};
}

std::uint8_t HostWithDataBits(std::uint8_t value, bool eight)
{
    return WithBit(value, (value & SecondEncoding) != 0 ? 0x10 : 0x08, eight);
}

std::uint8_t HostWithStopBits(std::uint8_t value, bool two)
{
    return WithBit(value, (value & SecondEncoding) != 0 ? 0x08 : 0x01, two);
}

std::uint8_t HostWithParity(std::uint8_t value, TParity parity)
{
    if ((value & SecondEncoding) != 0) {
        return withLowBits(value, parityBits(parity));
    }
    value = WithBit(value, 0x02, parity != TParity::None);
    return WithBit(value, 0x04, parity == TParity::Odd);
}

TWordFormat DecodeCardWordFormat(std::uint8_t value)
{
    return {(value & 0x10) != 0, (value & 0x08) != 0, parityOf(value)};
}

std::uint8_t CardWithParity(std::uint8_t value, TParity parity)
{
    return withLowBits(value, parityBits(parity));
}

int UserWordFormatEntry(std::uint8_t value)
{
    if ((value & 0x08) != 0) {
        return 0;
    }
    if ((value & 0x02) == 0) {
        return 1;
    }
    if ((value & 0x04) != 0) {
        return 2;
    }
    return 3;
}

std::uint8_t UserWordFormatValue(int entry)
{
    static constexpr std::array<std::uint8_t, UserWordFormatCount> values = {8, 0, 6, 2};
    return values[static_cast<std::size_t>(entry)];
}

std::uint8_t ScreenLedModes(std::uint8_t ledModes, TLeds leds)
{
    const TLeds kept = ScreenLedsOf(ledModes);
    const int green = leds.Green >= 0 ? leds.Green : kept.Green;
    const int red = leds.Red >= 0 ? leds.Red : kept.Red;
    return static_cast<std::uint8_t>(10 * green + red);
}

std::uint8_t DeviceTypeFor(int readerType)
{
    static constexpr std::array<std::uint8_t, 4> types = {0x00, 0x81, 0x81, WedgePassThru};
    return types[static_cast<std::size_t>(readerType)];
}

bool IsWedge(const TAdvancedParams& params)
{
    return params.CardReader_Type == ReaderWedge;
}

bool Packetized(const TAdvancedParams& params)
{
    return !IsWedge(params) || (params.DeviceType & 0x80) != 0;
}

} // namespace tessaron
