#pragma once

#include <QMenu>

#include <array>

class QAction;

namespace tessaron {

// The key type menu popmenKeyType of the on-screen keypad's key buttons: one
// item per key type, the key's own type carrying the check mark.
class TKeyTypeMenu : public QMenu
{
    Q_OBJECT

public:
    explicit TKeyTypeMenu(QWidget* parent = nullptr);

    // Check mark on the item of keyType (none for 0).
    void ShowKeyType(int keyType);
    QAction* Item(int keyType) const { return m_items[static_cast<size_t>(keyType - 1)]; }

signals:
    // An item was clicked: its type, and whether it carried the check mark.
    void typeClicked(int keyType, bool wasChecked);

private:
    std::array<QAction*, 3> m_items{};
};

} // namespace tessaron
