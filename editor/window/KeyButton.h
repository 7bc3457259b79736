#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace tessaron {

// A key button of the on-screen keypad: a 30 by 30 key cap with a grey
// caption and the key type icon as its glyph, drawn sunken while it is the
// pressed button of the group. The right mouse button, the Menu key and
// Shift+F10 ask for the key's menu.
class TKeyButton : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int ButtonSize = 30;

    explicit TKeyButton(int keyIndex, QWidget* parent = nullptr);

    void SetGlyph(const QPixmap& glyph);
    const QPixmap& Glyph() const { return m_glyph; }

signals:
    // Where the menu is to open: at the mouse, or below the key.
    void menuRequested(int keyIndex, const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int m_keyIndex;
    QPixmap m_glyph;
};

} // namespace tessaron
