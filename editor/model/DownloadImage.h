#pragma once

#include "KeypadClass.h"

#include <string>

namespace tessaron {

// The download image's text: one byte per line, as "XX" and CR LF.
std::string DownloadImageText(const TKeypadClass& keypad);

// The download image (.hex) written after every USER-mode save; then the
// loader's DownloadDelay is updated in loaderSettingsPath ("Tavrix.ini").
// Raises FileWriteError (common/FileWriteError.h) when the image cannot be
// written.
void WriteDownloadImage(const TKeypadClass& keypad, const std::string& path,
                        const std::string& loaderSettingsPath);

// The download image's name for a document: the last three characters of the
// path replaced by "hex" (keys.ckd gives keys.hex, keys.ab gives keyshex).
std::string DownloadImagePath(const std::string& documentPath);

} // namespace tessaron
