#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaron {

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
