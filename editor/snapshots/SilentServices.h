#pragma once

// Services for running the main window without a user: nothing is asked,
// opened or started, questions are answered No. Used by the snapshot tool and
// the benchmarks.

#include "common/DialogRunner.h"
#include "common/FileDialog.h"
#include "common/KeyboardState.h"
#include "common/Launcher.h"
#include "common/MessageBox.h"
#include "editor/window/MainServices.h"

namespace tessaron {

class SilentServices
{
public:
    TMainServices Services() { return {m_messages, m_files, m_programs, m_keyboard, m_dialogs}; }

private:
    struct Messages : MessageBox
    {
        void Error(const QString&, const QString&) override {}
        void Information(const QString&, const QString&) override {}
        bool ConfirmYesNo(const QString&, const QString&) override { return false; }
        MessageAnswer ConfirmYesNoCancel(const QString&, const QString&) override
        {
            return MessageAnswer::No;
        }
    };
    struct Files : FileDialog
    {
        QString OpenFileName(const FileDialogOptions&) override { return {}; }
        QString SaveFileName(const FileDialogOptions&) override { return {}; }
    };
    struct Programs : Launcher
    {
        bool StartProgram(const QString&, const QString&) override { return false; }
        bool OpenDocument(const QString&) override { return false; }
        bool RunAndWait(const QString&, QWidget*) override { return false; }
    };
    struct Keyboard : KeyboardState
    {
        bool CtrlDown() const override { return false; }
        bool ShiftDown() const override { return false; }
        bool CapsLockOn() const override { return false; }
    };
    struct Dialogs : DialogRunner
    {
        int Run(QDialog&) override { return 0; }
    };

    Messages m_messages;
    Files m_files;
    Programs m_programs;
    Keyboard m_keyboard;
    Dialogs m_dialogs;
};

} // namespace tessaron
