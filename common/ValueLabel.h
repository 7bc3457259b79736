#pragma once

#include <QLabel>
#include <QPointer>

class QAccessibleInterface;

namespace tessaron {

// A label that shows a value beside the label that captions it. A screen
// reader speaks both, "Bytes available for this macro: 84", with the caption
// and the value they have whenever it is read, however they were set.
class TValueLabel : public QLabel
{
    Q_OBJECT

public:
    TValueLabel(const QString& value, QLabel* caption, QWidget* parent);

    // "<caption>: <value>", or the value alone when the caption is gone.
    QString SpokenName() const;

    // Its accessibility interface (see InstallAccessibility).
    static QAccessibleInterface* MakeAccessible(TValueLabel* label);

private:
    QPointer<QLabel> m_caption;
};

} // namespace tessaron
