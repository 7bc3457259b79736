#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

namespace tessaron {

// The accessibility interface of the editor's buttons, check boxes and radio
// buttons. Its "Press" and "Toggle" actions click the button, so a screen
// reader or an automation tool has exactly the effect of a mouse click
// (Qt's own interface toggles a checkable button without a click, which the
// window never hears of).
class TButtonAccessible : public QAccessibleWidget
{
public:
    explicit TButtonAccessible(QAbstractButton* button);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // Makes it the interface of every button of the program; once is enough.
    static void Install();

private:
    QAbstractButton* button() const;
};

} // namespace tessaron
