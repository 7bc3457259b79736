#include "Loader.h"

#include "DownloadImageFile.h"
#include "PortSurvey.h"

#include "editor/model/DownloadImage.h"
#include "portmgr/io/SerialLine.h"

#include <algorithm>

namespace tessaron {

namespace {

constexpr int DrainMs = 3000;

// A bridge's port takes bytes as fast as they come, but the bridge hands them
// to a USB keypad at 7 bytes per 10 ms. Sent faster they pile up in the
// bridge: the loader would say "complete" seconds before the keypad has them
// all, and bridging stopped meanwhile (a reassignment, a service stop) would
// lose the rest. Paced at 2 ms a byte they keep within a report or two of the
// keypad, and a short wait at the end sees the last ones out.
constexpr int BridgeByteMs = 2;
constexpr int BridgeSettleMs = 60;

const char* const SetPortHint =
    "Click \"Set Port\" in Plindorax (or run Wendrel) to choose the keypad's COM port.";

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

} // namespace

TLoader::~TLoader()
{
    closePort();
}

void TLoader::closePort()
{
    m_port.Close();
}

TLoader::Outcome TLoader::refuse(std::string message)
{
    closePort();
    m_bytes.clear();
    m_message = std::move(message);
    m_outcome = Outcome::Refused;
    return m_outcome;
}

TLoader::Outcome TLoader::Prepare(const std::string& imagePath, const std::string& settingsPath)
{
    m_progress.store(0);
    if (imagePath.empty()) {
        return refuse("No download image was given. Tavrix sends the download image (.hex) "
                      "that Plindorax writes when it saves a document.");
    }
    return Prepare(ReadDownloadImageFile(imagePath), imagePath, ReadTavrixSettings(settingsPath),
                   settingsPath);
}

TLoader::Outcome TLoader::Prepare(TImageFile image, const std::string& imagePath,
                                  const TTavrixSettings& settings, const std::string& settingsPath)
{
    closePort();
    m_progress.store(0);
    m_viaBridge = false;
    switch (image.Type) {
    case TImageFile::Kind::Image:
        break;
    case TImageFile::Kind::Missing:
        return refuse("The download image " + quoted(imagePath) +
                      " does not exist. Save the document in Plindorax to write it.");
    case TImageFile::Kind::Unreadable:
        return refuse("The download image " + quoted(imagePath) +
                      " cannot be read: " + image.Problem + ".");
    case TImageFile::Kind::RomFile:
        return refuse(quoted(imagePath) +
                      " is a ROM file. Tavrix downloads only the download images (.hex) "
                      "of USER mode; ROM files are not sent. Nothing was sent.");
    case TImageFile::Kind::RedefinitionFile:
        return refuse(quoted(imagePath) +
                      " is a redefinition file, not a download image. Download its image " +
                      quoted(DownloadImagePath(imagePath)) +
                      ", which Plindorax writes beside it on every save.");
    case TImageFile::Kind::Malformed:
        return refuse(quoted(imagePath) + " is not a valid download image: " + image.Problem +
                      ". Nothing was sent.");
    }

    m_settings = settings;
    const int port = m_settings.ComPort;
    m_portName = "COM" + std::to_string(port);
    if (m_settings.ComType == "U") {
        m_portName += " (USB)";
    } else if (m_settings.ComType == "R") {
        m_portName += " (DB9)";
    }
    if (port == 0) {
        return refuse(std::string("No COM port is set for the keypad. ") + SetPortHint);
    }
    if (port == -1) {
        return refuse(std::string("The keypad is set to be tested as a keyboard, which has no COM "
                                  "port to download to. ") +
                      SetPortHint);
    }
    if (port < 1 || port > 16) {
        m_portName.clear();
        return refuse("ComPort=" + std::to_string(port) + " in " + settingsPath +
                      " is no port (COM1 to COM16). " + SetPortHint);
    }

    // A bridge throws away what its port gets while the keypad is not there:
    // sending would end in "complete" with nothing downloaded.
    const TPortInfo info = SurveyPort(port);
    if (info.Type == TPortInfo::Kind::VirtualPort && info.KeypadAbsent) {
        return refuse("Cannot download to " + m_portName + ": its keypad (" + info.Keypad +
                      ") is not plugged in. Plug it in, wait until Corvandelle has opened it, "
                      "and download again. Nothing was sent.");
    }
    m_viaBridge = info.Type == TPortInfo::Kind::VirtualPort;
    std::string why;
    if (OpenSurveyedPort(info, m_port, why) != 0) {
        return refuse("Cannot download to " + m_portName + ": " + why + " Nothing was sent.");
    }
    m_bytes = std::move(image.Bytes);
    m_message.clear();
    m_outcome = Outcome::Ready;
    return m_outcome;
}

TLoader::Outcome TLoader::Send(TPacer& pacer)
{
    if (m_outcome != Outcome::Ready || !m_port.IsOpen()) {
        return m_outcome;
    }
    const int delay =
        m_viaBridge ? std::max(m_settings.DownloadDelay, BridgeByteMs) : m_settings.DownloadDelay;
    TPacedSender sender(m_port.Fd(), delay, pacer);
    const TPacedSender::Result r = sender.Send(m_bytes.data(), m_bytes.size(), &m_progress);
    if (r.Status != TPacedSender::Result::Outcome::Failed) {
        TPacedSender::Drain(m_port.Fd(), DrainMs);
    }
    if (r.Status == TPacedSender::Result::Outcome::Sent && m_viaBridge) {
        pacer.Pause(BridgeSettleMs);
    }
    closePort();
    const std::string counted =
        std::to_string(r.BytesSent) + " of " + std::to_string(Total()) + " bytes";
    switch (r.Status) {
    case TPacedSender::Result::Outcome::Sent:
        m_outcome = Outcome::Done;
        m_message =
            "Download complete: " + std::to_string(Total()) + " bytes sent to " + m_portName + ".";
        break;
    case TPacedSender::Result::Outcome::Cancelled:
        m_outcome = Outcome::Cancelled;
        m_message = "Download cancelled after " + counted +
                    ". The keypad did not receive the whole definition: download it again.";
        break;
    case TPacedSender::Result::Outcome::Failed:
        m_outcome = Outcome::Failed;
        m_message = "Download to " + m_portName + " failed after " + counted + ": " + r.Error +
                    ". Download it again.";
        break;
    }
    return m_outcome;
}

} // namespace tessaron
