#pragma once

#include "common/Launcher.h"

namespace tessaron {

// QProcess for programs, QDesktopServices for documents.
class QtLauncher : public Launcher
{
public:
    bool StartProgram(const QString& program, const QString& parameters) override;
    bool OpenDocument(const QString& path) override;
    bool RunAndWait(const QString& program, QWidget* window) override;
};

} // namespace tessaron
