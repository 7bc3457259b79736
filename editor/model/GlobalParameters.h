#pragma once

#include "AdvancedClass.h"
#include "KeypadClass.h"
#include "RecordField.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaron {

class IniFile;

enum class TGlobalValue : std::uint8_t
{
    ModelNumber, // the fixed text "Plindorax", never read
    ApplVersion, // the editor's version, never read
    Constant,    // Default is written, never read
    Integer,
    Flag, // "1" or "0"; in the ROM file 1 when the Rom field is not 0, never read
};

enum : std::uint8_t
{
    InRedefinitionFile = 1,
    InRomFile = 2,
};

// One key of the "GLOBAL_PARAMETERS" section that the redefinition file and
// the ROM file share: what a missing or unreadable key reads as (Default),
// the value of a new document in USER mode and in ROM Edit mode, and where
// the value lives in the key table (User) and in the ROM properties (Rom).
struct TGlobalParameter
{
    std::string_view Key;
    TGlobalValue Value;
    std::uint8_t Files;
    int Default;
    int UserNew;
    int RomNew;
    TRecordField<TKeypadClass> User;
    TRecordField<TAdvancedParams> Rom;
};

constexpr int GlobalParameterCount = 28;
// In the order the writers write them.
extern const std::array<TGlobalParameter, GlobalParameterCount> GlobalParameters;

// "GLOBAL_PARAMETERS" of the redefinition file, from and into the key table.
void WriteGlobalParameters(IniFile& ini, const TKeypadClass& keypad);
void ReadGlobalParameters(const IniFile& ini, TKeypadClass& keypad);
// "GLOBAL_PARAMETERS" of the ROM file, from and into AdvancedParams.
void WriteGlobalParameters(IniFile& ini, const TAdvancedParams& params,
                           std::string_view applVersion);
void ReadGlobalParameters(const IniFile& ini, TAdvancedParams& params);

// The key table's USER-mode parameters as in a new document; the ROM
// properties' fields of this section as in a new document, or as a file
// without them reads them.
void SetNewGlobalParameters(TKeypadClass& keypad);
void SetGlobalParameterDefaults(TAdvancedParams& params, bool fileDefaults);

// The key table's USER-mode parameters, in table order.
constexpr int UserParameterCount = 24;
using TUserParameters = std::array<int, UserParameterCount>;
TUserParameters UserParametersOf(const TKeypadClass& keypad);
void SetUserParameters(TKeypadClass& keypad, const TUserParameters& values);

} // namespace tessaron
