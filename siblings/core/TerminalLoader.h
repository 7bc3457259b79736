#pragma once

#include "TextProgress.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

namespace tessaron {

class TLoader;

// Exit statuses of the loader.
constexpr int LoaderExitDone = 0;
constexpr int LoaderExitFailed = 1; // refused (nothing sent) or the port failed
constexpr int LoaderExitCancelled = 2;

// Tavrix --no-window: the download with a text progress bar on out and the
// result on out (success) or err (anything else). Sending runs on a thread of
// its own; a non-zero *interrupted (set by a signal handler) cancels it.
int RunLoaderInTerminal(const std::string& imagePath, const std::string& settingsPath,
                        std::FILE* out, std::FILE* err, bool outIsTerminal,
                        const volatile std::sig_atomic_t* interrupted);

// How a terminal download reports itself.
struct TTerminalReport
{
    // Put before the messages on err: "Tavrix", "tessaron".
    const char* Program = "Tavrix";
    // A line saying what goes where before the bytes, and the progress also
    // where out is no terminal (a line per tenth); otherwise a bar on a
    // terminal only, and the result.
    bool Verbose = true;
};

// Sends what a prepared loader holds (Ready) and says how it ended: the
// progress and a success on out, anything else on err. Returns the exit
// status. interrupted is asked while the bytes go out; true cancels.
int SendInTerminal(TLoader& loader, const std::string& imagePath, const TTextSink& out,
                   const TTextSink& err, bool outIsTerminal,
                   const std::function<bool()>& interrupted, const TTerminalReport& report);

} // namespace tessaron
