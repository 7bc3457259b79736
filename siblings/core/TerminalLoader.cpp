#include "TerminalLoader.h"

#include "Loader.h"
#include "TextProgress.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace tessaron {

int RunLoaderInTerminal(const std::string& imagePath, const std::string& settingsPath,
                        std::FILE* out, std::FILE* err, bool outIsTerminal,
                        const volatile std::sig_atomic_t* interrupted)
{
    TLoader loader;
    if (loader.Prepare(imagePath, settingsPath) != TLoader::Outcome::Ready) {
        std::fprintf(err, "Tavrix: %s\n", loader.Message().c_str());
        return LoaderExitFailed;
    }
    const auto sink = [](std::FILE* file) {
        return [file](std::string_view text) {
            std::fwrite(text.data(), 1, text.size(), file);
            std::fflush(file);
        };
    };
    return SendInTerminal(
        loader, imagePath, sink(out), sink(err), outIsTerminal,
        [interrupted] { return interrupted != nullptr && *interrupted != 0; }, TTerminalReport{});
}

int SendInTerminal(TLoader& loader, const std::string& imagePath, const TTextSink& out,
                   const TTextSink& err, bool outIsTerminal,
                   const std::function<bool()>& interrupted, const TTerminalReport& report)
{
    if (report.Verbose) {
        out("Sending " + imagePath + " to " + loader.PortName() + ", " +
            std::to_string(loader.Settings().DownloadDelay) + " ms after each byte\n");
    }
    const bool showProgress = report.Verbose || outIsTerminal;

    TPacer pacer;
    TTextProgress progress(out, outIsTerminal);
    const auto show = [&] {
        if (showProgress) {
            progress.Show(loader.Sent(), loader.Total());
        }
    };
    show();
    TLoader::Outcome outcome = TLoader::Outcome::Ready;
    std::atomic<bool> finished{false};
    std::thread sender([&] {
        outcome = loader.Send(pacer);
        finished.store(true);
    });
    while (!finished.load()) {
        if (interrupted && interrupted()) {
            pacer.Cancel();
        }
        show();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    sender.join();
    show();
    progress.Finish();

    if (outcome == TLoader::Outcome::Done) {
        out(loader.Message() + "\n");
        return LoaderExitDone;
    }
    err(std::string(report.Program) + ": " + loader.Message() + "\n");
    return outcome == TLoader::Outcome::Cancelled ? LoaderExitCancelled : LoaderExitFailed;
}

} // namespace tessaron
