// Draws the pictures of Plindorax's property dialogs as PPM files (turned into
// JPEG by scripts/dialog-pictures.sh): the LCD panel behind the line editors, a
// DB-9 connector, a barcode, a magnetic card and a keyboard wedge.
//   dialog-pictures <output folder>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

QImage canvas(int w, int h, QColor background = QColor(236, 236, 236))
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// The LCD module: bezel, green glass and the faint 5x8 dot cells of two lines
// of 16 characters. The dialogs put their line editors over the two rows; the
// geometry is repeated in LcdPanel.h.
QImage lcdPanel()
{
    QImage image = canvas(320, 96, QColor(40, 96, 52));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Circuit board with mounting holes.
    for (const QPointF hole : {QPointF(9, 9), QPointF(311, 9), QPointF(9, 87), QPointF(311, 87)}) {
        p.setBrush(QColor(200, 190, 120));
        p.setPen(Qt::NoPen);
        p.drawEllipse(hole, 6, 6);
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(hole, 3, 3);
    }
    // Bezel.
    QLinearGradient bezel(0, 6, 0, 90);
    bezel.setColorAt(0, QColor(70, 70, 74));
    bezel.setColorAt(1, QColor(28, 28, 30));
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(18, 6, 284, 84), 5, 5);
    // Glass.
    QLinearGradient glass(0, 14, 0, 82);
    glass.setColorAt(0, QColor(172, 206, 70));
    glass.setColorAt(1, QColor(140, 180, 50));
    p.setBrush(glass);
    p.drawRect(QRectF(26, 14, 268, 68));
    // Dot cells: 16 characters of 15 x 24 pixels from (32, 20) and (32, 52).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 166, 44));
    for (int row = 0; row < 2; ++row) {
        for (int c = 0; c < 16; ++c) {
            const double x0 = 32 + c * 16.0;
            const double y0 = 20 + row * 32.0;
            for (int dy = 0; dy < 8; ++dy) {
                for (int dx = 0; dx < 5; ++dx) {
                    p.drawRect(QRectF(x0 + 1 + dx * 2.6, y0 + 1 + dy * 2.8, 2.0, 2.2));
                }
            }
        }
    }
    // A glint across the glass.
    QLinearGradient glint(26, 14, 140, 82);
    glint.setColorAt(0, QColor(255, 255, 255, 60));
    glint.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glint);
    p.drawRect(QRectF(26, 14, 268, 68));
    return image;
}

QImage db9()
{
    QImage image = canvas(140, 90);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Flange with the two screw posts.
    QLinearGradient metal(0, 10, 0, 80);
    metal.setColorAt(0, QColor(214, 216, 220));
    metal.setColorAt(1, QColor(150, 152, 158));
    p.setPen(QPen(QColor(90, 90, 96), 1.2));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(4, 18, 132, 54), 6, 6);
    for (const double x : {16.0, 124.0}) {
        p.setBrush(QColor(120, 122, 128));
        p.drawEllipse(QPointF(x, 45), 7, 7);
        p.setBrush(QColor(60, 60, 64));
        p.drawEllipse(QPointF(x, 45), 3.5, 3.5);
    }
    // D-shaped shell and its insulator.
    auto shell = [](double inset) {
        QPainterPath path;
        path.moveTo(30 + inset, 24 + inset);
        path.lineTo(110 - inset, 24 + inset);
        path.lineTo(102 - inset, 66 - inset);
        path.lineTo(38 + inset, 66 - inset);
        path.closeSubpath();
        return path;
    };
    p.setBrush(metal);
    p.drawPath(shell(0));
    p.setBrush(QColor(34, 52, 96));
    p.drawPath(shell(4));
    // Pins 1-5 above, 6-9 below, lit from just above their centres.
    p.setPen(Qt::NoPen);
    auto pin = [&p](QPointF centre) {
        QRadialGradient gold(centre - QPointF(0, 1), 4);
        gold.setColorAt(0, QColor(255, 236, 150));
        gold.setColorAt(1, QColor(190, 150, 40));
        p.setBrush(gold);
        p.drawEllipse(centre, 3.4, 3.4);
    };
    for (int i = 0; i < 5; ++i) {
        pin(QPointF(44 + i * 13, 37));
    }
    for (int i = 0; i < 4; ++i) {
        pin(QPointF(50.5 + i * 13, 54));
    }
    p.setPen(QColor(60, 60, 60));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    p.drawText(QRectF(0, 74, 140, 14), Qt::AlignCenter, QStringLiteral("RS-232  DB-9"));
    return image;
}

