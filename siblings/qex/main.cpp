// Qex, the serial test: Qex [port [x y]] opens ports/COM<port> at 9600 8N1 and
// places its window at x, y; without a port it offers the list.
#include "SerialTestWindow.h"

#include "common/CommandLine.h"

#include <QApplication>

namespace {

constexpr tessaron::ProgramSyntax Syntax{
    "Qex", "Qex [PORT [X Y]]",
    "The serial test: opens ports/COM<PORT> at 9600 8N1, shows what arrives and sends\n"
    "what you type; its window is placed at X, Y. Without PORT it offers the list.\n"};

} // namespace

int main(int argc, char** argv)
{
    tessaron::ProgramArguments given = tessaron::ReadProgramArguments(Syntax, argc, argv);
    if (given.Exit >= 0) {
        return given.Exit;
    }
    QApplication app(given.QtArgc, given.QtArguments.data());
    QApplication::setApplicationName(QStringLiteral("Qex"));
    QStringList arguments;
    for (const std::string& operand : given.Operands) {
        arguments.append(QString::fromLocal8Bit(operand.c_str()));
    }
    tessaron::TSerialTestWindow window;
    window.ApplyArguments(arguments);
    window.show();
    return QApplication::exec();
}
