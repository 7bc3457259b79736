#pragma once

#include "portmgr/bridge/TActivityView.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;

namespace tessaron {

// "Activity LEDs": a small frameless window near the lower right corner of the
// screen, one row per keypad slot with its USB id box, four LEDs and its COM id
// box. What it shows is decided by TActivityMonitor; this is only its face. It
// has no taskbar button and never takes the focus.
class TfrmActivity : public QWidget, public TActivityView
{
    Q_OBJECT

public:
    static constexpr int Rows = 6;
    static constexpr const char* BackgroundPicture = "corvandelle-leds.jpg";

    explicit TfrmActivity(QWidget* parent = nullptr);

    // Called on every tick of TmrActivity (100 ms).
    std::function<void()> TmrActivityTimer;

    // ImageList1: index 0 the dark LED, index 1 the lit one (16 x 16).
    static QPixmap LedPicture(bool lit);

    int ScreenWidth() const override;
    int ScreenHeight() const override;
    void PlaceAt(int left, int top) override;
    void SetLed(TLedGroup group, int row, bool lit) override;
    void SetUsbIdBox(int row, bool on) override;
    void SetComIdBox(int row, bool on) override;
    void EnableRowLabel(int row, bool enabled) override;
    void EnableIdBoxes(int row, bool enabled) override;
    void SetTimerEnabled(bool enabled) override;
    void Show() override;
    void Hide() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_background;
    std::array<QPixmap, 2> m_imageList;
    std::array<QLabel*, Rows> m_lblKeypad{};
    std::array<QCheckBox*, Rows> m_cboxUsbId{};
    std::array<QCheckBox*, Rows> m_cboxComId{};
    // [group][row] in the order of TLedGroup: USB rx, USB tx, COM rx, COM tx.
    std::array<std::array<QLabel*, Rows>, 4> m_leds{};
    QTimer m_tmrActivity;
};

} // namespace tessaron
