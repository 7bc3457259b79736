#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessaron {

// "Corvandelle Attention!": shown before the configuration dialog, it asks the
// user to close the programs that use the keypads, plug every keypad in, and
// click OK when ready.
class TEnumerateForm : public QDialog
{
    Q_OBJECT

public:
    // The pictures' files, found like every file the suite ships.
    static constexpr const char* AttentionPicture = "corvandelle-attention.jpg";
    static constexpr const char* InstructionsPicture = "corvandelle-instructions.jpg";

    explicit TEnumerateForm(QWidget* parent = nullptr);

private:
    QLabel* m_imgAttention;
    QLabel* m_imgInstructions;
    QPushButton* m_btnOK;
};

} // namespace tessaron
