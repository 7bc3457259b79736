#pragma once

#include "AdvancedClass.h"
#include "MessageSink.h"
#include "RecordField.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaron {

class IniFile;

// The ROM file's sections of the ROM properties ("ADVANCED_PARAMETERS") and
// of each screen ("SCREEN1" to "SCREEN8"): one table each, in the order the
// writer writes the keys. A new field is one row here (and its member in
// AdvancedClass.h); defaults, reader, writer and `tessaron show` follow.
constexpr int AdvancedFieldCount = 29;
extern const TSectionFields<TAdvancedParams, AdvancedFieldCount> AdvancedFields;
constexpr int ScreenFieldCount = 20;
extern const TSectionFields<TScreenDataRec, ScreenFieldCount> ScreenFields;

// "ADVANCED_PARAMETERS" from and into AdvancedParams; LcdSize shapes the
// texts. An over-long ECR_String is cut to 8 characters and reported through
// messages (which may be null).
void WriteAdvancedSection(IniFile& ini, const TAdvancedParams& params);
void ReadAdvancedSection(const IniFile& ini, TAdvancedParams& params, TMessageSink* messages);
// "SCREENn", n = 1..8; a one-line LCD (lcdSize 16) has no second line.
void WriteScreenSection(IniFile& ini, int number, const TScreenDataRec& screen,
                        std::uint8_t lcdSize);
void ReadScreenSection(const IniFile& ini, int number, TScreenDataRec& screen,
                       std::uint8_t lcdSize);

// Pads the LCD texts of AdvancedParams and ScreenData to 16 characters and
// empties the second lines of a one-line LCD (LcdSize 16).
void FitLcdTexts(TRomRecords& rom);

// A field of the ROM properties with its key, in the GLOBAL or the ADVANCED
// section.
struct TRomProperty
{
    std::string_view Key;
    TFieldKind Kind;
    TRecordField<TAdvancedParams> Field;
};
constexpr int RomPropertyCount = 50;
// Every field of the ROM properties, in the order the record declares them.
std::array<TRomProperty, RomPropertyCount> RomPropertiesInRecordOrder();

} // namespace tessaron
