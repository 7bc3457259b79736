#include "KeyButton.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tessaron {

TKeyButton::TKeyButton(int keyIndex, QWidget* parent)
    : QAbstractButton(parent), m_keyIndex(keyIndex)
{
    setObjectName(QStringLiteral("SpeedButton%1").arg(keyIndex + 1));
    setCheckable(true);
    // Only the pressed key is in the tab chain (the panel sees to it); the
    // arrow keys move between the keys of the group.
    setAutoExclusive(true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(ButtonSize, ButtonSize);
    setText(QStringLiteral(" "));
}

void TKeyButton::SetGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    update();
}

void TKeyButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit menuRequested(m_keyIndex, event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void TKeyButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        emit menuRequested(m_keyIndex, mapToGlobal(rect().bottomLeft()));
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TKeyButton::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse button and the keys are handled above; a desktop that also
    // sends a context menu event for the Menu key would open it twice.
    event->accept();
}

void TKeyButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool down = isChecked() || isDown();
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    // The key's skirt, then its top; a pressed key sits lower and darker.
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(down ? QColor(150, 150, 150) : QColor(200, 200, 200));
    p.drawRoundedRect(outer, 4, 4);

    const QRectF top = down ? outer.adjusted(3, 4, -3, -2) : outer.adjusted(3, 2, -3, -5);
    QLinearGradient shade(top.topLeft(), top.bottomLeft());
    if (down) {
        shade.setColorAt(0, QColor(170, 190, 210));
        shade.setColorAt(1, QColor(205, 220, 235));
    } else {
        shade.setColorAt(0, QColor(252, 252, 252));
        shade.setColorAt(1, QColor(225, 225, 225));
    }
    p.setPen(QPen(down ? QColor(70, 100, 140) : QColor(160, 160, 160), 1));
    p.setBrush(shade);
    p.drawRoundedRect(top, 3, 3);

    if (!m_glyph.isNull()) {
        const QSize size = m_glyph.deviceIndependentSize().toSize();
        const QPointF at(top.center().x() - size.width() / 2.0,
                         top.center().y() - size.height() / 2.0);
        p.drawPixmap(at, m_glyph);
    }
    const QString caption = text().trimmed();
    if (!caption.isEmpty()) {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(caption.size() > 1 ? 9 : 12);
        p.setFont(font);
        p.setPen(QColor(128, 128, 128));
        // Beside a glyph the caption moves to the lower right corner.
        if (m_glyph.isNull()) {
            p.drawText(top, Qt::AlignCenter, caption);
        } else {
            p.drawText(top.adjusted(0, 0, -1, 0), Qt::AlignRight | Qt::AlignBottom, caption);
        }
    }
}

} // namespace tessaron
