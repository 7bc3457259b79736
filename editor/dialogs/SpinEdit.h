#pragma once

#include <QSpinBox>

namespace tessaron {

// A numeric field as the dialogs' users know it: any text may be typed, and
// when the field is left its value is clamped to the range, a text that is not
// a number reading as the minimum. The arrows step by the field's increment.
class TSpinEdit : public QSpinBox
{
    Q_OBJECT

public:
    TSpinEdit(QWidget* parent, int minimum, int maximum, int step = 1);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    int valueFromText(const QString& text) const override;

private:
    int clamped(const QString& text) const;
};

} // namespace tessaron
