#include "KeyboardTestWindow.h"

#include "common/Accessibility.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tessaron {

namespace {

enum Column
{
    EventColumn,
    KeyColumn,
    TextColumn,
    CodeColumn,
    ScanColumn,
    ModifiersColumn,
    Columns,
};

QString modifierText(Qt::KeyboardModifiers m)
{
    QStringList names;
    if (m & Qt::ShiftModifier) {
        names << QStringLiteral("Shift");
    }
    if (m & Qt::ControlModifier) {
        names << QStringLiteral("Ctrl");
    }
    if (m & Qt::AltModifier) {
        names << QStringLiteral("Alt");
    }
    if (m & Qt::MetaModifier) {
        names << QStringLiteral("Meta");
    }
    if (m & Qt::KeypadModifier) {
        names << QStringLiteral("Keypad");
    }
    return names.join(QLatin1Char('+'));
}

} // namespace

TKeyboardTestWindow::TKeyboardTestWindow(QWidget* parent) : QWidget(parent)
{
    InstallAccessibility();
    setObjectName(QStringLiteral("frmRuskel"));
    setWindowTitle(QStringLiteral("Ruskel - Keyboard Test"));

    m_lblHint = new QLabel(QStringLiteral("Press keys on the keypad: every key it sends to the "
                                          "PC is listed below."),
                           this);
    m_lblHint->setWordWrap(true);
    m_tblKeys = new QTableWidget(0, Columns, this);
    m_tblKeys->setObjectName(QStringLiteral("tblKeys"));
    m_tblKeys->setHorizontalHeaderLabels(
        {QStringLiteral("Event"), QStringLiteral("Key"), QStringLiteral("Text"),
         QStringLiteral("Key code"), QStringLiteral("Scan code"), QStringLiteral("Modifiers")});
    m_tblKeys->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tblKeys->setSelectionMode(QAbstractItemView::NoSelection);
    m_tblKeys->verticalHeader()->setVisible(false);
    m_tblKeys->horizontalHeader()->setStretchLastSection(true);
    m_tblKeys->setAccessibleName(QStringLiteral("Key events"));
    m_tblKeys->installEventFilter(this);
    m_lblHint->setBuddy(m_tblKeys);

    m_btnClear = new QPushButton(QStringLiteral("Clear"), this);
    m_btnClear->setObjectName(QStringLiteral("btnClear"));
    // Keys must reach the list, never press this button.
    m_btnClear->setFocusPolicy(Qt::NoFocus);
    connect(m_btnClear, &QPushButton::clicked, this, [this] { m_tblKeys->setRowCount(0); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblHint);
    layout->addWidget(m_tblKeys, 1);
    layout->addWidget(m_btnClear, 0, Qt::AlignRight);
    resize(640, 420);
    m_tblKeys->setFocus();
}

QString TKeyboardTestWindow::KeyName(int key)
{
    const char* name = QMetaEnum::fromType<Qt::Key>().valueToKey(key);
    if (name == nullptr) {
        return key == 0 ? QStringLiteral("(unknown)") : QStringLiteral("0x%1").arg(key, 0, 16);
    }
    QString text = QString::fromLatin1(name);
    if (text.startsWith(QLatin1String("Key_"))) {
        text.remove(0, 4);
    }
    return text;
}

QString TKeyboardTestWindow::VisibleText(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            out += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        } else if (c == QLatin1Char(' ')) {
            out += QStringLiteral("<space>");
        } else {
            out += c;
        }
    }
    return out;
}

bool TKeyboardTestWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tblKeys) {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // No shortcut may take a key away from the list.
            event->accept();
            return true;
        case QEvent::KeyPress:
            record(static_cast<QKeyEvent&>(*event), true);
            return true;
        case QEvent::KeyRelease:
            record(static_cast<QKeyEvent&>(*event), false);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TKeyboardTestWindow::record(const QKeyEvent& event, bool press)
{
    if (m_tblKeys->rowCount() >= MaxRows) {
        m_tblKeys->removeRow(0);
    }
    const int row = m_tblKeys->rowCount();
    m_tblKeys->insertRow(row);
    const QString kind = !press                 ? QStringLiteral("release")
                         : event.isAutoRepeat() ? QStringLiteral("repeat")
                                                : QStringLiteral("press");
    const QString cells[Columns] = {
        kind,
        KeyName(event.key()),
        VisibleText(event.text()),
        QStringLiteral("0x%1").arg(event.key(), 2, 16, QLatin1Char('0')),
        QString::number(event.nativeScanCode()),
        modifierText(event.modifiers()),
    };
    for (int c = 0; c < Columns; ++c) {
        m_tblKeys->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    m_tblKeys->scrollToBottom();
}

int TKeyboardTestWindow::Rows() const
{
    return m_tblKeys->rowCount();
}

QString TKeyboardTestWindow::Cell(int row, int column) const
{
    const QTableWidgetItem* item = m_tblKeys->item(row, column);
    return item != nullptr ? item->text() : QString();
}

} // namespace tessaron
