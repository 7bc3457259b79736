#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaron {

class MessageBox;
class TPortManager;

// "Corvandelle Virtual COM Port Error": shown when the virtual ports could not
// all be made at start-up; Yes (accepted) asks for one more attempt, No
// (rejected) leaves bridging stopped.
class TFormVComFail : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* WarningPicture = "corvandelle-warning.jpg";

    TFormVComFail(TPortManager& pm, MessageBox& messages, QWidget* parent = nullptr);

    // The link "Why is this happening?".
    void Label1Click();
    // The hidden "Don't show this again": remembers the opposite as RetryOnVComFail.
    void cboxVSPortFailClick();

private:
    TPortManager& m_pm;
    MessageBox& m_messages;
    QLabel* m_imgWarning;
    QPlainTextEdit* m_memo;
    QLabel* m_label1;
    QCheckBox* m_cboxVSPortFail;
    QPushButton* m_bitBtn1;
    QPushButton* m_bitBtn2;
};

} // namespace tessaron
