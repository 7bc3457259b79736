#pragma once

#include <array>
#include <cstdint>

namespace tessaron::download {

// The byte stream of a download image, shared by its writer (DownloadImage.cpp)
// and by everything that reads one back: the loader checks an image with it and
// the simulated keypads decode what they receive.
//
// Parameter record: 28 bytes, indexed by ParameterByte. Then one key record per
// key 0 to 19: prefix, KeyRecord, k, level 2 flags, level 1 flags, k, the level 1
// block, the level 2 block. A block starts with a count c followed by exactly c
// bytes: c = 0 for an empty macro; c = n + 1 for n < 100 macro bytes (the last of
// the c bytes is a terminating 0); c = n for n = 100 (no terminator).

constexpr std::uint8_t ParameterRecord = 1;
constexpr std::uint8_t KeyRecord = 2;
constexpr int ParameterRecordLength = 28;
constexpr int ParameterCount = ParameterRecordLength - 3; // the count byte's value
constexpr std::uint8_t MacroLength = 200;                 // MACRO_LENGTH of the redefinition file
constexpr std::uint8_t Level1Length = 100;                // LEVEL1_LENGTH
constexpr int KeyRecordHeadLength = 6;
constexpr int Keys = 20;
constexpr int MaxBlockBytes = 100; // the count of a full macro; nothing longer is sent

constexpr std::uint8_t NoKey = 128;            // no Level Toggle or Level Shift key
constexpr std::uint8_t NoAlphaToggleKey = 255; // no Alpha Toggle key

// Level flags.
constexpr std::uint8_t LevelUsed = 1;
constexpr std::uint8_t LevelAutoRepeat = 2;
constexpr std::uint8_t LevelSendLineEditKeyASAP = 4;

enum ParameterByte : int
{
    PrefixByte,
    KindByte,
    CountByte,
    MacroLengthByte,
    Level1LengthByte,
    LevelToggleKey1,
    LevelToggleKey2,
    LevelShiftKey1,
    LevelShiftKey2,
    KeyRollOverByte,
    KeyClickByte,        // Key_Click / 2
    CharacterPacingByte, // Character_Pacing / 2
    LedFunctionByte,
    BaudRateByte,
    WordFormatByte,
    CommandPrefixByte,
    XonByte,
    XoffByte,
    OperatingModeByte, // Operating_Mode + 4 x CardReader_Tracks
    LineEditTailByte,
    CardStartByte, // start sentinel (magnetic card) or start character
    CardEndByte,   // end sentinel or end character
    CardFieldSeparatorByte,
    CardBadSwipeByte,
    AlphaToggleKey,
    RfKeypadIdByte,
    CdcSerialHighByte, // CDC_Serial_No thousands and hundreds, BCD
    CdcSerialLowByte,  // tens and units, BCD
};

// What each parameter byte holds, in the document's field names.
extern const std::array<const char*, ParameterRecordLength> ParameterByteNames;

} // namespace tessaron::download
