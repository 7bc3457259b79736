#include "Accessibility.h"

#include "ButtonAccessible.h"
#include "ComboAccessible.h"
#include "ValueLabel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>

namespace tessaron {

namespace {

// Qt asks first with the object's own class name, before its own factory
// answers for that class; the answer is kept for the object's life.
QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        return new TButtonAccessible(button);
    }
    if (auto* list = qobject_cast<QComboBox*>(object)) {
        return new TComboAccessible(list);
    }
    if (auto* label = qobject_cast<TValueLabel*>(object)) {
        return TValueLabel::MakeAccessible(label);
    }
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    // Qt ignores a factory it already has.
    QAccessible::installFactory(&factory);
}

void LabelFor(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    field->setAccessibleName(SpokenText(label->text()));
}

void Relabel(QLabel* label, const QString& text)
{
    label->setText(text);
    if (QWidget* field = label->buddy()) {
        field->setAccessibleName(SpokenText(text));
    }
}

QString SpokenText(const QString& caption)
{
    QString text = caption;
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    // A row of dots leads the eye, not the ear: a pause between words, nothing
    // at either end ("Set Com Port...").
    static const QRegularExpression dots(QStringLiteral("\\s*[.\u00B7]{3,}\\s*"));
    text.replace(dots, QStringLiteral(", "));
    text = text.simplified();
    while (text.startsWith(QLatin1Char(',')) || text.endsWith(QLatin1Char(',')) ||
           text.endsWith(QLatin1Char(':'))) {
        text = text.startsWith(QLatin1Char(',')) ? text.mid(1) : text.chopped(1);
        text = text.trimmed();
    }
    return text;
}

} // namespace tessaron
