#include "editor/window/PcKeyboard.h"

#include "editor/model/KeypadClass.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QSlider>

#include <array>
#include <cmath>
#include <string_view>
#include <utility>

namespace tessaron {

namespace {

enum class CapKind : std::uint8_t
{
    Key,
    Raw,
    Modifier,
    Command
};
enum class CapColour : std::uint8_t
{
    Green,
    Grey,
    Command
};

// One key cap: position in key units (row 0 is the function key row), what it
// stands for and its legends. A cap with an upper legend shows the shifted
// character above the plain one, like a real key top.
struct KeyCap
{
    int Row;
    double X;
    double W;
    int Rows;
    CapKind Kind;
    int Code; // key number, raw code or modifier flag
    const char* Upper;
    const char* Lower;
    CapColour Colour;
    const char* Name = nullptr; // modifiers only; others are named by their code
    bool Visible = true;
};

constexpr CapColour G = CapColour::Green;
constexpr CapColour S = CapColour::Grey;
constexpr CapKind K = CapKind::Key;
constexpr CapKind R = CapKind::Raw;
constexpr CapKind M = CapKind::Modifier;
constexpr double Pad = 15.5; // left edge of the numeric keypad block

// clang-format off
constexpr KeyCap KeyCaps[] = {
    // Row 1: Esc, F1 to F12.
    {0, 0, 1, 1, K, 1, "", "Esc", G},
    {0, 2, 1, 1, R, 161, "", "F1", S}, {0, 3, 1, 1, R, 162, "", "F2", S},
    {0, 4, 1, 1, R, 163, "", "F3", S}, {0, 5, 1, 1, R, 164, "", "F4", S},
    {0, 6.5, 1, 1, R, 165, "", "F5", S}, {0, 7.5, 1, 1, R, 166, "", "F6", S},
    {0, 8.5, 1, 1, R, 167, "", "F7", S}, {0, 9.5, 1, 1, R, 168, "", "F8", S},
    {0, 11, 1, 1, R, 169, "", "F9", S}, {0, 12, 1, 1, R, 170, "", "F10", S},
    {0, 13, 1, 1, R, 171, "", "F11", S}, {0, 14, 1, 1, R, 172, "", "F12", S},
    // Row 2: ` 1 to 0 - = Backspace; Del, keypad / * -.
    {1, 0, 1, 1, K, 41, "~", "`", G},
    {1, 1, 1, 1, K, 2, "!", "1", G}, {1, 2, 1, 1, K, 3, "@", "2", G},
    {1, 3, 1, 1, K, 4, "#", "3", G}, {1, 4, 1, 1, K, 5, "$", "4", G},
    {1, 5, 1, 1, K, 6, "%", "5", G}, {1, 6, 1, 1, K, 7, "^", "6", G},
    {1, 7, 1, 1, K, 8, "&", "7", G}, {1, 8, 1, 1, K, 9, "*", "8", G},
    {1, 9, 1, 1, K, 10, "(", "9", G}, {1, 10, 1, 1, K, 11, ")", "0", G},
    {1, 11, 1, 1, K, 12, "_", "-", G}, {1, 12, 1, 1, K, 13, "+", "=", G},
    {1, 13, 2, 1, K, 14, "", "Bksp", S},
    {1, Pad, 1, 1, K, 100, "", "Del", S}, {1, Pad + 1, 1, 1, K, 88, "", "/", G},
    {1, Pad + 2, 1, 1, K, 55, "", "*", G}, {1, Pad + 3, 1, 1, K, 74, "", "-", G},
    // Row 3: Tab Q to P [ ] \; keypad 7 8 9 and + (two rows high).
    {2, 0, 1.5, 1, K, 15, "", "Tab", G},
    {2, 1.5, 1, 1, K, 16, "", "Q", G}, {2, 2.5, 1, 1, K, 17, "", "W", G},
    {2, 3.5, 1, 1, K, 18, "", "E", G}, {2, 4.5, 1, 1, K, 19, "", "R", G},
    {2, 5.5, 1, 1, K, 20, "", "T", G}, {2, 6.5, 1, 1, K, 21, "", "Y", G},
    {2, 7.5, 1, 1, K, 22, "", "U", G}, {2, 8.5, 1, 1, K, 23, "", "I", G},
    {2, 9.5, 1, 1, K, 24, "", "O", G}, {2, 10.5, 1, 1, K, 25, "", "P", G},
    {2, 11.5, 1, 1, K, 26, "{", "[", G}, {2, 12.5, 1, 1, K, 27, "}", "]", G},
    {2, 13.5, 1.5, 1, K, 43, "|", "\\", G},
    {2, Pad, 1, 1, K, 71, "", "7", G}, {2, Pad + 1, 1, 1, K, 72, "", "8", G},
    {2, Pad + 2, 1, 1, K, 73, "", "9", G}, {2, Pad + 3, 1, 2, K, 78, "", "+", G},
    // Row 4: Caps Lock, A to L ; ' Enter; keypad 4 5 6.
    {3, 0, 1.75, 1, M, CapsLock, "", "Caps", S, "spdbtnCapsLock"},
    {3, 1.75, 1, 1, K, 30, "", "A", G}, {3, 2.75, 1, 1, K, 31, "", "S", G},
    {3, 3.75, 1, 1, K, 32, "", "D", G}, {3, 4.75, 1, 1, K, 33, "", "F", G},
    {3, 5.75, 1, 1, K, 34, "", "G", G}, {3, 6.75, 1, 1, K, 35, "", "H", G},
    {3, 7.75, 1, 1, K, 36, "", "J", G}, {3, 8.75, 1, 1, K, 37, "", "K", G},
    {3, 9.75, 1, 1, K, 38, "", "L", G},
    {3, 10.75, 1, 1, K, 39, ":", ";", G}, {3, 11.75, 1, 1, K, 40, "\"", "'", G},
    {3, 12.75, 2.25, 1, K, 28, "", "Enter", G},
    {3, Pad, 1, 1, K, 75, "", "4", G}, {3, Pad + 1, 1, 1, K, 76, "", "5", G},
    {3, Pad + 2, 1, 1, K, 77, "", "6", G},
    // Row 5: Shift, Z to M , . /, Shift; keypad 1 2 3 and Enter (two rows high).
    {4, 0, 2.25, 1, M, LeftShift, "", "Shift", G, "sbtnLShift"},
    {4, 2.25, 1, 1, K, 44, "", "Z", G}, {4, 3.25, 1, 1, K, 45, "", "X", G},
    {4, 4.25, 1, 1, K, 46, "", "C", G}, {4, 5.25, 1, 1, K, 47, "", "V", G},
    {4, 6.25, 1, 1, K, 48, "", "B", G}, {4, 7.25, 1, 1, K, 49, "", "N", G},
    {4, 8.25, 1, 1, K, 50, "", "M", G},
    {4, 9.25, 1, 1, K, 51, "<", ",", G}, {4, 10.25, 1, 1, K, 52, ">", ".", G},
    {4, 11.25, 1, 1, K, 53, "?", "/", G},
    {4, 12.25, 2.75, 1, M, RightShift, "", "Shift", S, "sbtnRShift"},
    {4, Pad, 1, 1, K, 79, "", "1", G}, {4, Pad + 1, 1, 1, K, 80, "", "2", G},
    {4, Pad + 2, 1, 1, K, 81, "", "3", G}, {4, Pad + 3, 1, 2, K, 86, "", "Ent", G},
    // Row 6: Ctrl, (Alt), Space, (Alt), Ctrl; keypad 0 (wide) and .
    {5, 0, 1.5, 1, M, LeftCtrl, "", "Ctrl", S, "sbtnLCtrl"},
    {5, 1.5, 1.5, 1, M, 0, "", "Alt", S, "sbtnLAlt", false},
    {5, 3, 9, 1, K, 57, "", "", G},
    {5, 12, 1.5, 1, M, 0, "", "Alt", S, "sbtnRAlt", false},
    {5, 13.5, 1.5, 1, M, RightCtrl, "", "Ctrl", S, "sbtnRCtrl"},
    {5, Pad, 2, 1, K, 82, "", "0", G}, {5, Pad + 2, 1, 1, K, 83, "", ".", G},
};
// clang-format on

struct CapPalette
{
    QColor Face;
    QColor Side;
    QColor Edge;
};

CapPalette paletteOf(CapColour colour)
{
    switch (colour) {
    case CapColour::Green:
        return {QColor(134, 214, 118), QColor(70, 150, 60), QColor(25, 80, 20)};
    case CapColour::Grey:
        return {QColor(222, 222, 222), QColor(160, 160, 160), QColor(85, 85, 85)};
    case CapColour::Command:
        break;
    }
    return {QColor(255, 214, 120), QColor(205, 150, 55), QColor(115, 75, 10)};
}

// A key cap drawn by the program: a dark edge, the cap's side, and its top
// face with the legends. Pressed (or a toggle held down) sinks the face.
class KeyCapButton : public QAbstractButton
{
public:
    KeyCapButton(CapColour colour, const char* upper, const char* lower, QWidget* parent)
        : QAbstractButton(parent), m_colour(colour), m_upper(QString::fromLatin1(upper))
    {
        setText(QString::fromLatin1(lower));
        setFocusPolicy(Qt::NoFocus);
        setProperty("capColour", colour == CapColour::Green  ? QStringLiteral("green")
                                 : colour == CapColour::Grey ? QStringLiteral("grey")
                                                             : QStringLiteral("command"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const CapPalette colours = paletteOf(m_colour);
        const bool sunk = isDown() || isChecked();
        const QRectF outer(0.5, 0.5, width() - 1.0, height() - 1.0);

        p.setPen(QPen(colours.Edge, 1.0));
        p.setBrush(sunk ? colours.Side.darker(115) : colours.Side);
        p.drawRoundedRect(outer, 3.0, 3.0);

        const QRectF face =
            sunk ? outer.adjusted(2.0, 2.5, -2.0, -1.5) : outer.adjusted(2.0, 1.0, -2.0, -3.0);
        QLinearGradient shade(face.topLeft(), face.bottomLeft());
        const QColor top = sunk ? colours.Face.darker(112) : colours.Face.lighter(112);
        shade.setColorAt(0.0, top);
        shade.setColorAt(1.0, sunk ? colours.Face.darker(120) : colours.Face);
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawRoundedRect(face, 2.0, 2.0);

        if (isCheckable() && isChecked()) {
            // A lit dot marks a toggle that is held down.
            p.setBrush(QColor(255, 240, 60));
            p.setPen(QPen(QColor(120, 100, 0), 0.8));
            p.drawEllipse(QPointF(face.right() - 3.0, face.top() + 3.0), 1.8, 1.8);
        }

        QFont font = this->font();
        p.setPen(QColor(20, 20, 20));
        if (!m_upper.isEmpty()) {
            // Shifted legend top left, plain legend bottom right.
            font.setPixelSize(8);
            font.setBold(true);
            p.setFont(font);
            const QRectF area = face.adjusted(1.0, -1.5, -1.0, 1.5);
            p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, m_upper);
            p.drawText(area, Qt::AlignRight | Qt::AlignBottom | Qt::TextDontClip, text());
        } else if (!text().isEmpty()) {
            font.setPixelSize(text().size() == 1 ? 10 : 8);
            font.setBold(text().size() == 1);
            p.setFont(font);
            p.drawText(face, Qt::AlignCenter, text());
        }
    }

private:
    CapColour m_colour;
    QString m_upper;
};

QRect capGeometry(const KeyCap& cap)
{
    constexpr int pitch = TPcKeyboard::KeyPitch;
    const int left = static_cast<int>(std::lround(cap.X * pitch));
    const int right = static_cast<int>(std::lround((cap.X + cap.W) * pitch)) - 2;
    const int top = TPcKeyboard::KeyboardTop + cap.Row * pitch;
    return QRect(left, top, right - left + 1, cap.Rows * pitch - 2);
}

QString capName(const KeyCap& cap)
{
    switch (cap.Kind) {
    case CapKind::Key:
        return QStringLiteral("btnKey%1").arg(cap.Code);
    case CapKind::Raw:
        return QStringLiteral("btnRaw%1").arg(cap.Code);
    default:
        return QString::fromLatin1(cap.Name);
    }
}

bool isKeypadKey(int keyNumber)
{
    return (keyNumber >= 71 && keyNumber <= 83) || keyNumber == 55 || keyNumber == 86 ||
           keyNumber == 88;
}

// What a screen reader calls a cap: its legend, spelt out where the cap
// abbreviates it or where the keypad repeats a main-block key.
QString capAccessibleName(const KeyCap& cap)
{
    if (cap.Kind == CapKind::Modifier) {
        static const std::pair<const char*, const char*> names[] = {
            {"spdbtnCapsLock", "Caps Lock"}, {"sbtnLShift", "Left Shift"},
            {"sbtnRShift", "Right Shift"},   {"sbtnLCtrl", "Left Ctrl"},
            {"sbtnRCtrl", "Right Ctrl"},     {"sbtnLAlt", "Left Alt"},
            {"sbtnRAlt", "Right Alt"},
        };
        for (const auto& [object, name] : names) {
            if (std::string_view(cap.Name) == object) {
                return QString::fromLatin1(name);
            }
        }
    }
    if (cap.Kind == CapKind::Key) {
        switch (cap.Code) {
        case 14:
            // The cap's own legend too, for those who click by name.
            return QStringLiteral("Backspace (Bksp)");
        case 57:
            return QStringLiteral("Space");
        case 86:
            return QStringLiteral("Keypad Enter");
        case 100:
            return QStringLiteral("Delete");
        default:
            break;
        }
        if (isKeypadKey(cap.Code)) {
            return QStringLiteral("Keypad ") + QString::fromLatin1(cap.Lower);
        }
    }
    return QString::fromLatin1(cap.Lower);
}

} // namespace

TPcKeyboard::TPcKeyboard(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PcKeyboard"));
    setFixedSize(KeyboardWidth, KeyboardHeight);

    // Above the key caps: beep and delay, each with its track bar and end
    // marks, then a line of help. The caps stand on their key grid below.
    auto* commands = new QHBoxLayout;
    m_tbBeepValue = addCommand(commands, m_btnBeep, "Beep", "3 byte Beep command");
    m_tbDelayValue = addCommand(commands, m_btnDelay, "Delay", "3 byte Delay command");

    m_lblKeyboard = new QLabel(
        QStringLiteral("Click on any key below or type on PC keyboard (green keys only)"), this);
    m_lblKeyboard->setObjectName(QStringLiteral("lblPcKeyboard"));
    QFont labelFont = m_lblKeyboard->font();
    labelFont.setPixelSize(11);
    m_lblKeyboard->setFont(labelFont);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    rows->addLayout(commands);
    rows->addWidget(m_lblKeyboard);
    rows->addStretch();

    for (const KeyCap& cap : KeyCaps) {
        auto* button = new KeyCapButton(cap.Colour, cap.Upper, cap.Lower, this);
        button->setObjectName(capName(cap));
        button->setGeometry(capGeometry(cap));
        button->setVisible(cap.Visible);
        button->setAccessibleName(capAccessibleName(cap));
        if (cap.Upper[0] != '\0') {
            button->setAccessibleDescription(QStringLiteral("Shifted: ") +
                                             QString::fromLatin1(cap.Upper));
        }
        switch (cap.Kind) {
        case CapKind::Key: {
            const int key = cap.Code;
            connect(button, &QAbstractButton::clicked, this, [this, key] { emit keyClicked(key); });
            break;
        }
        case CapKind::Raw: {
            const int code = cap.Code;
            connect(button, &QAbstractButton::clicked, this,
                    [this, code] { emit rawCodeClicked(code); });
            break;
        }
        case CapKind::Modifier: {
            button->setCheckable(true);
            const auto flag = static_cast<std::uint8_t>(cap.Code);
            // clicked, not toggled: only the user's clicks change the flags.
            if (flag != 0) {
                connect(button, &QAbstractButton::clicked, this,
                        [this, flag](bool checked) { emit modifierToggled(flag, checked); });
            }
            break;
        }
        case CapKind::Command:
            break;
        }
    }

    m_sbtnLShift = findChild<QAbstractButton*>(QStringLiteral("sbtnLShift"));
    m_sbtnRShift = findChild<QAbstractButton*>(QStringLiteral("sbtnRShift"));
    m_sbtnLCtrl = findChild<QAbstractButton*>(QStringLiteral("sbtnLCtrl"));
    m_sbtnRCtrl = findChild<QAbstractButton*>(QStringLiteral("sbtnRCtrl"));
    m_sbtnLAlt = findChild<QAbstractButton*>(QStringLiteral("sbtnLAlt"));
    m_sbtnRAlt = findChild<QAbstractButton*>(QStringLiteral("sbtnRAlt"));
    m_spdbtnCapsLock = findChild<QAbstractButton*>(QStringLiteral("spdbtnCapsLock"));

    const QString ctrlHint = QStringLiteral("Use Ctrl+Key to enter ASCII control codes");
    m_sbtnLCtrl->setToolTip(ctrlHint);
    m_sbtnRCtrl->setToolTip(ctrlHint);
    findChild<QAbstractButton*>(QStringLiteral("btnKey14"))
        ->setToolTip(QStringLiteral("Click to add BS character, use keyboard to erase"));
    findChild<QAbstractButton*>(QStringLiteral("btnKey100"))
        ->setToolTip(QStringLiteral("Click to add DEL character, use keyboard to erase"));

    m_tbBeepValue->setAccessibleName(QStringLiteral("Beep length"));
    m_tbDelayValue->setAccessibleName(QStringLiteral("Delay length"));
    for (QWidget* control : FocusChain()) {
        control->setFocusPolicy(Qt::TabFocus);
    }

    connect(m_btnBeep, &QAbstractButton::clicked, this,
            [this] { emit beepClicked(m_tbBeepValue->value()); });
    connect(m_btnDelay, &QAbstractButton::clicked, this,
            [this] { emit delayClicked(m_tbDelayValue->value()); });
}

QSlider* TPcKeyboard::addCommand(QBoxLayout* row, QAbstractButton*& button, const char* caption,
                                 const char* hint)
{
    button = new KeyCapButton(CapColour::Command, "", caption, this);
    button->setObjectName(QStringLiteral("btn") + QLatin1String(caption));
    button->setToolTip(QString::fromLatin1(hint));
    button->setFixedSize(44, 20);
    auto* bar = new QSlider(Qt::Horizontal, this);
    bar->setObjectName(QStringLiteral("tb%1Value").arg(QLatin1String(caption)));
    bar->setRange(1, 125);
    bar->setValue(50);
    bar->setTickInterval(16);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setFixedHeight(24);
    // The track bar's end marks, "tbBeepValueMin" and "tbBeepValueMax".
    auto mark = [this, bar](const char* text, const char* end) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(bar->objectName() + QLatin1String(end));
        QFont font = label->font();
        font.setPixelSize(10);
        label->setFont(font);
        return label;
    };
    for (QWidget* part :
         std::initializer_list<QWidget*>{button, mark("4ms", "Min"), bar, mark("500ms", "Max")}) {
        row->addWidget(part, part == bar ? 1 : 0);
    }
    auto showHint = [bar](int position) {
        bar->setToolTip(QString::number(4 * position) + QStringLiteral("ms"));
    };
    showHint(bar->value());
    connect(bar, &QSlider::valueChanged, bar, showHint);
    return bar;
}

QSize TPcKeyboard::sizeHint() const
{
    return QSize(KeyboardWidth, KeyboardHeight);
}

void TPcKeyboard::ShowModifierButtons()
{
    for (QAbstractButton* button :
         {m_sbtnLShift, m_sbtnRShift, m_sbtnLCtrl, m_sbtnRCtrl, m_sbtnLAlt, m_sbtnRAlt}) {
        button->setChecked(false);
    }
}

void TPcKeyboard::SetModifierButton(std::uint8_t flag, bool pressed)
{
    if (QAbstractButton* button = modifierButton(flag)) {
        button->setChecked(pressed);
    }
}

QAbstractButton* TPcKeyboard::modifierButton(std::uint8_t flag) const
{
    switch (flag) {
    case LeftShift:
        return m_sbtnLShift;
    case RightShift:
        return m_sbtnRShift;
    case LeftCtrl:
        return m_sbtnLCtrl;
    case RightCtrl:
        return m_sbtnRCtrl;
    case CapsLock:
        return m_spdbtnCapsLock;
    default:
        return nullptr;
    }
}

QList<QWidget*> TPcKeyboard::FocusChain() const
{
    return {m_btnBeep,    m_tbBeepValue, m_btnDelay,  m_tbDelayValue, m_spdbtnCapsLock,
            m_sbtnLShift, m_sbtnRShift,  m_sbtnLCtrl, m_sbtnRCtrl};
}

int TPcKeyboard::BeepPosition() const
{
    return m_tbBeepValue->value();
}

int TPcKeyboard::DelayPosition() const
{
    return m_tbDelayValue->value();
}

} // namespace tessaron
