#pragma once

#include "AdvancedClass.h"
#include "KeypadClass.h"
#include "MessageSink.h"

#include <string>

namespace tessaron {

// The ROM file (.rom) of ROM Edit mode: the key table, AdvancedParams and the
// eight ScreenData. Reader and writer behave as those of the redefinition file
// (RedefinitionFile.h). The reader reports an over-long ECR_String through
// messages (which may be null). The writer writes the LCD texts as FitLcdTexts
// (RomSections.h) leaves them; the document's Save fits them in place first.
bool ReadRomFile(TKeypadClass& keypad, TRomRecords& rom, const std::string& path,
                 TMessageSink* messages, std::string* refusal = nullptr);
void WriteRomFile(const TKeypadClass& keypad, const TRomRecords& rom, const std::string& path);

} // namespace tessaron
