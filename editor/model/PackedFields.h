#pragma once

// The parameter fields that pack several settings into one stored value, read
// and changed by their named parts. The "With" functions change one part and
// keep every other bit of the value.

#include <cstdint>

namespace tessaron {

struct TAdvancedParams;

constexpr bool HasBit(std::uint8_t value, std::uint8_t bit)
{
    return (value & bit) != 0;
}
constexpr std::uint8_t WithBit(std::uint8_t value, std::uint8_t bit, bool set)
{
    return static_cast<std::uint8_t>(set ? (value | bit) : (value & ~bit));
}

// --- The USB host mode: the high nibble of Operating_Mode in USER mode, the
// whole of HostType in the ROM properties.
enum class THostMode : std::uint8_t
{
    AutoDetect = 0, // RS-232, or the USB virtual COM port
    Rs232 = 1,
    UsbSerial = 2,
    Hid = 3, // the keypad types as a PC keyboard
    Ethernet = 4,
    Rf = 6,
    Cdc = 7,
};

// --- Operating_Mode: bit 0 Line Edit mode (else True Terminal), bit 1 user
// input masked, bits 4 to 7 the host mode.
constexpr std::uint8_t LineEditBit = 0x01;
constexpr std::uint8_t MaskedInputBit = 0x02;
constexpr bool IsLineEdit(std::uint8_t mode)
{
    return HasBit(mode, LineEditBit);
}
constexpr bool IsInputMasked(std::uint8_t mode)
{
    return HasBit(mode, MaskedInputBit);
}
constexpr THostMode HostModeOf(std::uint8_t mode)
{
    return static_cast<THostMode>(mode >> 4);
}
// The host modes the USER Properties dialog knows: HID, RF and CDC; any other
// is shown, and stored, as auto-detect.
THostMode UserHostMode(std::uint8_t operatingMode);
std::uint8_t UserOperatingMode(bool lineEdit, bool masked, THostMode host);

// The keypad's mode in the ROM properties: Automated Screen Mode (ScreenEnable)
// overrides the Line Edit bit, which stays for when screen mode is left.
enum class TKeypadMode
{
    TrueTerminal,
    LineEdit,
    Screen,
};
TKeypadMode KeypadModeOf(const TAdvancedParams& params);

// The green and the red LED's parts of a packed value.
struct TLeds
{
    int Green;
    int Red;
};

// --- LED_Function: the green LED's function in bits 4 and 5, the red LED's in
// bits 0 and 1. In USB HID host mode 1 and 2 are the Caps Lock and Num Lock
// indicators, and the red LED's 3 is the level indicator.
enum TLedFunction : int
{
    LedOff = 0,
    LedLevelIndicator = 1,
    LedHostControl = 2,
    LedPowerIndicator = 3,
};
constexpr TLeds LedFunctionsOf(std::uint8_t value)
{
    return {(value >> 4) & 3, value & 3};
}
constexpr std::uint8_t LedFunctionValue(TLeds f)
{
    return static_cast<std::uint8_t>(16 * f.Green + f.Red);
}

// --- CardReader_Tracks: bit 0 track 1, bit 1 track 2.
struct TTracks
{
    bool Track1;
    bool Track2;
};
constexpr TTracks TracksOf(std::uint8_t tracks)
{
    return {HasBit(tracks, 1), HasBit(tracks, 2)};
}
constexpr std::uint8_t WithTracks(std::uint8_t tracks, TTracks chosen)
{
    return WithBit(WithBit(tracks, 1, chosen.Track1), 2, chosen.Track2);
}

// --- Word_Format and CardWordFormat, the serial word formats.
//
// Word_Format has two encodings, chosen by bit 7 and never changed by the
// editor:
//   bit 7 clear: bit 3 = 8 data bits, bit 0 = 2 stop bits, bit 1 = parity on,
//                bit 2 = odd parity (the USER-mode encoding);
//   bit 7 set:   bit 4 = 8 data bits, bit 3 = 2 stop bits, bit 2 = parity on,
//                bits 0-1 = 0 even, 1 odd, 2 space, 3 mark.
// CardWordFormat uses the second layout's bits 0 to 4; bits 5 to 7 are kept.
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
constexpr std::uint8_t CardWithDataBits(std::uint8_t v, bool eight)
{
    return WithBit(v, 0x10, eight);
}
constexpr std::uint8_t CardWithStopBits(std::uint8_t v, bool two)
{
    return WithBit(v, 0x08, two);
}
std::uint8_t CardWithParity(std::uint8_t value, TParity parity);

// The USER Properties list "8,N,1", "7,N,1", "7,O,1", "7,E,1" stores 8, 0, 6, 2;
// a stored value shows the first entry whose test it passes: bit 3 set, bit 1
// clear, bit 2 set, otherwise.
constexpr int UserWordFormatCount = 4;
int UserWordFormatEntry(std::uint8_t value);
std::uint8_t UserWordFormatValue(int entry);

// --- LedModes of a screen: decimal, 10 x green + red, each LED 0 off, 1 on,
// 2 flashing.
constexpr TLeds ScreenLedsOf(std::uint8_t ledModes)
{
    return {ledModes / 10, ledModes % 10};
}
// A part given as -1 keeps what ledModes holds.
std::uint8_t ScreenLedModes(std::uint8_t ledModes, TLeds leds);

// --- One-bit options of the LCD: CursorStyle and ScrollWrap.
constexpr std::uint8_t CursorUnderline = 0x02;
constexpr std::uint8_t CursorBlock = 0x01;
constexpr std::uint8_t ScrollEnabled = 0x02;
constexpr std::uint8_t WrapEnabled = 0x01;

// --- The card reader: CardReader_Type and DeviceType, whose bit 7 says that
// the device sends packets.
enum TCardReaderType : std::uint8_t
{
    ReaderNone = 0,
    ReaderBarcode = 1,
    ReaderMagCard = 2,
    ReaderWedge = 3,
};
constexpr std::uint8_t WedgePassThru = 0x02;
constexpr std::uint8_t WedgePacketize = 0x82;
// The DeviceType that choosing a reader type stores: none, a barcode/RFID or
// magnetic card reader (0x81), an external wedge passing its data through.
std::uint8_t DeviceTypeFor(int readerType);
bool IsWedge(const TAdvancedParams& params);
// Every reader but a wedge passing its data through.
bool Packetized(const TAdvancedParams& params);

// --- ECR_Mode: flags, and the card field to pick in bits 0 to 3 (0 = field 1).
// Bits 16 to 31 carry nothing: clearing a flag or choosing a field drops them.
constexpr std::int32_t EcrEnabled = 0x8000;
constexpr std::int32_t EcrConcatenate = 0x0100;
constexpr std::int32_t EcrSuppressLZ = 0x0080;
constexpr std::int32_t EcrPrepend00 = 0x0040;
constexpr std::int32_t EcrTrack2 = 0x0010;
constexpr bool HasEcrFlag(std::int32_t mode, std::int32_t flag)
{
    return (mode & flag) != 0;
}
constexpr std::int32_t EcrWithFlag(std::int32_t mode, std::int32_t flag, bool set)
{
    return set ? (mode | flag) : (mode & ~flag & 0xFFFF);
}
constexpr int EcrFieldOf(std::int32_t mode)
{
    return mode & 0x0F;
}
constexpr std::int32_t EcrWithField(std::int32_t mode, int field)
{
    return (mode & ~0x0F & 0xFFFF) | field;
}

} // namespace tessaron
