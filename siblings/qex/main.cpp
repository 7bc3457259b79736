// Qex, the serial test: Qex [port [x y]] opens ports/COM<port> at 9600 8N1 and
// places its window at x, y; without a port it offers the list.
#include "SerialTestWindow.h"

#include "common/FileVersion.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Qex %s\n", tessaron::OwnFileVersion().c_str());
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qex"));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    tessaron::TSerialTestWindow window;
    window.ApplyArguments(arguments);
    window.show();
    return QApplication::exec();
}
