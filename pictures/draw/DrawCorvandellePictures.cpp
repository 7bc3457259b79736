// Draws Corvandelle's pictures and icons into the folder given as argument.
// Build and run with draw-corvandelle-pictures.sh; the results are committed.
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

QString g_folder;

void save(const QImage& image, const char* name, const char* format, int quality = -1)
{
    QImageWriter writer(g_folder + QLatin1Char('/') + QLatin1String(name), format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(writer.errorString()));
    }
}

QImage canvas(int w, int h, QColor fill = Qt::white)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

// A yellow warning triangle with an exclamation mark.
QImage attention()
{
    QImage image = canvas(128, 128);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(64, 8);
    triangle.lineTo(122, 116);
    triangle.lineTo(6, 116);
    triangle.closeSubpath();
    QLinearGradient fill(0, 8, 0, 116);
    fill.setColorAt(0, QColor(255, 226, 80));
    fill.setColorAt(1, QColor(240, 170, 20));
    p.setPen(QPen(QColor(60, 40, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 20, 0));
    p.drawRoundedRect(QRectF(57, 40, 14, 46), 6, 6);
    p.drawEllipse(QPointF(64, 100), 8, 8);
    return image;
}

// The three steps, each with a numbered disc and a small drawing.
QImage instructions()
{
    QImage image = canvas(720, 300);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QString lines[3] = {
        QStringLiteral("Close or disable all programs that use the Tessarons."),
        QStringLiteral("Make sure all Tessarons are plugged in and recognised by the PC."),
        QStringLiteral("Click OK when ready."),
    };
    const QColor colours[3] = {QColor(200, 60, 40), QColor(30, 110, 190), QColor(40, 150, 60)};
    QFont number(QStringLiteral("DejaVu Sans"));
    number.setPixelSize(30);
    number.setBold(true);
    QFont text(QStringLiteral("DejaVu Sans"));
    text.setPixelSize(24);
    for (int i = 0; i < 3; ++i) {
        const int top = 20 + i * 95;
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawEllipse(QRectF(16, top, 56, 56));
        p.setPen(Qt::white);
        p.setFont(number);
        p.drawText(QRectF(16, top, 56, 56), Qt::AlignCenter, QString::number(i + 1));
        p.setPen(QColor(30, 30, 30));
        p.setFont(text);
        p.drawText(QRectF(92, top - 8, 610, 72), Qt::AlignVCenter | Qt::TextWordWrap, lines[i]);
    }
    return image;
}

// A serial connector crossed out: the ports could not be made.
QImage warning()
{
    QImage image = canvas(128, 128);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shell;
    shell.moveTo(14, 38);
    shell.lineTo(114, 38);
    shell.lineTo(104, 90);
    shell.lineTo(24, 90);
    shell.closeSubpath();
    p.setPen(QPen(QColor(50, 50, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(190, 195, 205));
    p.drawPath(shell);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 50, 60));
    for (int i = 0; i < 5; ++i) {
        p.drawEllipse(QPointF(32 + i * 16, 54), 4.5, 4.5);
    }
    for (int i = 0; i < 4; ++i) {
        p.drawEllipse(QPointF(40 + i * 16, 74), 4.5, 4.5);
    }
    p.setPen(QPen(QColor(210, 30, 30), 11, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(64, 64), 54, 54);
    p.drawLine(QPointF(26, 26), QPointF(102, 102));
    return image;
}

void keypad(QPainter& p, const QRectF& r)
{
    QLinearGradient body(r.topLeft(), r.topRight());
    body.setColorAt(0, QColor(70, 74, 82));
    body.setColorAt(1, QColor(38, 41, 46));
    p.setPen(QPen(QColor(15, 15, 18), 2));
    p.setBrush(body);
    p.drawRoundedRect(r, r.width() * 0.1, r.width() * 0.1);
    const qreal unit = r.width() / 10;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 110));
    p.drawRect(QRectF(r.left() + unit, r.top() + unit, 8 * unit, 2.2 * unit));
    p.setBrush(QColor(60, 220, 80));
    p.drawEllipse(QPointF(r.left() + 7.2 * unit, r.top() + 4 * unit), 0.45 * unit, 0.45 * unit);
    p.setBrush(QColor(230, 50, 40));
    p.drawEllipse(QPointF(r.left() + 8.4 * unit, r.top() + 4 * unit), 0.45 * unit, 0.45 * unit);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            QRectF key(r.left() + (1 + col * 2.1) * unit, r.top() + (5 + row * 2.1) * unit,
                       1.6 * unit, 1.6 * unit);
            QLinearGradient cap(key.topLeft(), key.bottomLeft());
            cap.setColorAt(0, QColor(240, 240, 240));
            cap.setColorAt(1, QColor(175, 175, 182));
            p.setBrush(cap);
            p.drawRoundedRect(key, 0.25 * unit, 0.25 * unit);
        }
    }
}