QImage barcode()
{
    QImage image = canvas(150, 90);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 8, 134, 74), 4, 4);
    // Bars from a fixed pattern of widths (1 to 3 units), quiet zones kept.
    static const char pattern[] = "1113212231121312221131232112211321311211231321121111";
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    double x = 18;
    bool bar = true;
    for (const char* c = pattern; *c != '\0' && x < 132; ++c) {
        const double w = (*c - '0') * 1.45;
        if (bar) {
            p.drawRect(QRectF(x, 16, w, 46));
        }
        x += w;
        bar = !bar;
    }
    p.setPen(QColor(20, 20, 20));
    p.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
    p.drawText(QRectF(8, 63, 134, 16), Qt::AlignCenter, QStringLiteral("0 12345 67890 5"));
    // The scanner's line.
    p.setPen(QPen(QColor(230, 30, 30, 200), 2));
    p.drawLine(QPointF(12, 38), QPointF(138, 38));
    return image;
}

QImage magneticCard()
{
    QImage image = canvas(150, 95);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 150, 95);
    face.setColorAt(0, QColor(54, 104, 176));
    face.setColorAt(1, QColor(22, 52, 108));
    p.setPen(QPen(QColor(16, 36, 80), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(6, 8, 138, 80), 7, 7);
    // The stripe with its two tracks hinted.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 20, 18));
    p.drawRect(QRectF(6, 18, 138, 18));
    p.setBrush(QColor(60, 54, 50));
    p.drawRect(QRectF(6, 23, 138, 1));
    p.drawRect(QRectF(6, 29, 138, 1));
    // Signature panel and a swipe arrow.
    p.setBrush(QColor(236, 232, 220));
    p.drawRect(QRectF(16, 46, 78, 14));
    p.setPen(QPen(QColor(255, 210, 80), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 74), QPointF(120, 74));
    QPainterPath head;
    head.moveTo(128, 74);
    head.lineTo(116, 67);
    head.lineTo(116, 81);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 80));
    p.drawPath(head);
    return image;
}

QImage wedge()
{
    QImage image = canvas(150, 90);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Cables: in from the external device on the left, out to the keypad on the right.
    p.setPen(QPen(QColor(40, 40, 40), 4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath in;
    in.moveTo(4, 20);
    in.cubicTo(30, 20, 24, 45, 48, 45);
    p.drawPath(in);
    QPainterPath out;
    out.moveTo(102, 45);
    out.cubicTo(126, 45, 120, 70, 146, 70);
    p.drawPath(out);
    // The wedge's box.
    QLinearGradient box(0, 28, 0, 62);
    box.setColorAt(0, QColor(120, 124, 132));
    box.setColorAt(1, QColor(70, 72, 80));
    p.setPen(QPen(QColor(40, 40, 44), 1));
    p.setBrush(box);
    p.drawRoundedRect(QRectF(46, 28, 58, 34), 5, 5);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
    p.drawText(QRectF(46, 28, 58, 34), Qt::AlignCenter, QStringLiteral("WEDGE"));
    // Plugs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 170, 176));
    p.drawRect(QRectF(0, 14, 8, 12));
    p.drawRect(QRectF(142, 64, 8, 12));
    // Data direction.
    p.setPen(QPen(QColor(40, 140, 60), 2));
    p.drawLine(QPointF(60, 76), QPointF(88, 76));
    p.drawLine(QPointF(88, 76), QPointF(82, 72));
    p.drawLine(QPointF(88, 76), QPointF(82, 80));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog-pictures <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const struct
    {
        const char* name;
        QImage image;
    } pictures[] = {
        {"lcd-panel", lcdPanel()},     {"host-db9", db9()},
        {"reader-barcode", barcode()}, {"reader-magcard", magneticCard()},
        {"reader-wedge", wedge()},
    };
    for (const auto& picture : pictures) {
        const QString path =
            folder + QLatin1Char('/') + QLatin1String(picture.name) + QStringLiteral(".ppm");
        if (!picture.image.convertToFormat(QImage::Format_RGB888).save(path, "PPM")) {
            std::fprintf(stderr, "dialog-pictures: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
