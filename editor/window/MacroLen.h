#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaron {

// The modeless notice that in Line Edit mode the keypad uses only the first
// character of a macro. Created once; closing only hides it.
class TfrmMacroLenWarning : public QDialog
{
    Q_OBJECT

public:
    static constexpr int FormWidth = 315;
    static constexpr int FormHeight = 212;
    static constexpr int ShortMemoHeight = 40;
    static constexpr int LongMemoHeight = 105;

    explicit TfrmMacroLenWarning(QWidget* parent = nullptr);

    // The first paragraph (short form) or the whole text; shows the window or
    // brings it to the front with the new length, never taking the keyboard
    // focus from the window the user types in.
    void ShowLengthWarning(bool longForm);

    // The warning's seven lines; the short form is the first three.
    static QString WarningText(bool longForm);

signals:
    // OK was pressed with "Don't show this message again" ticked.
    void dontShowAgain();

protected:
    bool event(QEvent* event) override;

private:
    void okClicked();
    void centreOnScreen();

    // The window the user was typing in when the warning came up: a desktop
    // that activates the warning anyway gets the activation handed back.
    QPointer<QWidget> m_typingWindow;

    QLabel* m_imgWarning;
    QPlainTextEdit* m_memo;
    QCheckBox* m_checkBox;
    QPushButton* m_btnOk;
};

} // namespace tessaron
