#include "Activity.h"

#include "common/QtPicture.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <QScreen>

namespace tessaron {

namespace {

constexpr int FormWidth = 236;
constexpr int FormHeight = 190;
constexpr int FirstRowTop = 50;
constexpr int RowHeight = 22;

// Left edges of the columns: label, USB id, USB rx, USB tx, COM rx, COM tx, COM id.
// The two groups sit on the background's two raised fields (80-146, 156-230).
constexpr int LabelLeft = 5;
constexpr int UsbIdLeft = 85;
constexpr int LedLeft[4] = {105, 125, 163, 185};
constexpr int ComIdLeft = 207;

const char* const LedNames[4] = {"imgUsbRx", "imgUsbTx", "imgComRx", "imgComTx"};
const char* const LedRoles[4] = {"USB rx", "USB tx", "COM tx", "COM rx"};

// An id box shows a state; a click on it would change nothing real, so it
// takes none.
class IdBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint&) const override { return false; }
};

QCheckBox* idBox(const QString& name, QWidget* parent)
{
    auto* box = new IdBox(parent);
    box->setObjectName(name);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

TfrmActivity::TfrmActivity(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmActivity"));
    setWindowTitle(QStringLiteral("Activity LEDs"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(FormWidth, FormHeight);
    const QImage background = LoadPicture(BackgroundPicture);
    if (!background.isNull()) {
        m_background = QPixmap::fromImage(background);
    }
    m_imageList = {LedPicture(false), LedPicture(true)};

    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    auto* usb = new QLabel(QStringLiteral("---- USB ----"), this);
    usb->setObjectName(QStringLiteral("lblUsbHeading"));
    usb->setAlignment(Qt::AlignCenter);
    usb->setGeometry(80, 8, 66, 16);
    auto* com = new QLabel(QStringLiteral("---- COM ----"), this);
    com->setObjectName(QStringLiteral("lblComHeading"));
    com->setAlignment(Qt::AlignCenter);
    com->setGeometry(156, 8, 74, 16);
    // "id   rx     tx           tx     rx     id", one word over each column.
    const char* const columnNames[6] = {"id", "rx", "tx", "tx", "rx", "id"};
    const int columnLefts[6] = {UsbIdLeft,  LedLeft[0], LedLeft[1],
                                LedLeft[2], LedLeft[3], ComIdLeft};
    for (int column = 0; column < 6; ++column) {
        auto* heading = new QLabel(QString::fromLatin1(columnNames[column]), this);
        heading->setObjectName(QStringLiteral("lblColumn") + QString::number(column + 1));
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        heading->setGeometry(columnLefts[column] - 2, 26, 20, 16);
    }

    for (int row = 0; row < Rows; ++row) {
        const int top = FirstRowTop + row * RowHeight;
        const QString number = QString::number(row + 1);
        m_lblKeypad[row] = new QLabel(QStringLiteral("Tessaron #%1:").arg(row + 1), this);
        m_lblKeypad[row]->setObjectName(QStringLiteral("lblKeypad") + number);
        m_lblKeypad[row]->setGeometry(LabelLeft, top, UsbIdLeft - LabelLeft, 18);
        m_cboxUsbId[row] = idBox(QStringLiteral("cboxUsbID") + number, this);
        m_cboxUsbId[row]->setGeometry(UsbIdLeft, top, 18, 18);
        m_cboxUsbId[row]->setAccessibleName(
            QStringLiteral("Tessaron #%1 USB connected").arg(number));
        m_cboxComId[row] = idBox(QStringLiteral("cboxComID") + number, this);
        m_cboxComId[row]->setGeometry(ComIdLeft, top, 18, 18);
        m_cboxComId[row]->setAccessibleName(QStringLiteral("Tessaron #%1 port open").arg(number));
        for (int group = 0; group < 4; ++group) {
            auto* led = new QLabel(this);
            led->setObjectName(QString::fromLatin1(LedNames[group]) + QString::number(row));
            led->setGeometry(LedLeft[group], top + 1, 16, 16);
            led->setPixmap(m_imageList[0]);
            led->setAccessibleName(QStringLiteral("Tessaron #%1 %2")
                                       .arg(number, QString::fromLatin1(LedRoles[group])));
            m_leds[group][row] = led;
        }
    }

    m_tmrActivity.setObjectName(QStringLiteral("TmrActivity"));
    m_tmrActivity.setInterval(100);
    connect(&m_tmrActivity, &QTimer::timeout, this, [this] {
        if (TmrActivityTimer) {
            TmrActivityTimer();
        }
    });
}

QPixmap TfrmActivity::LedPicture(bool lit)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(6.5, 6), 8);
    glow.setColorAt(0, lit ? QColor(210, 255, 190) : QColor(90, 110, 90));
    glow.setColorAt(0.5, lit ? QColor(40, 220, 40) : QColor(30, 60, 30));
    glow.setColorAt(1, lit ? QColor(0, 120, 0) : QColor(15, 30, 15));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(glow);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return pixmap;
}

int TfrmActivity::ScreenWidth() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int TfrmActivity::ScreenHeight() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void TfrmActivity::PlaceAt(int left, int top)
{
    move(left, top);
}

void TfrmActivity::SetLed(TLedGroup group, int row, bool lit)
{
    const int g = static_cast<int>(group);
    if (g < 0 || g >= 4 || row < 0 || row >= Rows) {
        return;
    }
    m_leds[g][row]->setPixmap(m_imageList[lit ? 1 : 0]);
    m_leds[g][row]->setAccessibleDescription(lit ? QStringLiteral("lit") : QStringLiteral("dark"));
}

void TfrmActivity::SetUsbIdBox(int row, bool on)
{
    if (row >= 0 && row < Rows) {
        m_cboxUsbId[row]->setChecked(on);
    }
}

void TfrmActivity::SetComIdBox(int row, bool on)
{
    if (row >= 0 && row < Rows) {
        m_cboxComId[row]->setChecked(on);
    }
}

void TfrmActivity::EnableRowLabel(int row, bool enabled)
{
    if (row >= 0 && row < Rows) {
        m_lblKeypad[row]->setEnabled(enabled);
    }
}

void TfrmActivity::EnableIdBoxes(int row, bool enabled)
{
    if (row >= 0 && row < Rows) {
        m_cboxUsbId[row]->setEnabled(enabled);
        m_cboxComId[row]->setEnabled(enabled);
    }
}

void TfrmActivity::SetTimerEnabled(bool enabled)
{
    if (enabled) {
        m_tmrActivity.start();
    } else {
        m_tmrActivity.stop();
    }
}

void TfrmActivity::Show()
{
    show();
}

void TfrmActivity::Hide()
{
    hide();
}

void TfrmActivity::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_background.isNull()) {
        p.fillRect(rect(), Qt::white);
    } else {
        p.drawPixmap(rect(), m_background);
    }
    p.setPen(QColor(120, 120, 120));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tessaron
