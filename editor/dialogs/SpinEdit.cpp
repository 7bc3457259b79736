#include "SpinEdit.h"

#include <algorithm>

namespace tessaron {

TSpinEdit::TSpinEdit(QWidget* parent, int minimum, int maximum, int step) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setSingleStep(step);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setAccelerated(true);
}

QValidator::State TSpinEdit::validate(QString& input, int& /*pos*/) const
{
    // Anything may stand in the field while it is being typed; only a number
    // in range counts at once, the rest is settled when the field is left.
    bool ok = false;
    const int value = input.trimmed().toInt(&ok);
    return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                          : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const
{
    input = QString::number(clamped(input));
}

int TSpinEdit::valueFromText(const QString& text) const
{
    return clamped(text);
}

int TSpinEdit::clamped(const QString& text) const
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok) {
        return minimum();
    }
    return static_cast<int>(std::clamp<qlonglong>(value, minimum(), maximum()));
}

} // namespace tessaron
