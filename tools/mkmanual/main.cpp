// mkmanual MANUAL.md OUT.pdf [--preview FOLDER]
// Renders the user manual to a PDF at build time; exits with 1 and a message
// when the text, a picture or the output cannot be read or written, so that a
// broken manual fails the build instead of shipping an empty file.
#include "ManualPrinter.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Fonts need a platform, never a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool preview = args.size() == 5 && args[3] == QLatin1String("--preview");
    if (args.size() != 3 && !preview) {
        std::fprintf(stderr, "usage: mkmanual MANUAL.md OUT.pdf [--preview FOLDER]\n");
        return 2;
    }
    ManualPrinter printer(QStringLiteral("Tessaron " MKMANUAL_VERSION " User Manual"));
    bool ok = printer.Load(args[1]) && printer.Print(args[2]);
    if (ok && preview) {
        ok = printer.Preview(args[4]);
    }
    if (!ok) {
        std::fprintf(stderr, "mkmanual: %s\n", qPrintable(printer.Error()));
        return 1;
    }
    std::printf("mkmanual: %s, %d pages\n", qPrintable(args[2]), printer.PageCount());
    return 0;
}
