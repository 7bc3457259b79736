#include "AdvancedLcdPage.h"

#include "FormBuilder.h"
#include "LcdPanel.h"
#include "SpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace tessaron {

TAdvancedLcdPage::TAdvancedLcdPage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabLcd"), m_sizeGroup(MakeButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* size = MakeGroup(this, "gboxLcdSize", QStringLiteral(" LCD Size "));
    size->setLayout(MakeRow(
        {MakeRadio(size, "rbLcdIs1x16", QStringLiteral("1 line x 16 characters"), m_sizeGroup, 16),
         MakeRadio(size, "rbLcdIs2x16", QStringLiteral("2 lines x 16 characters"), m_sizeGroup,
                   32)}));
    layout->addWidget(size);

    QGroupBox* signOn = MakeGroup(this, "gboxSignOn", QStringLiteral(" Sign-on Message "));
    auto* signOnLayout = new QGridLayout(signOn);
    m_signOn = new TLcdPanel(signOn, "edLcdLine1", "edLcdLine2", QStringLiteral("Sign-on message"));
    QLabel* note = MakeNote(signOn, "lblSignOnNote",
                            QStringLiteral("Type the message as the LCD shows it. The lines are "
                                           "full, so select the characters you want to change "
                                           "and type over them."));
    for (QLineEdit* line : {m_signOn->Line1(), m_signOn->Line2()}) {
        DescribeWith(line, note->text());
    }
    signOnLayout->addWidget(m_signOn, 0, 0, 2, 1);
    signOnLayout->addWidget(note, 0, 1, 2, 2);
    auto* hold = new QWidget(signOn);
    auto* holdGrid = new QGridLayout(hold);
    holdGrid->setContentsMargins(0, 0, 0, 0);
    m_spinTSignOnHold =
        AddSpinRow(holdGrid, 0, "lblTSignOnHold", QStringLiteral("Sign-on message display time:"),
                   "spinTSignOnHold", 10, 10000, 10, "lblTSignOnHoldMs", QStringLiteral("ms"));
    holdGrid->setColumnStretch(3, 1);
    signOnLayout->addWidget(hold, 2, 0, 1, 3);
    signOnLayout->setColumnStretch(1, 1);
    layout->addWidget(signOn);

    QGroupBox* display = MakeGroup(this, "gboxLcdOptions", QStringLiteral(" Display "));
    auto* displayLayout = new QGridLayout(display);
    m_cbLcdCursorUnderline =
        MakeCheck(display, "cbLcdCursorUnderline", QStringLiteral("Enable cursor underline"));
    m_cbLcdCursorBlock =
        MakeCheck(display, "cbLcdCursorBlock", QStringLiteral("Enable cursor block"));
    m_cbEnableScroll = MakeCheck(display, "cbEnableScroll",
                                 QStringLiteral("Enable scroll (True Terminal mode only)"));
    m_cbEnableWrap =
        MakeCheck(display, "cbEnableWrap", QStringLiteral("Enable wrap (True Terminal mode only)"));
    displayLayout->addWidget(m_cbLcdCursorUnderline, 0, 0);
    displayLayout->addWidget(m_cbLcdCursorBlock, 1, 0);
    displayLayout->addWidget(m_cbEnableScroll, 0, 1);
    displayLayout->addWidget(m_cbEnableWrap, 1, 1);
    m_cbLcdXlate = MakeCheck(display, "cbLcdXlate",
                             QStringLiteral("Enable Line Edit LCD character translation"));
    QLabel* xlateNote = MakeNote(
        display, "lblLcdXlateNote",
        QStringLiteral("In Line Edit mode a key sends the first character of its macro; with "
                       "translation on, the LCD shows the macro's second character instead, "
                       "which is otherwise ignored."));
    DescribeWith(m_cbLcdXlate, xlateNote->text());
    displayLayout->addWidget(m_cbLcdXlate, 2, 0, 1, 2);
    displayLayout->addWidget(xlateNote, 3, 0, 1, 2);

    QLabel* brightness =
        MakeLabel(display, "lblLcdBrightness", QStringLiteral("LCD backlight brightness:"));
    m_tbarLcdBrightness = new QSlider(Qt::Horizontal, display);
    m_tbarLcdBrightness->setObjectName(QStringLiteral("tbarLcdBrightness"));
    m_tbarLcdBrightness->setRange(0, 9);
    m_tbarLcdBrightness->setPageStep(1);
    m_tbarLcdBrightness->setTickPosition(QSlider::TicksBelow);
    m_tbarLcdBrightness->setTickInterval(1);
    m_tbarLcdBrightness->setToolTip(QStringLiteral("LCD Backlight Brightness. Requires v6+"));
    LabelFor(brightness, m_tbarLcdBrightness);
    DescribeWith(m_tbarLcdBrightness, QStringLiteral("0 Off to 9 Maximum. Requires v6+"));
    auto* bar = new QHBoxLayout;
    bar->addWidget(brightness);
    bar->addWidget(MakeLabel(display, "lblBrightnessOff", QStringLiteral("Off")));
    bar->addWidget(m_tbarLcdBrightness, 1);
    bar->addWidget(MakeLabel(display, "lblBrightnessMax", QStringLiteral("Maximum")));
    displayLayout->addLayout(bar, 4, 0, 1, 2);
    layout->addWidget(display);
    layout->addStretch();

    OnChecked(
        m_sizeGroup, [](TAdvancedParams& w, int id) { w.LcdSize = static_cast<std::uint8_t>(id); },
        true);
    OnText(m_signOn->Line1(), &TAdvancedParams::SignOnMsgLine1);
    OnText(m_signOn->Line2(), &TAdvancedParams::SignOnMsgLine2);
    OnValue(m_spinTSignOnHold, &TAdvancedParams::TSignOnHold);
    OnToggled(m_cbLcdCursorUnderline, [](TAdvancedParams& w, bool on) {
        w.CursorStyle = WithBit(w.CursorStyle, CursorUnderline, on);
    });
    OnToggled(m_cbLcdCursorBlock, [](TAdvancedParams& w, bool on) {
        w.CursorStyle = WithBit(w.CursorStyle, CursorBlock, on);
    });
    OnToggled(m_cbEnableScroll, [](TAdvancedParams& w, bool on) {
        w.ScrollWrap = WithBit(w.ScrollWrap, ScrollEnabled, on);
    });
    OnToggled(m_cbEnableWrap, [](TAdvancedParams& w, bool on) {
        w.ScrollWrap = WithBit(w.ScrollWrap, WrapEnabled, on);
    });
    OnToggled(m_cbLcdXlate, [](TAdvancedParams& w, bool on) { w.LcdXlate = on ? 1 : 0; });
    connect(m_tbarLcdBrightness, &QSlider::valueChanged, this, [this](int position) {
        if (!m_editor.Loading()) {
            m_tbarLcdBrightness->setToolTip(QString::number(position));
        }
        Store([&](TAdvancedParams& w) { w.LcdBrightness = static_cast<std::uint8_t>(position); });
    });
}