// A keypad whose cable ends in a serial connector.
QImage about()
{
    QImage image = canvas(192, 256);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    keypad(p, QRectF(30, 12, 132, 174));
    p.setPen(QPen(QColor(40, 40, 40), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(96, 186);
    cable.cubicTo(96, 220, 40, 200, 52, 236);
    p.drawPath(cable);
    p.setPen(QPen(QColor(40, 40, 50), 3));
    p.setBrush(QColor(30, 90, 170));
    p.drawRoundedRect(QRectF(28, 226, 92, 24), 5, 5);
    p.setPen(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(28, 226, 92, 24), Qt::AlignCenter, QStringLiteral("COM"));
    return image;
}

// The LED window's background: a light panel with two raised fields.
QImage ledBackground()
{
    QImage image = canvas(236, 190);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient panel(0, 0, 0, 190);
    panel.setColorAt(0, QColor(250, 251, 253));
    panel.setColorAt(1, QColor(226, 231, 238));
    p.fillRect(image.rect(), panel);
    p.setPen(QPen(QColor(200, 206, 215), 1));
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawRoundedRect(QRectF(80.5, 4.5, 66, 180), 6, 6);
    p.drawRoundedRect(QRectF(156.5, 4.5, 74, 180), 6, 6);
    return image;
}

// The tray icons: a small keypad with a plug, green when bridging runs.
QImage trayIcon(bool connected)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 24), 1));
    p.setBrush(QColor(55, 60, 68));
    p.drawRoundedRect(QRectF(2.5, 1.5, 19, 26), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 110));
    p.drawRect(QRectF(5, 4, 13, 4));
    p.setBrush(QColor(225, 225, 225));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.drawRoundedRect(QRectF(5 + col * 4.6, 11 + row * 5, 3.4, 3.6), 0.8, 0.8);
        }
    }
    const QColor badge = connected ? QColor(30, 170, 60) : QColor(200, 40, 40);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(badge);
    p.drawEllipse(QPointF(23.5, 23.5), 7.5, 7.5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (connected) {
        p.drawLine(QPointF(19.8, 23.8), QPointF(22.6, 26.6));
        p.drawLine(QPointF(22.6, 26.6), QPointF(27.4, 20.4));
    } else {
        p.drawLine(QPointF(20.6, 20.6), QPointF(26.4, 26.4));
        p.drawLine(QPointF(26.4, 20.6), QPointF(20.6, 26.4));
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 1;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    save(attention(), "corvandelle-attention.jpg", "jpg", 92);
    save(instructions(), "corvandelle-instructions.jpg", "jpg", 92);
    save(warning(), "corvandelle-warning.jpg", "jpg", 92);
    save(about(), "corvandelle-about.jpg", "jpg", 92);
    save(ledBackground(), "corvandelle-leds.jpg", "jpg", 92);
    save(trayIcon(true), "connected.ico", "ico");
    save(trayIcon(false), "disconnected.ico", "ico");
    return 0;
}
