#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

namespace tessaron {

// The accessibility interface of the suite's buttons, check boxes and radio
// buttons. A button is spoken by its own caption, also inside a titled group
// (where Qt would give it the group's title), optionally after a qualifier
// ("Green LED" "Off"). Its "Press" and "Toggle" actions click the button, so
// a screen reader or an automation tool has exactly the effect of a mouse
// click (Qt's own interface toggles a checkable button without a click,
// which the window never hears of).
class TButtonAccessible : public QAccessibleWidget
{
public:
    explicit TButtonAccessible(QAbstractButton* button);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // The button is spoken "<qualifier> <caption>", with the caption it has
    // whenever it is read: a caption that changes needs no new name.
    static void Qualify(QAbstractButton* button, const QString& qualifier);

private:
    QAbstractButton* button() const;
};

} // namespace tessaron