void TAdvancedLcdPage::Fill(const TAdvancedParams& work)
{
    const bool oneLine = work.LcdSize == 16;
    CheckId(m_sizeGroup, oneLine ? 16 : 32);
    m_signOn->Line1()->setText(FromRecord(work.SignOnMsgLine1));
    m_signOn->Line2()->setText(FromRecord(work.SignOnMsgLine2));
    // The second line's text stays in the record; the editor is only dark.
    m_signOn->SetSecondLineInUse(!oneLine);
    m_spinTSignOnHold->setValue(work.TSignOnHold);
    m_cbLcdCursorUnderline->setChecked(HasBit(work.CursorStyle, CursorUnderline));
    m_cbLcdCursorBlock->setChecked(HasBit(work.CursorStyle, CursorBlock));
    m_cbEnableScroll->setChecked(HasBit(work.ScrollWrap, ScrollEnabled));
    m_cbEnableWrap->setChecked(HasBit(work.ScrollWrap, WrapEnabled));
    m_cbLcdXlate->setChecked(work.LcdXlate != 0);
    m_tbarLcdBrightness->setValue(work.LcdBrightness);

    const TKeypadMode mode = KeypadModeOf(work);
    SetEnabled({m_cbEnableScroll, m_cbEnableWrap}, mode == TKeypadMode::TrueTerminal);
    m_cbLcdXlate->setEnabled(mode == TKeypadMode::LineEdit);
}

} // namespace tessaron
