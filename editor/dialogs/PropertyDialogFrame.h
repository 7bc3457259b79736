#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessaron {

// The frame that the three property dialogs share for now: a caption, a body
// and the OK, Cancel and Apply buttons. OK and Apply start disabled at every
// opening, as nothing has been changed yet.
class TPropertyDialogFrame : public QDialog
{
    Q_OBJECT

public:
    TPropertyDialogFrame(const char* objectName, const QString& caption, QWidget* parent);

    QPushButton* OkButton() const { return m_btnOK; }
    QPushButton* ApplyButton() const { return m_btnApply; }
    QPushButton* CancelButton() const { return m_btnCancel; }

protected:
    void showEvent(QShowEvent* event) override;
    // The area above the buttons.
    QWidget* Body() const { return m_body; }

private:
    QWidget* m_body;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    QPushButton* m_btnApply;
};

} // namespace tessaron
