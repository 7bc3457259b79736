#include "ProgramEntry.h"

#include "ConsoleDialogRunner.h"
#include "ConsoleMessageBox.h"
#include "Main.h"
#include "StopSignals.h"

#include "common/CommandLine.h"
#include "common/QtDialogRunner.h"
#include "common/QtLauncher.h"
#include "common/QtMessageBox.h"
#include "common/SingleInstanceLock.h"
#include "common/SuiteFolderRefusalBox.h"
#include "portmgr/bridge/CommandSocket.h"

#include <QApplication>

#include <csignal>
#include <iostream>
#include <string>

namespace tessaron {

namespace {

constexpr ProgramOption Options[] = {{"--command", true}};

constexpr ProgramSyntax Syntax{
    "Corvandelle", "Corvandelle\nCorvandelle --command St|Go|Ck",
    "The tray program that bridges USB Tessaron keypads to virtual serial ports\n"
    "(ports/COMn of the suite folder); one runs per user.\n"
    "  --command St|Go|Ck\n"
    "               stop, start or configure the running one, and exit\n",
    Options};

int command(const std::string& pair)
{
    std::string message;
    const int status = SendCommand(pair, message);
    if (status != 0) {
        std::cerr << message << '\n';
    }
    return status;
}

// Platforms on which no window is ever seen by anybody.
bool headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

int CorvandelleMain(int argc, char** argv)
{
    ProgramArguments given = ReadProgramArguments(Syntax, argc, argv);
    if (given.Exit >= 0) {
        return given.Exit;
    }
    const std::string* pair = given.Option("--command");
    if (!given.Operands.empty() || given.Options.size() > 1 ||
        (pair != nullptr && *pair != "St" && *pair != "Go" && *pair != "Ck")) {
        return ProgramUsageError(Syntax);
    }
    if (pair != nullptr) {
        return command(*pair);
    }
    // Standard output may be a pipe that nobody reads any more: its log lines
    // then fail quietly instead of ending the bridging. (Started programs get
    // the default back.)
    std::signal(SIGPIPE, SIG_IGN);

    QApplication app(given.QtArgc, given.QtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Corvandelle"));
    // Lets the desktop match the windows to their entry (icon, name) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessaron.Corvandelle"));
    QApplication::setWindowIcon(TTrayIcon::ApplicationIcon());
    // The main form is never shown; closing a dialog must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const bool noWindows = headless();
    QtMessageBox windowMessages;
    TConsoleMessageBox consoleMessages(std::cerr);
    QtDialogRunner windowDialogs;
    TConsoleDialogRunner consoleDialogs;
    QtLauncher programs;
    MessageBox& messages = noWindows ? static_cast<MessageBox&>(consoleMessages) : windowMessages;
    DialogRunner& dialogs = noWindows ? static_cast<DialogRunner&>(consoleDialogs) : windowDialogs;

    const SuiteFolderRefusalBox refusedFolder(&windowMessages, QStringLiteral("Corvandelle"));

    SingleInstanceLock lock;
    switch (lock.acquire()) {
    case SingleInstanceLock::Result::Acquired:
        break;
    case SingleInstanceLock::Result::AlreadyHeld:
        std::cerr << kAlreadyRunningMessage << std::endl;
        if (!noWindows) {
            windowMessages.Error(QStringLiteral("Corvandelle"),
                                 QString::fromLatin1(kAlreadyRunningMessage));
        }
        return 1;
    case SingleInstanceLock::Result::Failed:
        // Started at log-in, nobody reads standard error: the box says it.
        std::cerr << "Corvandelle: " << lock.error() << std::endl;
        if (!noWindows) {
            windowMessages.Error(QStringLiteral("Corvandelle"),
                                 QString::fromLocal8Bit(lock.error().c_str()) + QLatin1Char('.'));
        }
        return 1;
    }
    // Until here a stop signal simply ends the program (also a second copy
    // waiting in its message box); from now on it ends it the way Exit does.
    if (!TStopSignals::Install()) {
        std::cerr << "Corvandelle: the stop signals cannot be handled" << std::endl;
        return 1;
    }

    TFormMain::Options options;
    options.WatchTray = !noWindows;
    options.Err = &std::cerr;
    options.Log = &std::cout;
    TFormMain form({messages, programs, dialogs}, options);
    QObject::connect(&form, &TFormMain::ExitRequested, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    TStopSignals stopSignals;
    QObject::connect(&stopSignals, &TStopSignals::Stop, &form, [&form] { form.RequestExit(0); });

    form.FormCreate();
    return QApplication::exec();
}

} // namespace tessaron
