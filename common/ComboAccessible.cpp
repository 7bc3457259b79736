#include "ComboAccessible.h"

#include "Accessibility.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>

namespace tessaron {

TComboAccessible::TComboAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox)
{
}

QComboBox* TComboAccessible::list() const
{
    return static_cast<QComboBox*>(widget());
}

QAccessibleInterface* TComboAccessible::child(int index) const
{
    if (index == 0) {
        return QAccessible::queryAccessibleInterface(list()->view());
    }
    if (index == 1 && list()->isEditable()) {
        return QAccessible::queryAccessibleInterface(list()->lineEdit());
    }
    return nullptr;
}

int TComboAccessible::childCount() const
{
    return list()->isEditable() ? 2 : 1;
}

QAccessibleInterface* TComboAccessible::childAt(int x, int y) const
{
    if (list()->isEditable() && list()->lineEdit()->rect().contains(x, y)) {
        return child(1);
    }
    return nullptr;
}

int TComboAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child->object() == list()->view()) {
        return 0;
    }
    if (list()->isEditable() && child->object() == list()->lineEdit()) {
        return 1;
    }
    return -1;
}

QAccessibleInterface* TComboAccessible::focusChild() const
{
    // An editable list passes its focus to its editor.
    return list()->isEditable() ? child(1) : nullptr;
}

QString TComboAccessible::text(QAccessible::Text t) const
{
    const QString entry = list()->isEditable() ? list()->lineEdit()->text() : list()->currentText();
    switch (t) {
    case QAccessible::Name: {
        // The bus tells a list's entry only through its name (Qt's bridge
        // announces a new entry as a new name): the label, then the entry.
        const QString label = SpokenText(QAccessibleWidget::text(t));
        if (label.isEmpty() || entry.isEmpty()) {
            return label.isEmpty() ? entry : label;
        }
        return label + QStringLiteral(": ") + entry;
    }
    case QAccessible::Value:
        return entry;
    case QAccessible::Accelerator:
        return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State TComboAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = list()->view()->isVisible();
    state.editable = list()->isEditable();
    return state;
}

QStringList TComboAccessible::actionNames() const
{
    return {showMenuAction(), pressAction()};
}

void TComboAccessible::doAction(const QString& actionName)
{
    if (actionName != showMenuAction() && actionName != pressAction()) {
        return;
    }
    if (list()->view()->isVisible()) {
        list()->hidePopup();
    } else {
        list()->showPopup();
    }
}

QStringList TComboAccessible::keyBindingsForAction(const QString&) const
{
    return {};
}

} // namespace tessaron
