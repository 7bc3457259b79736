#pragma once

#include <QRect>
#include <QTableView>

namespace tessaron {

class TMacroGridModel;

// The macro grid: lime on black, 53 by 18 pixel cells, a rectangular block can
// be selected with the mouse or Shift and the arrow keys. It turns the keys
// that edit the macro into signals and leaves navigation to the view. Tab is
// typed into the macro, so Ctrl+Tab and Ctrl+Shift+Tab leave the grid; the
// Menu key and Shift+F10 open the pop-up menu at the cursor.
class TMacroGrid : public QTableView
{
    Q_OBJECT

public:
    static constexpr int CellWidth = 53;
    static constexpr int CellHeight = 18;

    explicit TMacroGrid(QWidget* parent = nullptr);

    TMacroGridModel& Model() const { return *m_model; }

    // The cursor: index of the current cell.
    int Cursor() const;
    // Makes cell the current cell, alone in the selection.
    void SetCursor(int cell);
    // The selected block in cells (x = column, y = row); the current cell alone
    // when nothing else is selected.
    QRect SelectedBlock() const;

signals:
    void characterTyped(int code); // 0..255, Latin-1
    void backspacePressed();
    void deletePressed();
    void shiftPressed();
    void shiftReleased();
    void cellDoubleClicked();
    void popupRequested(const QPoint& globalPosition);
    void cellSelected(int cell);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    TMacroGridModel* m_model;
};

} // namespace tessaron
