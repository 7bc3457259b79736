#pragma once

#include <QDialog>

class QPushButton;

namespace tessaron {

// The frame that the three property dialogs share: a caption, a body and the
// "&OK", "&Cancel" and "&Apply" buttons, without a close box. Each opening runs
// FormShow; Apply runs ApplyClick, OK runs ApplyClick and closes. Cancel,
// Escape and a close request from the window manager all run CancelClick and
// close, so no way out skips it.
class TPropertyDialogFrame : public QDialog
{
    Q_OBJECT

public:
    TPropertyDialogFrame(const char* objectName, const QString& caption, QWidget* parent);

    QPushButton* OkButton() const { return m_btnOK; }
    QPushButton* ApplyButton() const { return m_btnApply; }
    QPushButton* CancelButton() const { return m_btnCancel; }

    void reject() override;

protected:
    virtual void FormShow() = 0;
    virtual void ApplyClick() = 0;
    virtual void CancelClick() = 0;

    void showEvent(QShowEvent* event) override;
    // The area above the buttons.
    QWidget* Body() const { return m_body; }
    // Called once the body is built: the buttons follow the body's controls
    // in the tab order, which is otherwise the order of construction.
    void FinishTabOrder();
    void SetOkAndApplyEnabled(bool enabled);

private:
    // A number still being typed counts before OK or Apply reads the fields.
    void settleFocusedField();

    QWidget* m_body;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    QPushButton* m_btnApply;
};

} // namespace tessaron
