#include "ValueLabel.h"

#include "Accessibility.h"

#include <QAccessibleWidget>

namespace tessaron {

namespace {

class TValueLabelAccessible : public QAccessibleWidget
{
public:
    explicit TValueLabelAccessible(TValueLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<const TValueLabel*>(widget())->SpokenName();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
};

} // namespace

// The base is made without text: Qt makes a label's interface when its text
// is first set, and it must be made for this class.
TValueLabel::TValueLabel(const QString& value, QLabel* caption, QWidget* parent)
    : QLabel(parent), m_caption(caption)
{
    setText(value);
}

QString TValueLabel::SpokenName() const
{
    const QString value = text().simplified();
    if (m_caption.isNull() || SpokenText(m_caption->text()).isEmpty()) {
        return value;
    }
    return SpokenText(m_caption->text()) + QStringLiteral(": ") + value;
}

QAccessibleInterface* TValueLabel::MakeAccessible(TValueLabel* label)
{
    return new TValueLabelAccessible(label);
}

} // namespace tessaron
