#pragma once

#include "common/MessageBox.h"

#include <QPointer>
#include <QWidget>

namespace tessaron {

// The platform's standard message boxes (QMessageBox), centred over a parent
// window once one is set.
class QtMessageBox : public MessageBox
{
public:
    explicit QtMessageBox(QWidget* parent = nullptr);

    void SetParentWindow(QWidget* parent) { m_parent = parent; }

    void Error(const QString& caption, const QString& text) override;
    void Information(const QString& caption, const QString& text) override;
    bool ConfirmYesNo(const QString& caption, const QString& text) override;
    MessageAnswer ConfirmYesNoCancel(const QString& caption, const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace tessaron
