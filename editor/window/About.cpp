#include "editor/window/About.h"

#include "common/FileVersion.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace tessaron {

TfrmAbout::TfrmAbout(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Plindorax"));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    m_imgProduct = new QLabel(this);
    m_imgProduct->setObjectName(QStringLiteral("imgProduct"));
    m_imgProduct->setPixmap(ProductPicture());
    m_imgProduct->setGeometry(12, 12, 80, 127);

    m_imgLogo = new QLabel(this);
    m_imgLogo->setObjectName(QStringLiteral("imgLogo"));
    m_imgLogo->setPixmap(MakerLogo());
    m_imgLogo->setGeometry(106, 10, 212, 40);

    m_lblDescription =
        new QLabel(QStringLiteral("Plindorax Redefinition Software for Tessaron 5xx"), this);
    m_lblDescription->setObjectName(QStringLiteral("lblDescription"));
    QFont bold = m_lblDescription->font();
    bold.setBold(true);
    m_lblDescription->setFont(bold);
    m_lblDescription->setWordWrap(true);
    m_lblDescription->setGeometry(106, 56, 212, 36);

    m_lblVersion = new QLabel(VersionText(OwnFileVersion()), this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setGeometry(106, 96, 120, 20);

    m_btnOk = new QPushButton(QStringLiteral("OK"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setGeometry(ClientWidth - 12 - 75, ClientHeight - 12 - 25, 75, 25);
    m_btnOk->setDefault(true);
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);

    // Centred over the main window, by its outer frame as the user sees it.
    if (mainWindow) {
        const QRect frame = mainWindow->frameGeometry();
        move(frame.left() + frame.width() / 2 - ClientWidth / 2,
             frame.top() + frame.height() / 2 - ClientHeight / 2);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + area.width() / 2 - ClientWidth / 2,
             area.top() + area.height() / 2 - ClientHeight / 2);
    }
}

QString TfrmAbout::VersionText(const std::string& fileVersion)
{
    if (fileVersion.empty()) {
        return QStringLiteral("Version NA");
    }
    return QStringLiteral("Version ") + QString::fromStdString(fileVersion.substr(0, 5));
}

void TfrmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The frame's corners are (1, 1) and (width - 1, height - 1), the far
    // corner excluded: its lines lie on x = 1, y = 1, x = width - 2, y = height - 2.
    QPainter p(this);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(1, 1, width() - 3, height() - 3));
}

QPixmap TfrmAbout::ProductPicture()
{
    // A 20-key keypad seen from the front: dark case, LCD, two LEDs, 5 x 4 keys.
    QPixmap pixmap(80, 127);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient body(0, 0, 80, 0);
    body.setColorAt(0, QColor(70, 74, 82));
    body.setColorAt(1, QColor(40, 43, 48));
    p.setPen(QPen(QColor(20, 20, 24), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 2.5, 75, 122), 7, 7);

    p.setBrush(QColor(150, 180, 110));
    p.setPen(QPen(QColor(25, 25, 25), 1.5));
    p.drawRect(QRectF(10, 10, 60, 18));
    p.setPen(QColor(40, 60, 30));
    QFont lcd;
    lcd.setPixelSize(8);
    lcd.setFamily(QStringLiteral("Monospace"));
    p.setFont(lcd);
    p.drawText(QRectF(12, 11, 56, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("READY"));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 220, 80));
    p.drawEllipse(QPointF(58, 35), 2.5, 2.5);
    p.setBrush(QColor(230, 50, 40));
    p.drawEllipse(QPointF(66, 35), 2.5, 2.5);

    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRectF key(11 + col * 15, 43 + row * 15.5, 12, 12);
            QLinearGradient cap(key.topLeft(), key.bottomLeft());
            cap.setColorAt(0, QColor(235, 235, 235));
            cap.setColorAt(1, QColor(175, 175, 180));
            p.setPen(QPen(QColor(15, 15, 15), 1));
            p.setBrush(cap);
            p.drawRoundedRect(key, 2, 2);
        }
    }
    return pixmap;
}

QPixmap TfrmAbout::MakerLogo()
{
    // The maker's mark: a blue hexagon with a white H, then "Halvorsten".
    QPixmap pixmap(212, 40);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor blue(16, 72, 150);
    QPainterPath hexagon;
    const QPointF centre(20, 20);
    for (int i = 0; i < 6; ++i) {
        const double angle = (60.0 * i - 90.0) * 3.14159265358979 / 180.0;
        const QPointF corner(centre.x() + 17 * std::cos(angle), centre.y() + 17 * std::sin(angle));
        if (i == 0) {
            hexagon.moveTo(corner);
        } else {
            hexagon.lineTo(corner);
        }
    }
    hexagon.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(hexagon);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(12, 11, 4, 18));
    p.drawRect(QRectF(24, 11, 4, 18));
    p.drawRect(QRectF(16, 18, 8, 4));

    QFont font;
    font.setPixelSize(24);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(blue);
    p.drawText(QRectF(44, 0, 168, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Halvorsten"));
    p.setPen(QPen(QColor(200, 30, 40), 2));
    p.drawLine(QPointF(46, 35), QPointF(205, 35));
    return pixmap;
}

} // namespace tessaron
