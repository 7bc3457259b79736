#pragma once

// What a screen reader hears of the suite's controls, as the accessibility
// bus reports it: buttons by their captions (TButtonAccessible), lists by
// their labels (TComboAccessible), value labels with their captions
// (TValueLabel).

#include <QString>

class QLabel;
class QWidget;

namespace tessaron {

// Gives every control made from now on these interfaces. Each program's main
// window calls it before it makes a control; more calls change nothing.
void InstallAccessibility();

// label names field: its text becomes the field's accessible name (Qt's own
// lists and tables take no name from a label), and the label keeps it so
// when relabelled.
void LabelFor(QLabel* label, QWidget* field);
void Relabel(QLabel* label, const QString& text);

// A caption or label as spoken: without its mnemonic marker ("&&" is a
// plain "&"), its padding or a colon at its end, a row of dots a pause.
QString SpokenText(const QString& caption);

} // namespace tessaron
