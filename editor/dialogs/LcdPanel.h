#pragma once

#include <QPixmap>
#include <QWidget>

class QLineEdit;

namespace tessaron {

// The keypad's LCD as the dialogs show it: the picture of the module
// (pictures/lcd-panel.jpg) with one line editor over each of its two rows of
// 16 characters. A line in use is drawn green like the glass; the second line
// of a one-line LCD is disabled and drawn black.
class TLcdPanel : public QWidget
{
    Q_OBJECT

public:
    // The line editors' object names and what a screen reader calls them.
    TLcdPanel(QWidget* parent, const char* line1Name, const char* line2Name,
              const QString& spokenName);

    QLineEdit* Line1() const { return m_line1; }
    QLineEdit* Line2() const { return m_line2; }
    void SetSecondLineInUse(bool inUse);

    // The picture's size and its two rows of characters.
    static constexpr int Width = 320;
    static constexpr int Height = 96;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QLineEdit* m_line1;
    QLineEdit* m_line2;
};

} // namespace tessaron
