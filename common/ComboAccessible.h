#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace tessaron {

// The accessibility interface of the suite's pick-lists. Qt names a list on
// Linux after its current entry alone, so that two lists showing "9600" sound
// alike; here a list is named "<label>: <entry>" ("Baud Rate: 9600", the label
// its own name or its buddy label's, see LabelFor), and the entry is also its
// value. The rest is Qt's: the drop-down list as first child, the editor of an
// editable list as second, Press and Show Menu open it.
class TComboAccessible : public QAccessibleWidget
{
public:
    explicit TComboAccessible(QComboBox* list);

    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QComboBox* list() const;
};

} // namespace tessaron
