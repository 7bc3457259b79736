#pragma once

#include "KeypadClass.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// A macro (or some of its items) as plain text, for the clipboard: readable,
// and pasted into any document or any other instance of the editor, or sent
// to a colleague. The codes are the macro text form with the prefix they were
// written with, so a document with another prefix decodes them correctly:
//
//   [Tessaron Macro]
//   Name=Login
//   AutoRepeat=0
//   SendLineEditKeyASAP=0
//   Command_Prefix=64
//   Codes=7573657209400132
struct TMacroClip
{
    std::vector<std::int32_t> Items;
    std::string Name;
    std::uint8_t AutoRepeat = 0;
    std::uint8_t SendLineEditKeyASAP = 0;

    // The text form, lines ended with LF.
    std::string Text(std::uint8_t commandPrefix) const;
    // Empty when the text is not such a macro: no such section, no codes, or
    // codes that are not a well-formed text form.
    static std::optional<TMacroClip> Parse(std::string_view text);
};

} // namespace tessaron
