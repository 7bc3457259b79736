#pragma once

#include <QString>

class QWidget;

namespace tessaron {

// Starting the sibling programs and opening documents, the stand-in for the
// Windows shell and CreateProcess. Tests replace it by a recorder.
class Launcher
{
public:
    virtual ~Launcher() = default;

    // Starts a program without waiting. parameters is one string in the
    // Windows form (see SplitWindowsCommandLine). A program named without a
    // folder is looked for on the search path. False when it cannot start.
    virtual bool StartProgram(const QString& program, const QString& parameters) = 0;

    // Opens a document with the desktop's default application. False when the
    // document does not exist or no application takes it.
    virtual bool OpenDocument(const QString& path) = 0;

    // Runs a program without arguments and waits until it ends, looking every
    // 500 ms; meanwhile window keeps repainting and takes no input. False when
    // the program cannot start.
    virtual bool RunAndWait(const QString& program, QWidget* window) = 0;
};

} // namespace tessaron
