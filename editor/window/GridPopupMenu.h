#pragma once

#include <QMenu>

class QAction;

namespace tessaron {

// The macro grid's pop-up menu popmenuClearMacro: erase, copy and paste of the
// macro, the two views, the four submenus of raw key codes, the MIDI dialog
// and the six LED commands.
class TGridPopupMenu : public QMenu
{
    Q_OBJECT

public:
    explicit TGridPopupMenu(QWidget* parent = nullptr);

    // Check marks of the two view items, set before the menu opens.
    void ShowView(bool hexView);

    QAction* ViewAscii() const { return m_viewAscii; }
    QAction* ViewHex() const { return m_viewHex; }

signals:
    void eraseAll();
    void copyMacro();
    void pasteMacro();
    void viewAscii();
    void viewHex();
    void rawCode(int code);
    void midiMessage();
    void ledCommand(int n); // 8..13

private:
    QMenu* addCodeMenu(const char* objectName, const QString& title);
    void addCode(QMenu* menu, const char* caption, int code);

    QAction* m_viewAscii;
    QAction* m_viewHex;
};

} // namespace tessaron
