#pragma once

#include <cstdint>
#include <string>

namespace tessaron {

// "Plindorax.ini", section [CONFIGURATION]: the editor's own settings.
struct TEditorSettings
{
    int KeypadLayout = 2; // 2 = 20 keys (model 510), 1 = 12 keys (model 514)
    bool RomEditMode = false;
    std::uint8_t MidiChannel = 1;
};

// "Plindorax.ini" in the suite folder.
std::string EditorSettingsPath();

// Only the low 8 bits count; then 0 becomes 1 and anything above 16 becomes 16.
std::uint8_t ClampMidiChannel(int value);

// The defaults when the file does not exist.
TEditorSettings ReadEditorSettings(const std::string& path);

// Each writes one key, creating the file when needed; FileWriteError on failure.
void WriteKeypadLayout(const std::string& path, int keypadLayout);
void WriteMidiChannel(const std::string& path, int midiChannel);

} // namespace tessaron
