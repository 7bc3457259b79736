#include "editor/window/ModifierImageList.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaron {

namespace {

// An upward block arrow, the usual sign for Shift.
QPainterPath shiftArrow(double left, double top, double width, double height)
{
    const double mid = left + width / 2.0;
    const double stem = width * 0.22;
    const double headBottom = top + height * 0.55;
    QPainterPath path;
    path.moveTo(mid, top);
    path.lineTo(left + width, headBottom);
    path.lineTo(mid + stem, headBottom);
    path.lineTo(mid + stem, top + height);
    path.lineTo(mid - stem, top + height);
    path.lineTo(mid - stem, headBottom);
    path.lineTo(left, headBottom);
    path.closeSubpath();
    return path;
}

void drawLevelShift(QPainter& p)
{
    // Held down: a solid blue shift arrow.
    p.setPen(QPen(QColor(0, 40, 120), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(QColor(40, 110, 230));
    p.drawPath(shiftArrow(1.5, 1.0, 13.0, 14.0));
}

void drawLevelToggle(QPainter& p)
{
    // Switches after release: an up arrow and a down arrow side by side.
    p.setPen(QPen(QColor(130, 60, 0), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(QColor(255, 150, 20));
    p.drawPath(shiftArrow(0.5, 1.0, 8.0, 13.0));
    QTransform flip;
    flip.translate(0, 16);
    flip.scale(1, -1);
    p.drawPath(flip.map(shiftArrow(7.5, 1.0, 8.0, 13.0)));
}

void drawAlphaToggle(QPainter& p)
{
    // Alphabetic mode: a white "A" on a purple key top.
    p.setPen(QPen(QColor(70, 0, 90), 1.0));
    p.setBrush(QColor(150, 40, 190));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 3.0, 3.0);
    QFont font;
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
}

} // namespace

QPixmap ModifierImageList::Icon(int keyType)
{
    if (keyType < 1 || keyType >= Count) {
        return QPixmap();
    }
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (keyType) {
    case 1:
        drawLevelShift(p);
        break;
    case 2:
        drawLevelToggle(p);
        break;
    default:
        drawAlphaToggle(p);
        break;
    }
    return pixmap;
}

} // namespace tessaron
