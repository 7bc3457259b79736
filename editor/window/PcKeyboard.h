#pragma once

#include <QList>
#include <QWidget>

#include <cstdint>

class QAbstractButton;
class QBoxLayout;
class QLabel;
class QSlider;

namespace tessaron {

// The on-screen PC keyboard: six rows of key caps (green = can also be typed,
// grey = click only), the modifier toggles, and the beep and delay command
// buttons with their track bars. It only reports clicks; the main window
// turns them into macro items. No button takes the keyboard focus, so the
// macro grid keeps it.
class TPcKeyboard : public QWidget
{
    Q_OBJECT

public:
    static constexpr int KeyPitch = 21; // pixels per key unit
    static constexpr int KeyboardTop = 42;
    static constexpr int KeyboardWidth = 410;  // 19.5 key units
    static constexpr int KeyboardHeight = 168; // command row, label, six key rows

    explicit TPcKeyboard(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // Shows the four Shift/Ctrl and the two (hidden) Alt toggles released,
    // without reporting a change; Caps Lock keeps its state.
    void ShowModifierButtons();
    // Shows one toggle (LeftShift ... CapsLock flag) pressed or released
    // without reporting a change.
    void SetModifierButton(std::uint8_t flag, bool pressed);

    int BeepPosition() const;
    int DelayPosition() const;

    // The controls that Tab reaches, in order: the beep and delay commands
    // with their track bars, then the modifier toggles. The key caps are
    // typed on the PC keyboard instead.
    QList<QWidget*> FocusChain() const;

signals:
    void keyClicked(int keyNumber);
    void rawCodeClicked(int code);
    void modifierToggled(std::uint8_t flag, bool pressed);
    void delayClicked(int position);
    void beepClicked(int position);

private:
    QAbstractButton* modifierButton(std::uint8_t flag) const;
    // Adds a command button ("btnBeep"), its track bar ("tbBeepValue") and
    // the bar's end marks to the row; returns the bar.
    QSlider* addCommand(QBoxLayout* row, QAbstractButton*& button, const char* caption,
                        const char* hint);

    QAbstractButton* m_sbtnLShift = nullptr;
    QAbstractButton* m_sbtnRShift = nullptr;
    QAbstractButton* m_sbtnLCtrl = nullptr;
    QAbstractButton* m_sbtnRCtrl = nullptr;
    QAbstractButton* m_sbtnLAlt = nullptr;
    QAbstractButton* m_sbtnRAlt = nullptr;
    QAbstractButton* m_spdbtnCapsLock = nullptr;
    QAbstractButton* m_btnBeep = nullptr;
    QAbstractButton* m_btnDelay = nullptr;
    QSlider* m_tbBeepValue = nullptr;
    QSlider* m_tbDelayValue = nullptr;
    QLabel* m_lblKeyboard = nullptr;
};

} // namespace tessaron
