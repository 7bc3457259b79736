#include "ManualInputEdit.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace tessaron {

namespace {

const QRegularExpression DecimalDigits(QStringLiteral("[0-9]{0,3}"));
const QRegularExpression HexDigits(QStringLiteral("[0-9A-F]{0,2}"));

} // namespace

TManualInputEdit::TManualInputEdit(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("edManualInput"));
    // The validator also keeps pasted text to the allowed digits.
    setValidator(new QRegularExpressionValidator(DecimalDigits, this));
    setMaxLength(3);
}

void TManualInputEdit::SetHexadecimal(bool hexadecimal)
{
    m_hexadecimal = hexadecimal;
    setValidator(new QRegularExpressionValidator(hexadecimal ? HexDigits : DecimalDigits, this));
    setMaxLength(hexadecimal ? 2 : 3);
    clear();
}

int TManualInputEdit::Value() const
{
    if (text().isEmpty()) {
        return -1;
    }
    bool ok = false;
    const int value = text().toInt(&ok, m_hexadecimal ? 16 : 10);
    return ok ? value : -1;
}

void TManualInputEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit enterPressed();
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Left || key == Qt::Key_Right ||
        key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Delete || key == Qt::Key_Tab ||
        key == Qt::Key_Backtab || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (text.size() != 1) {
        event->accept();
        return;
    }
    QChar c = text.at(0);
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    bool accepted = digit;
    if (m_hexadecimal && !digit) {
        c = c.toUpper();
        accepted = c >= QLatin1Char('A') && c <= QLatin1Char('F');
    }
    if (!accepted) {
        event->accept(); // refused
        return;
    }
    insert(QString(c));
    event->accept();
}

} // namespace tessaron
