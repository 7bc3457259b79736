#pragma once

#include <QLineEdit>

namespace tessaron {

// edManualInput: takes only the digits of its number base (decimal 0-9, at
// most 3; hexadecimal 0-9 and A-F, at most 2, a-f typed as A-F) and Backspace.
// Enter is reported instead of being typed.
class TManualInputEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TManualInputEdit(QWidget* parent = nullptr);

    bool Hexadecimal() const { return m_hexadecimal; }
    // Switches the base: sets the length limit and empties the field.
    void SetHexadecimal(bool hexadecimal);

    // The field's value: -1 when empty; decimal values may exceed 255.
    int Value() const;

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_hexadecimal = false;
};

} // namespace tessaron
