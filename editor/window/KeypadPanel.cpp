#include "KeypadPanel.h"

#include "editor/model/KeypadClass.h"
#include "editor/window/KeyButton.h"
#include "editor/window/ModifierImageList.h"

#include <QButtonGroup>
#include <QLayout>

namespace tessaron {

namespace {

constexpr int Pitch = 35;
constexpr int Margin = 8;

// Captions of the 12-key layout by key index; the hidden keys have none.
constexpr std::array<const char*, TKeypadPanel::Keys> Captions514 = {
    " ", " ", " ", " ", "7", "8", "9",   " ", "4",   "5",
    "6", " ", "1", "2", "3", " ", "CLR", "0", "ENT", " ",
};

bool HiddenIn514(int keyIndex)
{
    return keyIndex < 4 || keyIndex % 4 == 3;
}

} // namespace

TKeypadPanel::TKeypadPanel(QWidget* parent) : QFrame(parent), m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("pnlKeypad"));
    setToolTip(QStringLiteral("Right-click to set Level control"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    m_group->setExclusive(true);
    for (int k = 0; k < Keys; ++k) {
        auto* button = new TKeyButton(k, this);
        m_buttons[static_cast<size_t>(k)] = button;
        m_group->addButton(button, k);
        connect(button, &TKeyButton::clicked, this, [this, k] { emit keyClicked(k); });
        connect(button, &TKeyButton::menuRequested, this,
                [this](int key, const QPoint& globalPosition) {
                    ShowPressed(key);
                    emit keyMenuRequested(key, globalPosition);
                });
    }
    // Tab reaches the pressed key, like the checked button of a radio group.
    connect(m_group, &QButtonGroup::buttonToggled, this, [](QAbstractButton* button, bool on) {
        button->setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
    });
    // The design state is the 20-key layout.
    SetLayout(2);
    SetLevelColour(0);
}

void TKeypadPanel::SetLayout(int keypadLayout)
{
    if (keypadLayout != 1 && keypadLayout != 2) {
        return;
    }
    const bool model514 = keypadLayout == 1;
    for (int k = 0; k < Keys; ++k) {
        TKeyButton* button = m_buttons[static_cast<size_t>(k)];
        const int row = k / 4 - (model514 ? 1 : 0);
        button->move(Margin + Pitch * (k % 4), Margin + Pitch * row);
        button->setText(QString::fromLatin1(model514 ? Captions514[static_cast<size_t>(k)] : " "));
        button->setVisible(!(model514 && HiddenIn514(k)));
        updateAccessibleName(k);
    }
    setFixedSize(model514 ? QSize(115, 150) : QSize(149, 183));
    // The 12-key keypad stands in from the corner of the 20-key one's room:
    // the margins of the parent's layout that holds the panel.
    const QList<QLayout*> rooms =
        parentWidget() != nullptr ? parentWidget()->findChildren<QLayout*>() : QList<QLayout*>();
    for (QLayout* room : rooms) {
        if (room->indexOf(this) >= 0) {
            room->setContentsMargins(model514 ? 20 : 0, model514 ? 7 : 0, 0, 0);
            room->activate(); // at once, as a click shows it
        }
    }
    ShowPressed(FirstKey(keypadLayout));
}

void TKeypadPanel::ShowPressed(int keyIndex)
{
    if (keyIndex >= 0 && keyIndex < Keys) {
        m_buttons[static_cast<size_t>(keyIndex)]->setChecked(true);
    }
}

void TKeypadPanel::SetKeyType(int keyIndex, int keyType)
{
    if (keyIndex >= 0 && keyIndex < Keys) {
        m_buttons[static_cast<size_t>(keyIndex)]->SetGlyph(ModifierImageList::Icon(keyType));
        m_keyTypes[static_cast<size_t>(keyIndex)] = keyType;
        updateAccessibleName(keyIndex);
    }
}

void TKeypadPanel::updateAccessibleName(int keyIndex)
{
    TKeyButton* button = m_buttons[static_cast<size_t>(keyIndex)];
    QString name = QStringLiteral("Key %1").arg(keyIndex + 1);
    const QString caption = button->text().trimmed();
    if (!caption.isEmpty()) {
        name += QStringLiteral(" \"") + caption + QLatin1Char('"');
    }
    const char* type = KeyTypeName(m_keyTypes[static_cast<size_t>(keyIndex)]);
    if (*type != '\0') {
        name += QStringLiteral(", ") + QString::fromLatin1(type);
    }
    button->setAccessibleName(name);
}

void TKeypadPanel::SetLevelColour(int level)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, level == 0 ? QColor(128, 128, 128) : QColor(0, 0, 0));
    setPalette(colours);
}

} // namespace tessaron
