#include "ButtonAccessible.h"

#include "Accessibility.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeySequence>
#include <QRadioButton>
#include <QToolButton>

namespace tessaron {

namespace {

QAccessible::Role roleOf(const QAbstractButton* button)
{
    if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        return QAccessible::CheckBox;
    }
    if (qobject_cast<const QRadioButton*>(button) != nullptr) {
        return QAccessible::RadioButton;
    }
    const auto* tool = qobject_cast<const QToolButton*>(button);
    if (tool != nullptr && tool->menu() != nullptr) {
        return QAccessible::ButtonMenu;
    }
    return QAccessible::Button;
}

const char* const QualifierProperty = "spokenQualifier";

} // namespace

TButtonAccessible::TButtonAccessible(QAbstractButton* button)
    : QAccessibleWidget(button, roleOf(button))
{
}

QAbstractButton* TButtonAccessible::button() const
{
    return static_cast<QAbstractButton*>(widget());
}

QAccessible::State TButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    const QAbstractButton* b = button();
    if (b->isCheckable()) {
        state.checkable = true;
        state.checked = b->isChecked();
    }
    state.pressed = b->isDown();
    return state;
}

QString TButtonAccessible::text(QAccessible::Text t) const
{
    // Qt's own text names a button without a name of its own after its
    // buddy label or its group box: the caption comes first.
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        const QString caption = SpokenText(button()->text());
        const QString qualifier = button()->property(QualifierProperty).toString();
        if (!caption.isEmpty()) {
            return qualifier.isEmpty() ? caption : qualifier + QLatin1Char(' ') + caption;
        }
    }
    if (t == QAccessible::Accelerator) {
        // Alt and the caption's mnemonic, "&Apply" Alt+A.
        return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
    }
    const QString text = QAccessibleWidget::text(t);
    if (text.isEmpty() && t == QAccessible::Description) {
        return button()->toolTip();
    }
    return text;
}

QStringList TButtonAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled()) {
        names << pressAction();
        if (button()->isCheckable()) {
            names << toggleAction();
        }
    }
    return names + QAccessibleWidget::actionNames();
}

void TButtonAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() || actionName == toggleAction()) {
        if (widget()->isEnabled()) {
            button()->click();
        }
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList TButtonAccessible::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction() && !button()->shortcut().isEmpty()) {
        return {button()->shortcut().toString(QKeySequence::NativeText)};
    }
    return {};
}

void TButtonAccessible::Qualify(QAbstractButton* button, const QString& qualifier)
{
    button->setProperty(QualifierProperty, SpokenText(qualifier));
    QAccessibleEvent event(button, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace tessaron
