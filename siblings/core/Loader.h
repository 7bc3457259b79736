#pragma once

#include "DownloadImageFile.h"
#include "PacedSender.h"
#include "TavrixSettings.h"

#include "portmgr/io/SerialPort.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaron {

// Tavrix's work without its window: check the download image, read the port
// from "Tavrix.ini", open the port, then send the image's bytes in order with
// DownloadDelay ms after each. Prepare() does everything that can refuse
// before a byte goes out, so that a refusal sends nothing; Send() may run on
// another thread while Progress() is read.
class TLoader
{
public:
    enum class Outcome
    {
        Ready,     // prepared, nothing sent yet
        Refused,   // nothing was sent: Message() says why
        Done,      // every byte was sent
        Cancelled, // stopped by the user after Sent() bytes
        Failed,    // the port failed after Sent() bytes
    };

    TLoader() = default;
    ~TLoader();
    TLoader(const TLoader&) = delete;
    TLoader& operator=(const TLoader&) = delete;

    // settingsPath is "Tavrix.ini" of the suite folder for the programs.
    Outcome Prepare(const std::string& imagePath, const std::string& settingsPath);
    // The same for an image read (or made) by the caller, with the settings to
    // use; imagePath names it in the messages, settingsPath names the file a
    // port outside COM1 to COM16 came from.
    Outcome Prepare(TImageFile image, const std::string& imagePath, const TTavrixSettings& settings,
                    const std::string& settingsPath);
    Outcome Send(TPacer& pacer);

    Outcome Status() const { return m_outcome; }
    // The result for the user, one or two sentences.
    const std::string& Message() const { return m_message; }

    int Total() const { return static_cast<int>(m_bytes.size()); }
    int Sent() const { return m_progress.load(); }
    const std::atomic<int>& Progress() const { return m_progress; }
    // "COM3 (USB)", "COM4 (DB9)" or "COM5", once the settings are read.
    const std::string& PortName() const { return m_portName; }
    const TTavrixSettings& Settings() const { return m_settings; }

private:
    Outcome refuse(std::string message);
    void closePort();

    Outcome m_outcome = Outcome::Refused;
    std::string m_message;
    std::string m_portName;
    bool m_viaBridge = false; // the port is a running bridge's virtual port
    TTavrixSettings m_settings;
    std::vector<std::uint8_t> m_bytes;
    std::atomic<int> m_progress{0};
    TSerialPort m_port;
};

} // namespace tessaron
