#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tessaron {

// Ruskel's window: every key press and release it receives, newest last, with
// the key's name, its text and its codes, for a keypad that works as a PC
// keyboard. Every key is taken, Tab and Escape included; the window closes with
// its close button (or Ctrl+Q would be a key like any other).
class TKeyboardTestWindow : public QWidget
{
    Q_OBJECT

public:
    // Rows kept; the oldest go first.
    static constexpr int MaxRows = 2000;

    explicit TKeyboardTestWindow(QWidget* parent = nullptr);

    int Rows() const;
    // Cell text of a row (columns: event, key, text, key code, scan code, modifiers).
    QString Cell(int row, int column) const;

    // How a key's name and text are shown.
    static QString KeyName(int key);
    static QString VisibleText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void record(const QKeyEvent& event, bool press);

    QLabel* m_lblHint;
    QTableWidget* m_tblKeys;
    QPushButton* m_btnClear;
};

} // namespace tessaron
