#include "ConsoleMessageBox.h"

#include <ostream>

namespace tessaron {

void TConsoleMessageBox::line(const QString& caption, const QString& text)
{
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_err << caption.toStdString() << ": " << oneLine.toStdString() << std::endl;
}

void TConsoleMessageBox::Error(const QString& caption, const QString& text)
{
    line(caption, text);
}

void TConsoleMessageBox::Information(const QString& caption, const QString& text)
{
    line(caption, text);
}

bool TConsoleMessageBox::ConfirmYesNo(const QString& caption, const QString& text)
{
    line(caption, text);
    return false;
}

MessageAnswer TConsoleMessageBox::ConfirmYesNoCancel(const QString& caption, const QString& text)
{
    line(caption, text);
    return MessageAnswer::Cancel;
}

} // namespace tessaron
