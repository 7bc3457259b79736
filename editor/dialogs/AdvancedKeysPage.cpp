#include "AdvancedKeysPage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"
#include "common/ButtonAccessible.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace tessaron {

namespace {

// Captions by LED function code: any host type but USB HID, then USB HID for
// the green and for the red LED.
const TLedCaptions LedCaptions = {"Not Used", "Shift/Toggle Indicator", "Under Host Control",
                                  "Power Indicator"};
const TLedCaptions GreenHidCaptions = {"Not Used", "CapsLock Indicator", "NumLock Indicator",
                                       "Power Indicator"};
const TLedCaptions RedHidCaptions = {"Not Used", "CapsLock Indicator", "NumLock Indicator",
                                     "Shift/Toggle Indicator"};

} // namespace

TAdvancedKeysPage::TAdvancedKeysPage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabKeysLeds"), m_rollOverGroup(MakeButtonGroup(this)),
      m_greenGroup(MakeButtonGroup(this)), m_redGroup(MakeButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* keys = MakeGroup(this, "gboxKeys", QStringLiteral(" Keys "));
    auto* grid = new QGridLayout(keys);
    m_spinCharPacing =
        AddSpinRow(grid, 0, "lblCharPacing", QStringLiteral("Inter-character delay:"),
                   "spinCharPacing", 0, 200, 2, "lblCharPacingMs", QStringLiteral("ms"));
    m_spinDownloadDelay =
        AddSpinRow(grid, 1, "lblDownloadDelay", QStringLiteral("Download delay:"),
                   "spinDownloadDelay", 0, 100, 1, "lblDownloadDelayMs", QStringLiteral("ms"));
    // Set for the keypad by the download, not by the ROM.
    m_spinDownloadDelay->setEnabled(false);
    grid->setColumnStretch(3, 1);
    layout->addWidget(keys);

    QGroupBox* rollOver = MakeGroup(this, "gboxRollover", QStringLiteral(" Rollover * "));
    auto* rollLayout = new QHBoxLayout(rollOver);
    for (const int n : {1, 2}) {
        const QByteArray name = "rbKeyRollover" + QByteArray::number(n);
        QRadioButton* button =
            MakeRadio(rollOver, name.constData(), QString::number(n), m_rollOverGroup, n);
        TButtonAccessible::Qualify(button, QStringLiteral("Rollover"));
        rollLayout->addWidget(button);
    }
    rollLayout->addStretch();
    layout->addWidget(rollOver);

    auto* leds = new QHBoxLayout;
    for (const int led : {1, 2}) {
        QGroupBox* box = MakeLedGroup(this, led,
                                      led == 1 ? QStringLiteral(" Green LED Control * ")
                                               : QStringLiteral(" Red LED Control * "),
                                      led == 1 ? m_greenGroup : m_redGroup, LedCaptions);
        (led == 1 ? m_gboxLED1 : m_gboxLED2) = box;
        leds->addWidget(box);
    }
    layout->addLayout(leds);
    layout->addStretch();

    OnValue(m_spinCharPacing, &TAdvancedParams::Character_Pacing);
    OnValue(m_spinDownloadDelay, &TAdvancedParams::DOWNLOAD_DELAY);
    OnChecked(m_rollOverGroup,
              [](TAdvancedParams& w, int n) { w.Key_Roll_Over = static_cast<std::uint8_t>(n); });
    for (QButtonGroup* group : {m_greenGroup, m_redGroup}) {
        OnChecked(group, [this](TAdvancedParams& w, int) {
            w.LED_Function = LedFunctionValue({m_greenGroup->checkedId(), m_redGroup->checkedId()});
        });
    }
}

void TAdvancedKeysPage::Fill(const TAdvancedParams& work)
{
    CheckId(m_rollOverGroup, work.Key_Roll_Over == 1 ? 1 : 2);
    m_spinCharPacing->setValue(work.Character_Pacing);
    m_spinDownloadDelay->setValue(work.DOWNLOAD_DELAY);
    const TLeds leds = LedFunctionsOf(work.LED_Function);
    CheckId(m_greenGroup, leds.Green);
    CheckId(m_redGroup, leds.Red);
    const bool hid = work.HostType == int(THostMode::Hid);
    SetLedCaptions(m_greenGroup, hid ? GreenHidCaptions : LedCaptions);
    SetLedCaptions(m_redGroup, hid ? RedHidCaptions : LedCaptions);
    const bool screenMode = KeypadModeOf(work) == TKeypadMode::Screen;
    SetVisible({m_gboxLED1, m_gboxLED2}, !screenMode);
}

} // namespace tessaron
