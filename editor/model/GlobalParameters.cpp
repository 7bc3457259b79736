#include "GlobalParameters.h"

#include "KeySections.h"

#include "common/IniFile.h"

#include <algorithm>
#include <type_traits>

namespace tessaron {

namespace {

using K = TKeypadClass;
using A = TAdvancedParams;
using V = TGlobalValue;
constexpr std::uint8_t Both = InRedefinitionFile | InRomFile;

} // namespace

// clang-format off
constexpr std::array<TGlobalParameter, GlobalParameterCount> GlobalParameters = {{
    // Key, value, files, default, new in USER mode, new in ROM Edit mode, fields.
    {"MODEL_NUMBER", V::ModelNumber, Both, 0, 0, 0, {}, {}},
    {"APPL_VERSION", V::ApplVersion, InRomFile, 0, 0, 0, {}, {}},
    {"DOWNLOAD_DELAY", V::Integer, Both, 0, 0, 0, &K::DOWNLOAD_DELAY, &A::DOWNLOAD_DELAY},
    {"MACRO_LENGTH", V::Constant, Both, 200, 0, 0, {}, {}},
    {"LEVEL1_LENGTH", V::Constant, Both, 100, 0, 0, {}, {}},
    {"Key_Roll_Over", V::Integer, Both, 2, 2, 2, &K::Key_Roll_Over, &A::Key_Roll_Over},
    {"Key_Click", V::Integer, Both, 20, 40, 40, &K::Key_Click, &A::Key_Click},
    {"Character_Pacing", V::Integer, Both, 2, 2, 0, &K::Character_Pacing, &A::Character_Pacing},
    {"LED_Function", V::Integer, Both, 49, 49, 31, &K::LED_Function, &A::LED_Function},
    {"Baud_Rate", V::Integer, Both, 3, 3, 3, &K::Baud_Rate, &A::Baud_Rate},
    {"Word_Format", V::Integer, Both, 8, 8, 8, &K::Word_Format, &A::Word_Format},
    // Read before any code list: decoding depends on it.
    {"Command_Prefix", V::Integer, Both, 64, 64, 64, &K::Command_Prefix, &A::Command_Prefix},
    {"Xon_Character", V::Integer, Both, 17, 0, 0, &K::Xon_Character, &A::Xon_Character},
    {"Xoff_Character", V::Integer, Both, 19, 0, 0, &K::Xoff_Character, &A::Xoff_Character},
    {"Operating_Mode", V::Integer, Both, 1, 1, 1, &K::Operating_Mode, &A::Operating_Mode},
    {"LineEdit_TailCharacter", V::Integer, Both, 13, 13, 13, &K::LineEdit_TailCharacter, &A::LineEdit_TailCharacter},
    {"CardReader_Type", V::Integer, Both, 1, 1, 1, &K::CardReader_Type, &A::CardReader_Type},
    {"CardReader_StartCharacter", V::Integer, Both, 9, 9, 0, &K::CardReader_StartCharacter, &A::CardReader_StartCharacter},
    {"CardReader_StartCharacterEnable", V::Flag, Both, 0, 0, 0, &K::CardReader_StartCharacterEnable, &A::CardReader_StartCharacter},
    {"CardReader_EndCharacter", V::Integer, Both, 13, 13, 13, &K::CardReader_EndCharacter, &A::CardReader_EndCharacter},
    {"CardReader_EndCharacterEnable", V::Flag, Both, 1, 1, 0, &K::CardReader_EndCharacterEnable, &A::CardReader_EndCharacter},
    {"CardReader_Tracks", V::Integer, Both, 3, 3, 3, &K::CardReader_Tracks, &A::CardReader_Tracks},
    {"CardReader_StartSentinel", V::Integer, Both, 0, 0, 0, &K::CardReader_StartSentinel, &A::CardReader_StartSentinel},
    {"CardReader_EndSentinel", V::Integer, Both, 13, 13, 13, &K::CardReader_EndSentinel, &A::CardReader_EndSentinel},
    {"CardReader_FieldSeparator", V::Integer, Both, 9, 9, 9, &K::CardReader_FieldSeparator, &A::CardReader_FieldSeparator},
    {"CardReader_BadSwipe", V::Integer, Both, 33, 0, 0, &K::CardReader_BadSwipe, &A::CardReader_BadSwipe},
    {"RF_Keypad_ID", V::Integer, InRedefinitionFile, 0, 0, 0, &K::RF_Keypad_ID, {}},
    {"CDC_Serial_No", V::Integer, Both, 1, 1, 1, &K::CDC_Serial_No, &A::CDC_Serial_No},
}};
// clang-format on

static_assert(std::count_if(GlobalParameters.begin(), GlobalParameters.end(),
                            [](const TGlobalParameter& p) { return p.User.Exists(); }) ==
              UserParameterCount);

namespace {

template <class Record>
const TRecordField<Record>& fieldOf(const TGlobalParameter& p)
{
    if constexpr (std::is_same_v<Record, TKeypadClass>) {
        return p.User;
    } else {
        return p.Rom;
    }
}

template <class Record>
void writeGlobal(IniFile& ini, const Record& record, std::uint8_t file,
                 std::string_view applVersion)
{
    for (const TGlobalParameter& p : GlobalParameters) {
        if ((p.Files & file) == 0) {
            continue;
        }
        switch (p.Value) {
        case V::ModelNumber:
            ini.writeString(GlobalSection, p.Key, "Plindorax");
            break;
        case V::ApplVersion:
            ini.writeString(GlobalSection, p.Key, applVersion);
            break;
        case V::Constant:
            ini.writeInt(GlobalSection, p.Key, p.Default);
            break;
        case V::Integer:
            ini.writeInt(GlobalSection, p.Key, fieldOf<Record>(p).Get(record));
            break;
        case V::Flag:
            ini.writeBool(GlobalSection, p.Key, fieldOf<Record>(p).Get(record) != 0);
            break;
        }
    }
}

template <class Record>
void readGlobal(const IniFile& ini, Record& record, std::uint8_t file)
{
    for (const TGlobalParameter& p : GlobalParameters) {
        if ((p.Files & file) == 0) {
            continue;
        }
        if (p.Value == V::Integer) {
            fieldOf<Record>(p).Set(record, ini.readInt(GlobalSection, p.Key, p.Default));
        } else if (p.Value == V::Flag && file == InRedefinitionFile) {
            // The ROM file's flags only mirror their characters.
            fieldOf<Record>(p).Set(record, ini.readBool(GlobalSection, p.Key, p.Default != 0));
        }
    }
    record.Key_Roll_Over = ClampKeyRollOver(record.Key_Roll_Over);
}

// A ROM flag only mirrors its character: it has no field of its own.
bool hasOwnField(const TGlobalParameter& p, const TKeypadClass&)
{
    return p.User.Exists();
}

bool hasOwnField(const TGlobalParameter& p, const TAdvancedParams&)
{
    return p.Value == V::Integer && p.Rom.Exists();
}

template <class Record>
void setDefaults(Record& record, int TGlobalParameter::*value)
{
    for (const TGlobalParameter& p : GlobalParameters) {
        if (hasOwnField(p, record)) {
            fieldOf<Record>(p).Set(record, p.*value);
        }
    }
}

} // namespace

void SetNewGlobalParameters(TKeypadClass& keypad)
{
    setDefaults(keypad, &TGlobalParameter::UserNew);
}

void SetGlobalParameterDefaults(TAdvancedParams& params, bool fileDefaults)
{
    setDefaults(params, fileDefaults ? &TGlobalParameter::Default : &TGlobalParameter::RomNew);
}

void WriteGlobalParameters(IniFile& ini, const TKeypadClass& keypad)
{
    writeGlobal(ini, keypad, InRedefinitionFile, {});
}

void ReadGlobalParameters(const IniFile& ini, TKeypadClass& keypad)
{
    readGlobal(ini, keypad, InRedefinitionFile);
    if (keypad.CDC_Serial_No > 9999) {
        keypad.CDC_Serial_No = 9999;
    }
}

void WriteGlobalParameters(IniFile& ini, const TAdvancedParams& params,
                           std::string_view applVersion)
{
    writeGlobal(ini, params, InRomFile, applVersion);
}

void ReadGlobalParameters(const IniFile& ini, TAdvancedParams& params)
{
    readGlobal(ini, params, InRomFile);
}

TUserParameters UserParametersOf(const TKeypadClass& keypad)
{
    TUserParameters values{};
    size_t i = 0;
    for (const TGlobalParameter& p : GlobalParameters) {
        if (p.User.Exists()) {
            values[i++] = p.User.Get(keypad);
        }
    }
    return values;
}

void SetUserParameters(TKeypadClass& keypad, const TUserParameters& values)
{
    size_t i = 0;
    for (const TGlobalParameter& p : GlobalParameters) {
        if (p.User.Exists()) {
            p.User.Set(keypad, values[i++]);
        }
    }
}

} // namespace tessaron
