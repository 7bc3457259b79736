// Tavrix, the loader: sends a download image to the keypad on the port that
// "Tavrix.ini" names.
//   Tavrix [PATH]               with a progress window (no PATH: pick the file)
//   Tavrix --no-window PATH     in a terminal, with a text progress bar
#include "LoaderWindow.h"

#include "common/CommandLine.h"
#include "common/QtFileDialog.h"
#include "common/QtMessageBox.h"
#include "common/SuiteFolder.h"
#include "editor/model/LoaderSettings.h"
#include "siblings/core/TerminalLoader.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onSignal(int)
{
    g_interrupted = 1;
}

constexpr tessaron::ProgramOption Options[] = {{"--no-window", false}};

constexpr tessaron::ProgramSyntax Syntax{
    "Tavrix", "Tavrix [PATH]\nTavrix --no-window PATH",
    "Sends the download image PATH (a .hex file that Plindorax writes) to the keypad\n"
    "on the port that Tavrix.ini names (ComPort, ComType), pausing DownloadDelay ms\n"
    "after each byte; without PATH it asks for the file.\n"
    "Exit status: 0 sent, 1 nothing or not all sent, 2 cancelled.\n"
    "  --no-window  in a terminal, with a text progress bar\n",
    Options};

} // namespace

int main(int argc, char** argv)
{
    tessaron::ProgramArguments given = tessaron::ReadProgramArguments(Syntax, argc, argv);
    if (given.Exit >= 0) {
        return given.Exit;
    }
    const bool noWindow = given.Option("--no-window") != nullptr;
    const std::vector<std::string>& paths = given.Operands;
    if (paths.size() > 1 || (noWindow && paths.empty())) {
        return tessaron::ProgramUsageError(Syntax);
    }
    const std::string settings = tessaron::LoaderSettingsPath();

    if (noWindow) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        return tessaron::RunLoaderInTerminal(paths[0], settings, stdout, stderr,
                                             ::isatty(STDOUT_FILENO) != 0, &g_interrupted);
    }

    QApplication app(given.QtArgc, given.QtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Tavrix"));
    tessaron::QtMessageBox messages;
    QString path = paths.empty() ? QString() : QString::fromLocal8Bit(paths[0].c_str());
    if (path.isEmpty()) {
        // Started without a file (Corvandelle's menu): let the user pick one.
        tessaron::QtFileDialog files;
        tessaron::FileDialogOptions options;
        options.Title = QStringLiteral("Tavrix - Open Download Image");
        options.Filter = QStringLiteral("Download Images (*.hex)|*.hex|All Files (*.*)|*.*");
        options.StartFolder = QString::fromLocal8Bit(tessaron::SuitePath("Macro Files").c_str());
        path = files.OpenFileName(options);
        if (path.isEmpty()) {
            return tessaron::LoaderExitCancelled;
        }
    }
    tessaron::TLoaderWindow window(messages);
    QObject::connect(&window, &tessaron::TLoaderWindow::Finished, &app,
                     [](int status) { QApplication::exit(status); });
    // A refusal comes before the window shows; the result box sits over it.
    if (!window.Start(path, QString::fromLocal8Bit(settings.c_str()))) {
        return window.ExitStatus();
    }
    messages.SetParentWindow(&window);
    return QApplication::exec();
}
