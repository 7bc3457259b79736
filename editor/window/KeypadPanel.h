#pragma once

#include <QFrame>

#include <array>

class QButtonGroup;

namespace tessaron {

class TKeyButton;

// The on-screen keypad pnlKeypad with its 20 key buttons SpeedButton1 to
// SpeedButton20 in one exclusive group, in the 20-key (model 510) or the
// 12-key (model 514) layout.
class TKeypadPanel : public QFrame
{
    Q_OBJECT

public:
    static constexpr int Keys = 20;

    explicit TKeypadPanel(QWidget* parent = nullptr);

    // 2: 20 keys, blank captions; 1: the twelve keys of model 514 with their
    // captions; any other value changes nothing. The layout's first key is
    // shown pressed. The panel's size follows the layout, and so does its
    // place in a row of the parent's layout of its own.
    void SetLayout(int keypadLayout);
    static int FirstKey(int keypadLayout) { return keypadLayout == 1 ? 4 : 0; }

    void ShowPressed(int keyIndex);
    void SetKeyType(int keyIndex, int keyType);
    // Grey for level 1, black for level 2.
    void SetLevelColour(int level);

    TKeyButton* Button(int keyIndex) const { return m_buttons[static_cast<size_t>(keyIndex)]; }

signals:
    void keyClicked(int keyIndex);
    // The key's menu was asked for (its button is already shown pressed).
    void keyMenuRequested(int keyIndex, const QPoint& globalPosition);

private:
    // "Key 5", with its caption in the 12-key layout and its type.
    void updateAccessibleName(int keyIndex);

    std::array<TKeyButton*, Keys> m_buttons{};
    std::array<int, Keys> m_keyTypes{};
    QButtonGroup* m_group;
};

} // namespace tessaron
