#pragma once

#include "common/MessageBox.h"

#include <iosfwd>

namespace tessaron {

// Message boxes where no window can be seen (offscreen, minimal): each one is
// a line on standard error, and every question is answered No (Cancel).
class TConsoleMessageBox : public MessageBox
{
public:
    explicit TConsoleMessageBox(std::ostream& err) : m_err(err) {}

    void Error(const QString& caption, const QString& text) override;
    void Information(const QString& caption, const QString& text) override;
    bool ConfirmYesNo(const QString& caption, const QString& text) override;
    MessageAnswer ConfirmYesNoCancel(const QString& caption, const QString& text) override;

private:
    void line(const QString& caption, const QString& text);

    std::ostream& m_err;
};

} // namespace tessaron
