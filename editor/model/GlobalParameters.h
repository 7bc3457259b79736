#pragma once

#include "AdvancedClass.h"
#include "KeypadClass.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaron {

class IniFile;

// A parameter field of one record: a byte or a 32-bit integer member, or none.
template <class Record>
class TParamField
{
public:
    constexpr TParamField() = default;
    constexpr TParamField(std::uint8_t Record::*byte) : m_byte(byte) {}
    constexpr TParamField(std::int32_t Record::*integer) : m_integer(integer) {}

    constexpr bool Exists() const { return m_byte != nullptr || m_integer != nullptr; }
    int Get(const Record& record) const
    {
        return m_byte != nullptr ? record.*m_byte : record.*m_integer;
    }
    // A byte field keeps the low 8 bits.
    void Set(Record& record, int value) const
    {
        if (m_byte != nullptr) {
            record.*m_byte = static_cast<std::uint8_t>(value);
        } else {
            record.*m_integer = value;
        }
    }

private:
    std::uint8_t Record::*m_byte = nullptr;
    std::int32_t Record::*m_integer = nullptr;
};

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
// the ROM file share: where its value lives in the key table (User) and in
// the ROM properties (Rom), and what a missing or unreadable key reads as.
struct TGlobalParameter
{
    std::string_view Key;
    TGlobalValue Value;
    std::uint8_t Files;
    int Default;
    TParamField<TKeypadClass> User;
    TParamField<TAdvancedParams> Rom;
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

// The key table's USER-mode parameters, in table order.
constexpr int UserParameterCount = 24;
using TUserParameters = std::array<int, UserParameterCount>;
TUserParameters UserParametersOf(const TKeypadClass& keypad);
void SetUserParameters(TKeypadClass& keypad, const TUserParameters& values);

} // namespace tessaron
