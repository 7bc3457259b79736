#include "KeyTypeMenu.h"

#include <QAction>

namespace tessaron {

TKeyTypeMenu::TKeyTypeMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("popmenKeyType"));
    const char* captions[] = {
        "Shift Level    -- will cause the keypad to switch levels while held down.",
        "Toggle Level -- will cause the keypad to switch levels after key is released.",
        "Alpha Lock    -- toggles keypad in and out of Alphabetic mode. (v5.43+)",
    };
    for (int type = 1; type <= 3; ++type) {
        QAction* item = addAction(QString::fromLatin1(captions[type - 1]));
        item->setCheckable(true);
        m_items[static_cast<size_t>(type - 1)] = item;
        // The check mark shown when the menu opened decides; Qt has already
        // flipped it when triggered reports.
        connect(item, &QAction::triggered, this,
                [this, type](bool checkedNow) { emit typeClicked(type, !checkedNow); });
    }
}

void TKeyTypeMenu::ShowKeyType(int keyType)
{
    for (int type = 1; type <= 3; ++type) {
        m_items[static_cast<size_t>(type - 1)]->setChecked(type == keyType);
    }
}

} // namespace tessaron
