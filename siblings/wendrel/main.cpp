// Wendrel, the port chooser: records the keypad's port in "Tavrix.ini" for the
// loader and the test programs. The editor's Set Port runs it and waits.
#include "PortChooser.h"

#include "common/FileVersion.h"
#include "common/QtMessageBox.h"
#include "editor/model/LoaderSettings.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Wendrel %s\n", tessaron::OwnFileVersion().c_str());
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendrel"));
    tessaron::QtMessageBox messages;
    tessaron::TPortChooser window(messages,
                                  QString::fromLocal8Bit(tessaron::LoaderSettingsPath().c_str()));
    messages.SetParentWindow(&window);
    window.show();
    return window.exec() == QDialog::Accepted ? 0 : 1;
}
