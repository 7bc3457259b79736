// Ruskel, the keyboard test: lists every key the keypad types as a PC keyboard.
#include "KeyboardTestWindow.h"

#include "common/FileVersion.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Ruskel %s\n", tessaron::OwnFileVersion().c_str());
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ruskel"));
    tessaron::TKeyboardTestWindow window;
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
