#pragma once

#include <optional>
#include <string>

namespace tessaron {

// The loader's settings in "Tavrix.ini" (section "Com Port Configuration"), the
// file that the editor reads the port from and writes DownloadDelay into.
struct TTavrixSettings
{
    // Above 0: COMn; 0 (also a missing file or key): no port; -1: the keypad is
    // tested as a keyboard, there is no port to download to.
    int ComPort = 0;
    // "U": attached by USB, "R": by RS-232; "?" when missing.
    std::string ComType = "?";
    // Pause after each byte, in ms, within 0 to MaxDownloadDelay.
    int DownloadDelay = 0;
};

// The document's DOWNLOAD_DELAY goes from 0 to 100 ms; a hand-edited value
// outside is held to that range.
constexpr int MaxDownloadDelay = 100;

TTavrixSettings ReadTavrixSettings(const std::string& path);

// Records the keypad's port, as the port chooser does: ComPort, and ComType when
// given; every other line of the file stays. Creates the file when missing.
// Throws FileWriteError ("Unable to write to <path>") when it cannot be written.
void WriteTavrixPort(const std::string& path, int comPort,
                     const std::optional<std::string>& comType);

} // namespace tessaron
