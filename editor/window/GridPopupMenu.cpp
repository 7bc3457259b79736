#include "GridPopupMenu.h"

#include <QAction>
#include <QKeySequence>

namespace tessaron {

namespace {

struct TCodeItem
{
    const char* Caption;
    int Code;
};

constexpr TCodeItem MultiMediaKeys[] = {
    {"Scan Next Track", 128},
    {"Scan Previous Track", 129},
    {"Stop", 130},
    {"Play/Pause", 131},
    {"Mute", 132},
    {"Bass Boost", 133},
    {"Loudness", 134},
    {"Volume Up", 135},
    {"Volume Down", 136},
    {"Bass Up", 137},
    {"Bass Down", 138},
    {"Treble Up", 139},
    {"Treble Down", 140},
    {"Media Player", 141},
    {"Email", 142},
    {"Calculator", 143},
    {"My Computer", 144},
    {"WWW Search", 145},
    {"WWW Home", 146},
    {"WWW Back", 147},
    {"WWW Forward", 148},
    {"WWW Stop", 149},
    {"WWW Refresh", 150},
    {"WWW Bookmarks", 151},
};

constexpr TCodeItem NumericKeypadKeys[] = {
    {"KP 0 Ins", 192},  {"KP 1 End", 193},  {"KP 2 Down", 194},  {"KP 3 PgDn", 195},
    {"KP 4 Left", 196}, {"KP 5", 197},      {"KP 6 Right", 198}, {"KP 7 Home", 199},
    {"KP 8 Up", 200},   {"KP 9 PgUp", 201}, {"KP . Del", 202},   {"KP /", 203},
    {"KP *", 204},      {"KP -", 205},      {"KP +", 206},       {"KP Enter", 207},
};

constexpr TCodeItem MiscellaneousKeys[] = {
    {"CapsLock", 160},     {"NumLock", 191},     {"Insert", 185},      {"Delete", 186},
    {"Home", 187},         {"End", 188},         {"Page Up", 189},     {"Page Down", 190},
    {"Print Screen", 157}, {"Scroll Lock", 158}, {"Pause/Break", 159},
};

struct TLedItem
{
    const char* Caption;
    int N;
};

constexpr TLedItem GreenLedItems[] = {
    {"Turn Green LED Off", 8}, {"Turn Green LED On", 9}, {"Flash Green LED", 10}};
constexpr TLedItem RedLedItems[] = {
    {"Turn Red LED Off", 11}, {"Turn Red LED On", 12}, {"Flash Red LED", 13}};

} // namespace

TGridPopupMenu::TGridPopupMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("popmenuClearMacro"));

    addAction(QStringLiteral("Erase all key codes for this macro"), this,
              &TGridPopupMenu::eraseAll);
    addSeparator();
    // The window's Ctrl+C and Ctrl+V do the same; shown here, and working
    // while the menu is open.
    QAction* copy = addAction(QStringLiteral("Copy macro"), this, &TGridPopupMenu::copyMacro);
    copy->setObjectName(QStringLiteral("mnuCopyMacro"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* paste = addAction(QStringLiteral("Paste macro"), this, &TGridPopupMenu::pasteMacro);
    paste->setObjectName(QStringLiteral("mnuPasteMacro"));
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    for (QAction* action : {copy, paste}) {
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    addSeparator();
    m_viewAscii =
        addAction(QStringLiteral("View key codes as ASCII"), this, &TGridPopupMenu::viewAscii);
    m_viewHex = addAction(QStringLiteral("View key codes as hex"), this, &TGridPopupMenu::viewHex);
    m_viewAscii->setCheckable(true);
    m_viewHex->setCheckable(true);
    addSeparator();

    QMenu* functionKeys =
        addCodeMenu("mnuFunctionKeys", QStringLiteral("Insert F13 through F24 key"));
    for (int f = 13; f <= 24; ++f) {
        const QByteArray caption = "F" + QByteArray::number(f);
        addCode(functionKeys, caption.constData(), 160 + f);
    }
    QMenu* multiMedia =
        addCodeMenu("mnuMultiMediaKeys", QStringLiteral("Insert USB HID MultiMedia key"));
    for (const TCodeItem& item : MultiMediaKeys) {
        addCode(multiMedia, item.Caption, item.Code);
    }
    QMenu* numericKeypad =
        addCodeMenu("mnuNumericKeypadKeys", QStringLiteral("Insert USB HID Numeric Keypad key"));
    for (const TCodeItem& item : NumericKeypadKeys) {
        addCode(numericKeypad, item.Caption, item.Code);
    }
    QMenu* miscellaneous =
        addCodeMenu("mnuMiscellaneousKeys", QStringLiteral("Insert USB HID Miscellaneous key"));
    for (const TCodeItem& item : MiscellaneousKeys) {
        addCode(miscellaneous, item.Caption, item.Code);
    }
    addSeparator();

    addAction(QStringLiteral("Insert MIDI Message..."), this, &TGridPopupMenu::midiMessage);
    addSeparator();
    for (const TLedItem& item : GreenLedItems) {
        const int n = item.N;
        addAction(QString::fromLatin1(item.Caption), this, [this, n] { emit ledCommand(n); });
    }
    addSeparator();
    for (const TLedItem& item : RedLedItems) {
        const int n = item.N;
        addAction(QString::fromLatin1(item.Caption), this, [this, n] { emit ledCommand(n); });
    }
}

void TGridPopupMenu::ShowView(bool hexView)
{
    m_viewAscii->setChecked(!hexView);
    m_viewHex->setChecked(hexView);
}

QMenu* TGridPopupMenu::addCodeMenu(const char* objectName, const QString& title)
{
    QMenu* menu = addMenu(title);
    menu->setObjectName(QString::fromLatin1(objectName));
    return menu;
}

void TGridPopupMenu::addCode(QMenu* menu, const char* caption, int code)
{
    menu->addAction(QString::fromLatin1(caption), this, [this, code] { emit rawCode(code); });
}

} // namespace tessaron
