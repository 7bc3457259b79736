#include "QtLauncher.h"

#include "common/CommandLine.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <unistd.h>

namespace tessaron {

namespace {

QStringList splitParameters(const QString& parameters)
{
    QStringList arguments;
    for (const std::string& argument : SplitWindowsCommandLine(parameters.toStdString())) {
        arguments << QString::fromStdString(argument);
    }
    return arguments;
}

// Swallows user input (and close requests) while a program runs in the
// foreground; paint and timer events still go through.
class InputBlocker : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::Close:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

bool QtLauncher::StartProgram(const QString& program, const QString& parameters)
{
    return QProcess::startDetached(program, splitParameters(parameters));
}

bool QtLauncher::OpenDocument(const QString& path)
{
    // xdg-open reports success for a file that is not there; look first.
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool QtLauncher::RunAndWait(const QString& program, QWidget* window)
{
    QProcess process;
    process.setProgram(program);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    // A process group of its own, so that an interrupt from the terminal
    // that started the editor does not reach it.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted(-1)) {
        return false;
    }
    InputBlocker blocker;
    QCoreApplication::instance()->installEventFilter(&blocker);
    while (!process.waitForFinished(500) && process.state() != QProcess::NotRunning) {
        if (window != nullptr) {
            window->repaint();
        }
        // The blocker drops the input that arrived meanwhile, so that no
        // click is replayed once the program has ended.
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&blocker);
    return true;
}

} // namespace tessaron
