#include "KeySections.h"

#include "AdvancedClass.h"

#include "common/AsciiText.h"
#include "common/IniFile.h"

namespace tessaron {

namespace {

bool isParameterOrScreenSection(std::string_view name)
{
    if (EqualsIgnoreCase(name, GlobalSection) || EqualsIgnoreCase(name, AdvancedSection)) {
        return true;
    }
    for (int screen = 1; screen <= ScreenCount; ++screen) {
        if (EqualsIgnoreCase(name, ScreenSectionName(screen))) {
            return true;
        }
    }
    return false;
}

void readLevel(const IniFile& ini, const std::string& section, TKeypadClass& keypad, int key,
               int level)
{
    const std::string n = std::to_string(level + 1);
    keypad.SetAutoRepeat(key, level, ReadFlag(ini, section, "L" + n + "_AutoRepeat", false));
    keypad.SetSendLineEditKeyASAP(key, level,
                                  ReadFlag(ini, section, "L" + n + "_SendLineEditKeyASAP", false));
    // A key named by two sections takes the codes of the later one.
    keypad.ClearMacro(key, level);
    keypad.AppendMacroText(key, level, ini.readString(section, "LEVEL_" + n + "_CODES", ""));
    keypad.SetMacroName(key, level, ini.readString(section, "Level_" + n + "_Name", ""));
}

void writeLevel(IniFile& ini, const std::string& section, const TKeypadClass& keypad, int key,
                int level)
{
    const std::string n = std::to_string(level + 1);
    const TMacroData& macro = keypad.Macro(key, level);
    ini.writeBool(section, "L" + n + "_AutoRepeat", macro.AutoRepeat != 0);
    ini.writeBool(section, "L" + n + "_SendLineEditKeyASAP", macro.SendLineEditKeyASAP != 0);
    ini.writeString(section, "Level_" + n + "_Codes", keypad.MacroText(key, level));
    ini.writeString(section, "Level_" + n + "_Name", macro.MacroName);
}

} // namespace

std::string KeySectionName(int key)
{
    return "KEY" + std::to_string(key);
}

std::string ScreenSectionName(int screen)
{
    return "SCREEN" + std::to_string(screen);
}

int KeySectionNumber(std::string_view name)
{
    if (name.size() < 4) {
        return -1;
    }
    std::string_view digits = name.substr(3);
    while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t')) {
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        return -1;
    }
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        number = number * 10 + (c - '0');
        if (number >= MaxKeys) {
            return -1;
        }
    }
    return number;
}

void WriteKeySections(IniFile& ini, const TKeypadClass& keypad)
{
    for (int k = 0; k < MaxKeys; ++k) {
        const std::string section = KeySectionName(k);
        ini.writeInt(section, "KeyType", keypad.Keys(k).KeyType & 0x7F);
        writeLevel(ini, section, keypad, k, 0);
        writeLevel(ini, section, keypad, k, 1);
    }
}

void ReadKeySections(const IniFile& ini, TKeypadClass& keypad)
{
    for (const std::string& section : ini.sectionNames()) {
        if (isParameterOrScreenSection(section)) {
            continue;
        }
        const int number = KeySectionNumber(section);
        if (number < 0) {
            continue;
        }
        keypad.SetKeyType(number, ReadByte(ini, section, "KeyType", 0));
        readLevel(ini, section, keypad, number, 0);
        readLevel(ini, section, keypad, number, 1);
    }
}

std::uint8_t ReadByte(const IniFile& ini, std::string_view section, std::string_view key,
                      int defaultValue)
{
    return static_cast<std::uint8_t>(ini.readInt(section, key, defaultValue));
}

std::uint8_t ReadFlag(const IniFile& ini, std::string_view section, std::string_view key,
                      bool defaultValue)
{
    return ini.readBool(section, key, defaultValue) ? 1 : 0;
}

std::uint8_t ClampKeyRollOver(std::uint8_t value)
{
    if (value > 2) {
        return 2;
    }
    return value == 0 ? 1 : value;
}

} // namespace tessaron
