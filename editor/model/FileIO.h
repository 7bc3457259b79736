#pragma once

#include "AdvancedClass.h"
#include "KeypadClass.h"
#include "MessageSink.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaron {

// The editor's document files. Readers do nothing, and return false, when no
// file exists at the path or when it may not be read (not a regular file,
// longer than MaxReadFileSize of common/AtomicFile.h, unreadable): refusal,
// when given, then says why ("" for a missing file). Malformed contents read
// as the defaults. Writers raise FileWriteError (common/FileWriteError.h) when
// the file cannot be written, and leave an earlier file as it was. After a
// read, key 0 and level 1 are current, as after Reset.

// The redefinition file (.ckd) of USER mode: the key table and its parameters.
bool ReadRedefinitionFile(TKeypadClass& keypad, const std::string& path,
                          std::string* refusal = nullptr);
void WriteRedefinitionFile(const TKeypadClass& keypad, const std::string& path);

// The ROM file (.rom) of ROM Edit mode: the key table, AdvancedParams and the
// eight ScreenData. The reader refreshes the working copies and reports an
// over-long ECR_String through messages (which may be null). The writer writes
// the LCD texts as FitLcdTexts leaves them; the document's Save fits them in
// place first.
bool ReadRomFile(TKeypadClass& keypad, TRomRecords& rom, const std::string& path,
                 TMessageSink* messages, std::string* refusal = nullptr);
void WriteRomFile(const TKeypadClass& keypad, const TRomRecords& rom, const std::string& path);

// Pads the LCD texts of AdvancedParams and ScreenData to 16 characters and
// empties the second lines of a one-line LCD (LcdSize 16).
void FitLcdTexts(TRomRecords& rom);

// The download image (.hex) written after every USER-mode save; then the
// loader's DownloadDelay is updated in loaderSettingsPath ("Tavrix.ini").
void WriteDownloadImage(const TKeypadClass& keypad, const std::string& path,
                        const std::string& loaderSettingsPath);

// The download image's name for a document: the last three characters of the
// path replaced by "hex" (keys.ckd gives keys.hex, keys.ab gives keyshex).
std::string DownloadImagePath(const std::string& documentPath);

// "Tavrix.ini" in the suite folder, and its one section.
std::string LoaderSettingsPath();
constexpr std::string_view LoaderPortSection = "Com Port Configuration";

// The loader's port, as the port indicator reads it: ComPort 0 and ComType "?"
// when the file or the keys are missing.
struct TLoaderPortStatus
{
    int ComPort = 0;
    std::string ComType = "?";
};
TLoaderPortStatus ReadLoaderPortStatus(const std::string& loaderSettingsPath);

// ComPort as the Test command reads it: 0 when the file does not exist.
int ReadTestComPort(const std::string& loaderSettingsPath);

// Writes DownloadDelay only when the file names a ComPort other than -1.
void UpdateDownloadDelay(const std::string& loaderSettingsPath, std::int32_t downloadDelay);

} // namespace tessaron
