#include "RomFile.h"

#include "GlobalParameters.h"
#include "KeySections.h"
#include "RomSections.h"

#include "common/FileVersion.h"
#include "common/IniFile.h"

namespace tessaron {

namespace {

std::string applVersion()
{
    const std::string version = OwnFileVersion();
    return version.empty() ? std::string("NA") : version.substr(0, 5);
}

} // namespace

bool ReadRomFile(TKeypadClass& keypad, TRomRecords& rom, const std::string& path,
                 TMessageSink* messages, std::string* refusal)
{
    const IniFile ini(path);
    if (refusal != nullptr) {
        *refusal = ini.readError();
    }
    if (!ini.existed()) {
        return false;
    }
    keypad.Reset();
    rom.SetRomDefaults();

    ReadGlobalParameters(ini, rom.AdvancedParams);
    ReadAdvancedSection(ini, rom.AdvancedParams, messages);

    for (int i = 0; i < ScreenCount; ++i) {
        ReadScreenSection(ini, i + 1, rom.ScreenData[static_cast<size_t>(i)],
                          rom.AdvancedParams.LcdSize);
    }

    // Decoded with the key table's own prefix, not that of AdvancedParams.
    ReadKeySections(ini, keypad);
    return true;
}

void WriteRomFile(const TKeypadClass& keypad, const TRomRecords& rom, const std::string& path)
{
    IniFile ini(path);
    WriteGlobalParameters(ini, rom.AdvancedParams, applVersion());
    WriteAdvancedSection(ini, rom.AdvancedParams);
    WriteKeySections(ini, keypad);
    for (int i = 0; i < ScreenCount; ++i) {
        WriteScreenSection(ini, i + 1, rom.ScreenData[static_cast<size_t>(i)],
                           rom.AdvancedParams.LcdSize);
    }
    ini.save(true);
}

} // namespace tessaron
