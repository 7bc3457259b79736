#include "EditorSettings.h"

#include "common/AtomicFile.h"
#include "common/IniFile.h"
#include "common/SuiteFolder.h"

namespace tessaron {

namespace {

constexpr const char* Section = "CONFIGURATION";

} // namespace

std::string EditorSettingsPath()
{
    return SuitePath("Plindorax.ini");
}

std::uint8_t ClampMidiChannel(int value)
{
    const auto low = static_cast<std::uint8_t>(value & 0xFF);
    if (low == 0) {
        return 1;
    }
    return low > 16 ? 16 : low;
}

TEditorSettings ReadEditorSettings(const std::string& path)
{
    TEditorSettings settings;
    if (!FileExists(path)) {
        return settings;
    }
    const IniFile ini(path);
    settings.KeypadLayout = ini.readInt(Section, "Keypad_Layout", 2);
    settings.RomEditMode = ini.readBool(Section, "Advanced_Enable", false);
    settings.MidiChannel = ClampMidiChannel(ini.readInt(Section, "MIDI_Channel", 1));
    return settings;
}

void WriteKeypadLayout(const std::string& path, int keypadLayout)
{
    IniFile ini(path);
    ini.writeInt(Section, "Keypad_Layout", keypadLayout);
    ini.save(true);
}

void WriteMidiChannel(const std::string& path, int midiChannel)
{
    IniFile ini(path);
    ini.writeInt(Section, "MIDI_Channel", midiChannel);
    ini.save(true);
}

} // namespace tessaron
