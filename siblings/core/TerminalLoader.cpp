#include "TerminalLoader.h"

#include "Loader.h"
#include "TextProgress.h"

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
    std::fprintf(out, "Sending %s to %s, %d ms after each byte\n", imagePath.c_str(),
                 loader.PortName().c_str(), loader.Settings().DownloadDelay);
    std::fflush(out);

    TPacer pacer;
    TTextProgress progress(out, outIsTerminal);
    progress.Show(0, loader.Total());
    TLoader::Outcome outcome = TLoader::Outcome::Ready;
    std::atomic<bool> finished{false};
    std::thread sender([&] {
        outcome = loader.Send(pacer);
        finished.store(true);
    });
    while (!finished.load()) {
        if (interrupted != nullptr && *interrupted != 0) {
            pacer.Cancel();
        }
        progress.Show(loader.Sent(), loader.Total());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    sender.join();
    progress.Show(loader.Sent(), loader.Total());
    progress.Finish();

    switch (outcome) {
    case TLoader::Outcome::Done:
        std::fprintf(out, "%s\n", loader.Message().c_str());
        std::fflush(out);
        return LoaderExitDone;
    case TLoader::Outcome::Cancelled:
        std::fprintf(err, "Tavrix: %s\n", loader.Message().c_str());
        return LoaderExitCancelled;
    default:
        std::fprintf(err, "Tavrix: %s\n", loader.Message().c_str());
        return LoaderExitFailed;
    }
}

} // namespace tessaron
