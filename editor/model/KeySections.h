#pragma once

#include "KeypadClass.h"

#include <string>
#include <string_view>

namespace tessaron {

class IniFile;

// The parts that the redefinition file and the ROM file share.

constexpr std::string_view GlobalSection = "GLOBAL_PARAMETERS";
constexpr std::string_view AdvancedSection = "ADVANCED_PARAMETERS";

// "KEY0" to "KEY19", "SCREEN1" to "SCREEN8".
std::string KeySectionName(int key);
std::string ScreenSectionName(int screen);

// The key number of a key section: the decimal number after the first three
// characters of its name; -1 when there is none or it is not a key 0..19.
int KeySectionNumber(std::string_view sectionName);

// Writes KEY0 to KEY19.
void WriteKeySections(IniFile& ini, const TKeypadClass& keypad);

// Reads every section that is not a parameter or screen section as a key
// section, in file order. Sections that name no key 0..19 are skipped.
void ReadKeySections(const IniFile& ini, TKeypadClass& keypad);

// A byte field keeps the low 8 bits of what was read.
std::uint8_t ReadByte(const IniFile& ini, std::string_view section, std::string_view key,
                      int defaultValue);
std::uint8_t ReadFlag(const IniFile& ini, std::string_view section, std::string_view key,
                      bool defaultValue);

// Key_Roll_Over is 1 or 2.
std::uint8_t ClampKeyRollOver(std::uint8_t value);

} // namespace tessaron
