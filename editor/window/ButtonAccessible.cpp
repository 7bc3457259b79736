#include "ButtonAccessible.h"

#include <QAbstractButton>
#include <QCheckBox>
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

QAccessibleInterface* buttonFactory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        return new TButtonAccessible(button);
    }
    return nullptr;
}

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
    QString text = QAccessibleWidget::text(t);
    if (!text.isEmpty()) {
        return text;
    }
    switch (t) {
    case QAccessible::Name: {
        // The caption, without its mnemonic's "&" and the blanks that pad it.
        QString caption = button()->text().trimmed();
        caption.remove(QLatin1Char('&'));
        return caption;
    }
    case QAccessible::Description:
        return button()->toolTip();
    default:
        return text;
    }
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

void TButtonAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&buttonFactory);
        return true;
    }();
    (void)installed;
}

} // namespace tessaron
