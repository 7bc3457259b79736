#include "MacroClip.h"

#include "common/IniFile.h"

namespace tessaron {

namespace {

constexpr std::string_view ClipSection = "Tessaron Macro";

// A value on one line, as the profile layer reads it back.
std::string oneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

} // namespace

std::string TMacroClip::Text(std::uint8_t commandPrefix) const
{
    TMacroData macro;
    macro.Items.fill(MacroEnd);
    for (size_t i = 0; i < Items.size() && i + 1 < macro.Items.size(); ++i) {
        macro.Items[i] = Items[i];
    }
    std::string text = "[" + std::string(ClipSection) + "]\n";
    text += "Name=" + oneLine(Name) + "\n";
    text += "AutoRepeat=" + std::to_string(AutoRepeat != 0 ? 1 : 0) + "\n";
    text += "SendLineEditKeyASAP=" + std::to_string(SendLineEditKeyASAP != 0 ? 1 : 0) + "\n";
    text += "Command_Prefix=" + std::to_string(commandPrefix) + "\n";
    text += "Codes=" + MacroTextOf(macro, commandPrefix) + "\n";
    return text;
}

std::optional<TMacroClip> TMacroClip::Parse(std::string_view text)
{
    const IniFile ini = IniFile::fromText(text);
    const auto codes = ini.value(ClipSection, "Codes");
    if (!codes) {
        return std::nullopt;
    }
    const int prefix = ini.readInt(ClipSection, "Command_Prefix", 64);
    if (prefix < 0 || prefix > 255) {
        return std::nullopt;
    }
    TDecodedMacro decoded = DecodeMacroText(*codes, static_cast<std::uint8_t>(prefix));
    if (!decoded.WellFormed) {
        return std::nullopt;
    }
    TMacroClip clip;
    clip.Items = std::move(decoded.Items);
    clip.Name = ini.readString(ClipSection, "Name", "");
    clip.AutoRepeat = ini.readBool(ClipSection, "AutoRepeat", false) ? 1 : 0;
    clip.SendLineEditKeyASAP = ini.readBool(ClipSection, "SendLineEditKeyASAP", false) ? 1 : 0;
    return clip;
}

} // namespace tessaron
