// Ruskel, the keyboard test: lists every key the keypad types as a PC keyboard.
#include "KeyboardTestWindow.h"

#include "common/CommandLine.h"

#include <QApplication>

namespace {

constexpr tessaron::ProgramSyntax Syntax{
    "Ruskel", "Ruskel",
    "The keyboard test: lists every key that the keypad types as a PC keyboard.\n"};

} // namespace

int main(int argc, char** argv)
{
    tessaron::ProgramArguments given = tessaron::ReadProgramArguments(Syntax, argc, argv);
    if (given.Exit >= 0) {
        return given.Exit;
    }
    QApplication app(given.QtArgc, given.QtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Ruskel"));
    tessaron::TKeyboardTestWindow window;
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
