#pragma once

#include <QString>

namespace tessaron {

enum class MessageAnswer
{
    Ok,
    Yes,
    No,
    Cancel,
};

// The message boxes both programs show: error and information with an OK
// button, and confirmation questions. Every box goes through this interface so
// that a test can answer it in advance and see what was shown.
class MessageBox
{
public:
    virtual ~MessageBox() = default;

    // Error box (error icon, OK).
    virtual void Error(const QString& caption, const QString& text) = 0;
    // Information box (information icon, OK).
    virtual void Information(const QString& caption, const QString& text) = 0;
    // Question box (question icon) with Yes and No: true for Yes.
    virtual bool ConfirmYesNo(const QString& caption, const QString& text) = 0;
    // Question box with Yes, No and Cancel; closing the box counts as Cancel.
    virtual MessageAnswer ConfirmYesNoCancel(const QString& caption, const QString& text) = 0;
};

} // namespace tessaron
