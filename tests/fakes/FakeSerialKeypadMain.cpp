// fake-serial-keypad: a simulated serial keypad for trying the suite without
// hardware. It links ports/COMn of the suite folder to a pseudo-terminal and
// runs until interrupted; lines typed on standard input are sent as the
// keypad's keystrokes (with a carriage return), and every "@C" message it
// receives is printed.
#include "FakeSerialKeypad.h"

#include "common/SuiteFolder.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: fake-serial-keypad [--cdc] [--id TEXT] [--late] [--mute] COMn|PATH\n"
                 "  --cdc      answer the type query with 'v' (CDC) instead of 'R' (RS232)\n"
                 "  --id TEXT  identification text (16 characters for a keypad that is found)\n"
                 "  --late     answer only the second type query\n"
                 "  --mute     answer nothing (a port without a keypad)\n"
                 "COMn links ports/COMn in the suite folder (TESSARON_HOME, or the folder of\n"
                 "this program); any other argument is the link's path.\n");
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    tessaron::test::FakeSerialKeypad::Options options;
    std::string port;
    bool idGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--cdc") {
            options.Type = 'v';
        } else if (arg == "--id" && i + 1 < argc) {
            options.Identification = argv[++i];
            idGiven = true;
        } else if (arg == "--late") {
            options.IgnoredTypeQueries = 1;
        } else if (arg == "--mute") {
            options.Answers = false;
        } else if (!arg.empty() && arg[0] != '-' && port.empty()) {
            port = arg;
        } else {
            return usage();
        }
    }
    if (port.empty()) {
        return usage();
    }
    if (!idGiven && options.Type == 'v') {
        options.Identification = "Simulated CDC   ";
    }
    const std::string link = port.compare(0, 3, "COM") == 0 && port.find('/') == std::string::npos
                                 ? tessaron::SuitePath("ports/" + port)
                                 : port;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    try {
        tessaron::test::FakeSerialKeypad keypad(link, options);
        keypad.SetEcho(true);
        std::printf("%s -> %s (type '%c', identification \"%s\")\n", link.c_str(),
                    keypad.TerminalPath().c_str(), options.Type, options.Identification.c_str());
        std::fflush(stdout);
        bool input = true;
        std::string line;
        char buffer[256];
        while (!g_stop) {
            pollfd in{STDIN_FILENO, POLLIN, 0};
            if (!input || ::poll(&in, 1, 200) <= 0) {
                if (!input) {
                    ::poll(nullptr, 0, 200);
                }
                continue;
            }
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                input = false; // no more input: keep serving until interrupted
                continue;
            }
            for (ssize_t k = 0; k < got; ++k) {
                if (buffer[k] == '\n') {
                    keypad.Type(line + "\r");
                    line.clear();
                } else {
                    line += buffer[k];
                }
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fake-serial-keypad: %s\n", e.what());
        return 1;
    }
    return 0;
}
