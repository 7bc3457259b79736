#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tessaron {

class MessageBox;
class TPortManager;

// "Corvandelle - View/Assign Tessaron COM Port(s)": the attached keypads with
// their link, version text and port, and the assignment of virtual ports to USB
// keypads. Runs only while bridging is stopped: it opens the keypads itself,
// asks each for its identification, tells each its row and port, and closes
// them all again when the user is finished. Made once and reused.
class TConfigForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Rows = 6;

    TConfigForm(TPortManager& pm, MessageBox& messages, QWidget* parent = nullptr);

    // Removes the ports earlier runs left behind; called first on every showing.
    std::function<void()> ResetVirtualPorts;

    // The row whose "Set Com Port..." button was pressed last.
    int CurrentRow = 0;

    void FormShow();
    void RefreshRows();
    void ShowRow(int row);
    void btnSearchClick();
    void btnFinishedClick();
    void btnKeypadClick();
    void ComClick(int port);
    // Where the port menu opens: right of btnKeypad1, at the form's top edge.
    QPoint PopupPoint() const;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape or the window manager's close act like "&Finshed", so that no
    // keypad is left open.
    void reject() override;

private:
    struct Row
    {
        QLabel* lblKeypad;
        QLineEdit* edLocation;
        QLineEdit* edKeypad;
        QLineEdit* edCom;
        QPushButton* btnKeypad;
    };

    void setLabelColour(int row, const QColor& colour);
    bool storeAssignment(int port, const char* identity);

    TPortManager& m_pm;
    MessageBox& m_messages;
    QPlainTextEdit* m_memo;
    std::array<Row, Rows> m_rows{};
    QPushButton* m_btnSearch;
    QPushButton* m_btnFinished;
    QMenu* m_popup;
    std::array<QAction*, 17> m_portItems{};
    bool m_finishing = false;
};

} // namespace tessaron
