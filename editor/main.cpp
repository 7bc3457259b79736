// Plindorax, the key redefinition editor.
#include "editor/window/Main.h"
#include "common/CommandLine.h"
#include "common/QtDialogRunner.h"
#include "common/QtFileDialog.h"
#include "common/QtKeyboardState.h"
#include "common/QtLauncher.h"
#include "common/QtMessageBox.h"
#include "common/SuiteFolderRefusalBox.h"
#include "editor/window/WindowIcon.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr tessaron::ProgramSyntax Syntax{
    "Plindorax", "Plindorax [FILE.ckd]",
    "The key redefinition editor of the Tessaron keypads; opens FILE.ckd, a redefinition\n"
    "file, at start-up (a name that starts with '-' after \"--\").\n"};

} // namespace

int main(int argc, char** argv)
{
    tessaron::ProgramArguments given = tessaron::ReadProgramArguments(Syntax, argc, argv);
    if (given.Exit >= 0) {
        return given.Exit;
    }
    QApplication app(given.QtArgc, given.QtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Plindorax"));
    // Lets the desktop match the window to its entry (icon, name) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessaron.Plindorax"));
    QApplication::setWindowIcon(tessaron::PlindoraxIcon());

    tessaron::QtMessageBox messages;
    const tessaron::SuiteFolderRefusalBox refusedFolder(&messages, QStringLiteral("Plindorax"));
    tessaron::QtFileDialog files;
    tessaron::QtLauncher programs;
    tessaron::QtKeyboardState keyboard;
    tessaron::QtDialogRunner dialogs;
    const tessaron::TMainServices services{messages, files, programs, keyboard, dialogs};

    // Only the first is read, as ever; more are ignored.
    QStringList arguments;
    for (const std::string& operand : given.Operands) {
        arguments.append(QFile::decodeName(QByteArray::fromStdString(operand)));
    }
    tessaron::TfrmMain window(services, arguments);
    messages.SetParentWindow(&window);
    files.SetParentWindow(&window);
    window.show();

    // For the start-up benchmark: report once the window has been painted,
    // then leave.
    if (std::getenv("PLINDORAX_REPORT_SHOWN") != nullptr) {
        QTimer::singleShot(0, &window, [&window] {
            window.repaint();
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QApplication::exit(0);
        });
    }
    return QApplication::exec();
}
