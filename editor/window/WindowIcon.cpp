#include "WindowIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace tessaron {

namespace {

// A keypad body with four columns of five keys, the top row green like the
// on-screen keyboard's typeable keys, and the green and red LEDs.
QPixmap keypadPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;

    const QRectF body(10 * s, 2 * s, 44 * s, 60 * s);
    QLinearGradient shade(body.topLeft(), body.bottomRight());
    shade.setColorAt(0, QColor(70, 78, 90));
    shade.setColorAt(1, QColor(30, 34, 42));
    p.setPen(QPen(QColor(15, 15, 20), qMax(1.0, 1.5 * s)));
    p.setBrush(shade);
    p.drawRoundedRect(body, 7 * s, 7 * s);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 220, 60));
    p.drawEllipse(QPointF(20 * s, 8 * s), 2.4 * s, 2.4 * s);
    p.setBrush(QColor(235, 50, 40));
    p.drawEllipse(QPointF(27 * s, 8 * s), 2.4 * s, 2.4 * s);

    const qreal key = 7.5 * s;
    const qreal pitch = 9.5 * s;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRectF cap(14.5 * s + column * pitch, 14 * s + row * pitch, key, key);
            p.setBrush(row == 0 ? QColor(134, 214, 118) : QColor(226, 226, 226));
            p.setPen(QPen(QColor(20, 20, 20), qMax(0.6, 0.8 * s)));
            p.drawRoundedRect(cap, 1.5 * s, 1.5 * s);
        }
    }
    return pixmap;
}

} // namespace

QIcon PlindoraxIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(keypadPicture(size));
    }
    return icon;
}

} // namespace tessaron
