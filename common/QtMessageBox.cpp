#include "QtMessageBox.h"

#include <QMessageBox>

namespace tessaron {

QtMessageBox::QtMessageBox(QWidget* parent) : m_parent(parent) {}

void QtMessageBox::Error(const QString& caption, const QString& text)
{
    QMessageBox::critical(m_parent, caption, text, QMessageBox::Ok);
}

void QtMessageBox::Information(const QString& caption, const QString& text)
{
    QMessageBox::information(m_parent, caption, text, QMessageBox::Ok);
}

bool QtMessageBox::ConfirmYesNo(const QString& caption, const QString& text)
{
    return QMessageBox::question(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

MessageAnswer QtMessageBox::ConfirmYesNoCancel(const QString& caption, const QString& text)
{
    const auto answer = QMessageBox::question(
        m_parent, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    switch (answer) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

} // namespace tessaron
