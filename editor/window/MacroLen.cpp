#include "editor/window/MacroLen.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace tessaron {

namespace {

const char* const WarningLines[7] = {
    "In Line Edit mode only the first character in each ",
    "macro is used (unless you have an ALPHA shift",
    "key).  Any other macro data is ignored.",
    "",
    "If Line Edit Character Translation is enabled, then ",
    "the first character is transmitted to the host and the ",
    "second character, if present, is shown on the LCD.",
};

// A yellow warning triangle with an exclamation mark.
QPixmap warningPicture()
{
    constexpr int size = 36;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(size / 2.0, 2.5);
    triangle.lineTo(size - 2.5, size - 3.5);
    triangle.lineTo(2.5, size - 3.5);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(120, 80, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 204, 0));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(size / 2.0 - 2.0, 11.0, 4.0, 13.0), 1.5, 1.5);
    p.drawEllipse(QPointF(size / 2.0, 28.0), 2.2, 2.2);
    return pixmap;
}

// A green tick for the OK button.
QIcon okGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 140, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    return QIcon(pixmap);
}

constexpr int MemoLeft = 42;
constexpr int MemoWidth = TfrmMacroLenWarning::FormWidth - MemoLeft - 2;

// The largest font up to 11 pixels in which every line fits the field's width
// and all seven lines its long height, so no line is ever cut off.
QFont fittingFont(QFont font, int width)
{
    for (int pixels = 11; pixels > 7; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        bool fits = metrics.lineSpacing() * 7 <= TfrmMacroLenWarning::LongMemoHeight &&
                    metrics.lineSpacing() * 3 <= TfrmMacroLenWarning::ShortMemoHeight;
        for (const char* line : WarningLines) {
            fits = fits && metrics.horizontalAdvance(QString::fromLatin1(line)) <= width;
        }
        if (fits) {
            break;
        }
    }
    return font;
}

} // namespace

TfrmMacroLenWarning::TfrmMacroLenWarning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMacroLenWarning"));
    setWindowTitle(QStringLiteral("Macro Length Warning"));
    setModal(false);
    setFixedSize(FormWidth, FormHeight);
    // It tells, it does not ask: typing goes on in the main window (the
    // warning comes on the second character typed in Line Edit mode).
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_imgWarning = new QLabel(this);
    m_imgWarning->setObjectName(QStringLiteral("imgWarning"));
    m_imgWarning->setPixmap(warningPicture());
    m_imgWarning->setGeometry(4, 10, 36, 36);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(QStringLiteral("Warning"));
    m_memo->setReadOnly(true);
    m_memo->setFrameShape(QFrame::NoFrame);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setFocusPolicy(Qt::NoFocus);
    m_memo->setContextMenuPolicy(Qt::NoContextMenu);
    m_memo->document()->setDocumentMargin(0);
    m_memo->setFont(fittingFont(m_memo->font(), MemoWidth - 4));
    QPalette palette = m_memo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_memo->setPalette(palette);
    m_memo->setGeometry(MemoLeft, 12, MemoWidth, ShortMemoHeight);

    m_checkBox = new QCheckBox(QStringLiteral("Don't show this message again"), this);
    m_checkBox->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox->setGeometry(MemoLeft, 136, 240, 22);

    m_btnOk = new QPushButton(okGlyph(), QStringLiteral("OK"), this);
    m_btnOk->setObjectName(QStringLiteral("BitBtn1"));
    m_btnOk->setGeometry(FormWidth - 12 - 82, FormHeight - 12 - 27, 82, 27);
    m_btnOk->setDefault(true);

    connect(m_btnOk, &QPushButton::clicked, this, &TfrmMacroLenWarning::okClicked);

    m_memo->setPlainText(WarningText(false));
}

QString TfrmMacroLenWarning::WarningText(bool longForm)
{
    const int lines = longForm ? 7 : 3;
    QStringList text;
    for (int i = 0; i < lines; ++i) {
        text << QString::fromLatin1(WarningLines[i]);
    }
    return text.join(QLatin1Char('\n'));
}

void TfrmMacroLenWarning::ShowLengthWarning(bool longForm)
{
    m_memo->setPlainText(WarningText(longForm));
    m_memo->resize(m_memo->width(), longForm ? LongMemoHeight : ShortMemoHeight);
    if (!isVisible()) {
        centreOnScreen();
    }
    QWidget* active = QApplication::activeWindow();
    m_typingWindow = active != this ? active : nullptr;
    show();
    raise();
}

bool TfrmMacroLenWarning::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_typingWindow) {
        // Activated right after it was shown, and not by a click on it: the
        // desktop did it, so the keyboard goes back to the window in use.
        QWidget* typing = m_typingWindow;
        m_typingWindow = nullptr;
        if (!frameGeometry().contains(QCursor::pos())) {
            typing->activateWindow();
        }
    } else if (event->type() == QEvent::Hide) {
        m_typingWindow = nullptr;
    }
    return QDialog::event(event);
}

void TfrmMacroLenWarning::okClicked()
{
    if (m_checkBox->isChecked()) {
        emit dontShowAgain();
    }
    hide();
}

void TfrmMacroLenWarning::centreOnScreen()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    // The outer frame is centred; its margins are known once the window exists.
    create();
    const QSize outer = frameGeometry().size();
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

} // namespace tessaron
