#pragma once

#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;

namespace tessaron {

// Where no notification area exists: a small window of Corvandelle's own with
// the state icon, the tip text and the tray menu (its button, or a right click
// anywhere). Closing it only minimises it, so the menu is never lost.
class TfrmTrayWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmTrayWindow(QMenu& menu, QWidget* parent = nullptr);

    void SetState(const QString& text, const QIcon& icon);
    // Pops the menu up below the menu button.
    void PopupMenu();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QMenu& m_menu;
    QLabel* m_imgState;
    QLabel* m_lblState;
    QPushButton* m_btnMenu;
};

} // namespace tessaron
