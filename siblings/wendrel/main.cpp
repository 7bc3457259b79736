// Wendrel, the port chooser: records the keypad's port in "Tavrix.ini" for the
// loader and the test programs. The editor's Set Port runs it and waits.
#include "PortChooser.h"

#include "common/CommandLine.h"
#include "common/QtMessageBox.h"
#include "editor/model/LoaderSettings.h"

#include <QApplication>

namespace {

constexpr tessaron::ProgramSyntax Syntax{
    "Wendrel", "Wendrel",
    "Lets you choose the keypad's port and records it in Tavrix.ini (ComPort, ComType)\n"
    "for the loader and the test programs. Exit status: 0 recorded, 1 cancelled.\n"};

} // namespace

int main(int argc, char** argv)
{
    tessaron::ProgramArguments given = tessaron::ReadProgramArguments(Syntax, argc, argv);
    if (given.Exit >= 0) {
        return given.Exit;
    }
    QApplication app(given.QtArgc, given.QtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Wendrel"));
    tessaron::QtMessageBox messages;
    tessaron::TPortChooser window(messages,
                                  QString::fromLocal8Bit(tessaron::LoaderSettingsPath().c_str()));
    messages.SetParentWindow(&window);
    window.show();
    return window.exec() == QDialog::Accepted ? 0 : 1;
}
