// tessaron download FILE [--port COMn]: a document into the keypad through the
// loader's core, with Tavrix's checks and messages. A redefinition file is
// turned into its download image in memory (nothing is written beside it), a
// download image is sent as it is, a ROM file is refused as Tavrix refuses it.
#include "Commands.h"
#include "StopSignals.h"

#include "editor/model/Document.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/LoaderSettings.h"
#include "siblings/core/DownloadImageFile.h"
#include "siblings/core/Loader.h"
#include "siblings/core/TerminalLoader.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace tessaron::cli {

namespace {

// What the loader is handed for path: the file's image, or, for a
// redefinition file, the image its Save would write. delay: the document's
// DOWNLOAD_DELAY, which its Save would have put into Tavrix.ini.
TImageFile imageOf(const std::string& path, std::optional<int>& delay)
{
    TImageFile image = ReadDownloadImageFile(path);
    if (image.Type != TImageFile::Kind::RedefinitionFile) {
        return image;
    }
    auto doc = std::make_unique<TDocument>();
    if (!doc->ReadRedefinition(path)) {
        image.Type = TImageFile::Kind::Missing;
        return image;
    }
    delay = std::clamp<int>(doc->Keypad().DOWNLOAD_DELAY, 0, MaxDownloadDelay);
    return ParseDownloadImageText(DownloadImageText(doc->Keypad()));
}

} // namespace

int RunDownload(const Args& given, std::ostream& out, std::ostream& err)
{
    Args args = given;
    std::string portText;
    if (!TakeOption(args, "--port", portText) || args.size() != 1 || !UnknownOption(args).empty()) {
        return UsageError(err, "download");
    }
    const int port = portText.empty() ? 0 : ParseComPort(portText);
    if (!portText.empty() && port == 0) {
        err << "tessaron: \"" << portText << "\" is no port (COM1 to COM16)\n";
        return UsageError(err, "download");
    }
    const std::string& path = args[0];
    const std::string settingsPath = LoaderSettingsPath();
    TTavrixSettings settings = ReadTavrixSettings(settingsPath);
    std::optional<int> delay;
    TImageFile image = imageOf(path, delay);
    if (delay) {
        settings.DownloadDelay = *delay;
    }
    if (port != 0 && port != settings.ComPort) {
        // Tavrix.ini's ComType is of another port: this one's is not known.
        settings = TTavrixSettings{port, TTavrixSettings{}.ComType, settings.DownloadDelay};
    }

    // Blocked from here on, also for the sending thread: Ctrl+C cancels the
    // download (what was sent is said) instead of ending the process.
    StopSignals signals;
    TLoader loader;
    if (loader.Prepare(std::move(image), path, settings, settingsPath) != TLoader::Outcome::Ready) {
        err << "tessaron: " << loader.Message() << '\n';
        return ExitFailed;
    }
    const auto sink = [](std::ostream& stream) {
        return [&stream](std::string_view text) { stream << text << std::flush; };
    };
    // A bar where somebody watches; a script gets the result alone.
    const bool terminal = &out == &std::cout && ::isatty(STDOUT_FILENO) != 0;
    TTerminalReport report;
    report.Program = "tessaron";
    report.Verbose = false;
    return SendInTerminal(
        loader, path, sink(out), sink(err), terminal, [&signals] { return signals.arrived(); },
        report);
}

} // namespace tessaron::cli
