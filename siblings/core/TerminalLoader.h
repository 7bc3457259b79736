#pragma once

#include <csignal>
#include <cstdio>
#include <string>

namespace tessaron {

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

} // namespace tessaron
