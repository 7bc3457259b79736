#include "Params.h"

#include "DialogLists.h"
#include "FormBuilder.h"
#include "SpinEdit.h"
#include "common/ButtonAccessible.h"
#include "editor/model/PackedFields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace tessaron {

namespace {

constexpr int CharacterCount = 128;

// LED captions by function code, in the default, RF and CDC host modes and in
// USB HID host mode (where the red LED's code 3 is the level indicator).
const TLedCaptions LedCaptions = {"Off", "Level Indicator", "Host/Macro Control",
                                  "Power Indicator"};
const TLedCaptions GreenHidCaptions = {"Off", "CapsLock Indicator", "NumLock Indicator",
                                       "Power Indicator"};
const TLedCaptions RedHidCaptions = {"Off", "CapsLock Indicator", "NumLock Indicator",
                                     "Level Indicator"};

// A labelled field in a group of its own: " Title " / "Label:" [field].
TSpinEdit* addFieldGroup(QVBoxLayout* column, QWidget* parent, const char* groupName,
                         const QString& title, const char* labelName, const QString& label,
                         const char* spinName, int minimum, int maximum, int step = 1,
                         const QString& hint = QString())
{
    QGroupBox* group = MakeGroup(parent, groupName, title);
    QLabel* caption = MakeLabel(group, labelName, label);
    TSpinEdit* spin = MakeSpin(group, spinName, minimum, maximum, step);
    LabelFor(caption, spin);
    if (!hint.isEmpty()) {
        caption->setToolTip(hint);
        spin->setToolTip(hint);
        DescribeWith(spin, hint);
    }
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(MakeRow({caption, spin}));
    column->addWidget(group);
    return spin;
}

// A stored character beyond the list shows the field's new-document value,
// which Apply then stores: the list never yields a code it does not hold.
int characterEntry(std::uint8_t value, int fallback)
{
    return value < CharacterCount ? value : fallback;
}

} // namespace

TfrmParameters::TfrmParameters(const TDialogContext& context, QWidget* parent)
    : TPropertyDialogFrame("frmParameters", QStringLiteral("Tessaron USER Properties"), parent),
      m_context(context), m_modeGroup(MakeButtonGroup(this)),
      m_rollOverGroup(MakeButtonGroup(this)), m_greenGroup(MakeButtonGroup(this)),
      m_redGroup(MakeButtonGroup(this)), m_hostGroup(MakeButtonGroup(this)),
      m_readerGroup(MakeButtonGroup(this))
{
    auto* columns = new QHBoxLayout(Body());
    columns->setContentsMargins(0, 0, 0, 0);
    for (auto build : {&TfrmParameters::buildModeColumn, &TfrmParameters::buildLinkColumn,
                       &TfrmParameters::buildReaderColumn}) {
        auto* column = new QWidget(Body());
        columns->addWidget(column, 0, Qt::AlignTop);
        (this->*build)(column);
    }
    connectHandlers();
    FinishTabOrder();
}

void TfrmParameters::buildModeColumn(QWidget* column)
{
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox* mode = MakeGroup(column, "gboxOperatingMode", QStringLiteral(" Operating Mode "));
    MakeRadio(mode, "rbTrueTerminal", QStringLiteral("True Terminal Mode"), m_modeGroup, 0);
    MakeRadio(mode, "rbLineEdit", QStringLiteral("Line Edit Mode"), m_modeGroup, 1);
    m_cbMaskInput = MakeCheck(mode, "cbMaskInput", QString());
    m_lblMaskInput = MakeLabel(mode, "lblMaskInput", QStringLiteral("Mask User Input"));
    LabelFor(m_lblMaskInput, m_cbMaskInput);
    m_lblTailChar1 = MakeLabel(mode, "lblTailChar1", QStringLiteral("Tail Character:"));
    m_spinTailChar = MakeSpin(mode, "spinTailChar", 0, 255);
    m_lblTailChar2 = MakeLabel(mode, "lblTailChar2", QStringLiteral("(decimal)"));
    LabelFor(m_lblTailChar1, m_spinTailChar);
    DescribeWith(m_spinTailChar, m_lblTailChar2->text());
    auto* modeLayout = new QVBoxLayout(mode);
    for (QAbstractButton* button : m_modeGroup->buttons()) {
        modeLayout->addWidget(button);
    }
    modeLayout->addLayout(MakeRow({m_cbMaskInput, m_lblMaskInput}));
    modeLayout->addLayout(MakeRow({m_lblTailChar1, m_spinTailChar, m_lblTailChar2}));
    layout->addWidget(mode);

    m_spinCharacterPacing = addFieldGroup(
        layout, column, "gboxCharacterPacing", QStringLiteral(" Character Pacing "),
        "lblCharacterPacing", QStringLiteral("Pacing (ms):"), "spinCharacterPacing", 0, 200, 2,
        QStringLiteral("Pacing is the time between bytes during macro playback."));
    m_spinDownloadDelay =
        addFieldGroup(layout, column, "gboxDownloadDelay", QStringLiteral(" Download Delay "),
                      "lblDownloadDelay", QStringLiteral("Delay (ms):"), "spinDownloadDelay", 0,
                      100, 1, QStringLiteral("Slows download on fast PC's."));
    m_spinCmdPrefix =
        addFieldGroup(layout, column, "gboxCommandPrefix", QStringLiteral(" Command Prefix "),
                      "lblCmdPrefix", QStringLiteral("Prefix (decimal):"), "spinCmdPrefix", 0, 255);
    m_spinKeyClick =
        addFieldGroup(layout, column, "gboxKeyBeep", QStringLiteral(" Key Beep "), "lblKeyClick",
                      QStringLiteral("Key Beep (ms):"), "spinKeyClick", 0, 250, 2);

    QGroupBox* rollOver = MakeGroup(column, "gboxKeyRollover", QStringLiteral(" Key Rollover "));
    QRadioButton* one =
        MakeRadio(rollOver, "radbtnKeyRoll1", QStringLiteral("1"), m_rollOverGroup, 1);
    QRadioButton* two =
        MakeRadio(rollOver, "radbtnKeyRoll2", QStringLiteral("2"), m_rollOverGroup, 2);
    QLabel* note = MakeNote(rollOver, "lblKeyRollNote",
                            QStringLiteral("How many keys may be held down together?"));
    for (QRadioButton* button : {one, two}) {
        TButtonAccessible::Qualify(button, QStringLiteral("Key rollover"));
        DescribeWith(button, note->text());
    }
    auto* rollLayout = new QHBoxLayout(rollOver);
    rollLayout->addWidget(one);
    rollLayout->addWidget(two);
    rollLayout->addWidget(note, 1);
    layout->addWidget(rollOver);
    layout->addStretch();
}

void TfrmParameters::buildLinkColumn(QWidget* column)
{
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox* rs232 = MakeGroup(column, "gboxRS232", QStringLiteral(" RS232 Settings "));
    QLabel* baudLabel = MakeLabel(rs232, "lblBaudRate", QStringLiteral("Baud Rate :"));
    m_cboxBaudRate = MakeList(rs232, "cboxBaudRate", BaudRateEntries());
    LabelFor(baudLabel, m_cboxBaudRate);
    QLabel* formatLabel = MakeLabel(rs232, "lblWordFormat", QStringLiteral("Word Format :"));
    m_cboxWordFormat = MakeList(rs232, "cboxWordFormat",
                                {QStringLiteral("8,N,1"), QStringLiteral("7,N,1"),
                                 QStringLiteral("7,O,1"), QStringLiteral("7,E,1")});
    LabelFor(formatLabel, m_cboxWordFormat);
    const QString formatHint = QStringLiteral("Data bits, parity, # stop bits");
    formatLabel->setToolTip(formatHint);
    m_cboxWordFormat->setToolTip(formatHint);
    DescribeWith(m_cboxWordFormat, formatHint);
    auto* rsLayout = new QGridLayout(rs232);
    rsLayout->addWidget(baudLabel, 0, 0);
    rsLayout->addWidget(m_cboxBaudRate, 0, 1);
    rsLayout->addWidget(formatLabel, 1, 0);
    rsLayout->addWidget(m_cboxWordFormat, 1, 1);
    layout->addWidget(rs232);

    for (const int led : {1, 2}) {
        layout->addWidget(MakeLedGroup(
            column, led, led == 1 ? QStringLiteral(" Green LED ") : QStringLiteral(" Red LED "),
            led == 1 ? m_greenGroup : m_redGroup, LedCaptions));
    }

    QGroupBox* host = MakeGroup(column, "gboxHostMode", QStringLiteral(" USB Host Mode  "));
    auto* hostLayout = new QVBoxLayout(host);
    hostLayout->addWidget(MakeRadio(host, "rbHostTypeDefault",
                                    QStringLiteral("Default (USB Virtual COM)"), m_hostGroup,
                                    int(THostMode::AutoDetect)));
    hostLayout->addWidget(MakeRadio(host, "rbHostTypeHID", QStringLiteral("PC Keyboard (USB HID)"),
                                    m_hostGroup, int(THostMode::Hid)));
    QRadioButton* cdc = MakeRadio(host, "rbHostTypeCDC", QStringLiteral("USB CDC Vrtual COM"),
                                  m_hostGroup, int(THostMode::Cdc));
    cdc->setToolTip(QStringLiteral("Required v5.60+"));
    DescribeWith(cdc, cdc->toolTip());
    hostLayout->addWidget(cdc);
    // The RF mode is never offered, but a stored one is kept (see ApplyClick).
    QRadioButton* rf = MakeRadio(host, "rbHostTypeRF", QStringLiteral("RF Wireless"), m_hostGroup,
                                 int(THostMode::Rf));
    m_lblRFID = MakeLabel(host, "lblRFID", QStringLiteral("ID: "));
    m_spinRFID = MakeSpin(host, "spinRFID", 0, 7);
    LabelFor(m_lblRFID, m_spinRFID);
    SetVisible({rf, m_lblRFID, m_spinRFID}, false);
    rf->setEnabled(false);
    hostLayout->addLayout(MakeRow({rf, m_lblRFID, m_spinRFID}));
    m_lblCdcSerialNo = MakeLabel(host, "lblCdcSerialNo", QStringLiteral("CDC S/N:"));
    m_spinCdcSerialNo = MakeSpin(host, "spinCdcSerialNo", 0, 9999);
    LabelFor(m_lblCdcSerialNo, m_spinCdcSerialNo);
    hostLayout->addLayout(MakeRow({m_lblCdcSerialNo, m_spinCdcSerialNo}));
    layout->addWidget(host);
    layout->addStretch();
}

void TfrmParameters::buildReaderColumn(QWidget* column)
{
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox* reader = MakeGroup(column, "gboxCardReaderType", QString());
    reader->setAccessibleName(QStringLiteral("Choose Card Reader Type"));
    auto* readerLayout = new QVBoxLayout(reader);
    readerLayout->addWidget(MakeLabel(reader, "lblChooseCard", QStringLiteral("Choose Card")));
    readerLayout->addWidget(MakeLabel(reader, "lblReaderType", QStringLiteral("Reader Type:")));
    readerLayout->addWidget(
        MakeRadio(reader, "rbCardReaderNone", QStringLiteral("None"), m_readerGroup, 0));
    readerLayout->addWidget(
        MakeRadio(reader, "rbCardReaderBCR", QStringLiteral("Barcode/RFID"), m_readerGroup, 1));
    readerLayout->addWidget(
        MakeRadio(reader, "rbCardReaderMCR", QStringLiteral("Magnetic Card"), m_readerGroup, 2));
    layout->addWidget(reader);

    m_gboxBCR = MakeGroup(column, "gboxBCR", QStringLiteral(" Barcode/RFID Reader "));
    m_cbStartCharEnable =
        MakeCheck(m_gboxBCR, "cbStartCharEnable", QStringLiteral("Enable Start Character"));
    m_lblStartChar = MakeLabel(m_gboxBCR, "lblStartChar", QStringLiteral("Start Char:"));
    m_spinStartChar = MakeSpin(m_gboxBCR, "spinStartChar", 1, 255);
    LabelFor(m_lblStartChar, m_spinStartChar);
    m_cbEndCharEnable =
        MakeCheck(m_gboxBCR, "cbEndCharEnable", QStringLiteral("Enable End Character"));
    m_lblEndChar = MakeLabel(m_gboxBCR, "lblEndChar", QStringLiteral("End Char:"));
    m_spinEndChar = MakeSpin(m_gboxBCR, "spinEndChar", 1, 255);
    LabelFor(m_lblEndChar, m_spinEndChar);
    auto* bcrLayout = new QVBoxLayout(m_gboxBCR);
    bcrLayout->addWidget(m_cbStartCharEnable);
    bcrLayout->addLayout(MakeRow({m_lblStartChar, m_spinStartChar}));
    bcrLayout->addWidget(m_cbEndCharEnable);
    bcrLayout->addLayout(MakeRow({m_lblEndChar, m_spinEndChar}));

    m_gboxMCR = MakeGroup(column, "gboxMCR", QStringLiteral(" Mag Card Reader "));
    QLabel* tracks = MakeLabel(m_gboxMCR, "lblTracks", QStringLiteral("Process Track(s) : "));
    m_cbTrack1 = MakeCheck(m_gboxMCR, "cbTrack1", QStringLiteral("Track 1"));
    m_cbTrack2 = MakeCheck(m_gboxMCR, "cbTrack2", QStringLiteral("Track 2"));
    auto* mcrLayout = new QGridLayout(m_gboxMCR);
    mcrLayout->addWidget(tracks, 0, 0);
    mcrLayout->addLayout(MakeRow({m_cbTrack1, m_cbTrack2}), 0, 1);
    const struct
    {
        const char* labelName;
        const char* label;
        const char* listName;
        QComboBox** list;
        const char* noteName;
        const char* note;
    } sentinels[] = {
        {"lblStartSentinel", "Start Sentinel Char : ", "cboxStartSentinel", &m_cboxStartSentinel,
         "lblStartSentinelNote",
         "Sent in place of the start sentinel: \"%\" on track 1, \";\" "
         "on track 2."},
        {"lblEndSentinel", "End Sentinel Char : ", "cboxEndSentinel", &m_cboxEndSentinel,
         "lblEndSentinelNote", "Sent in place of the end sentinel \"?\" of either track."},
        {"lblFieldSeparator", "Field Separator Char : ", "cboxFieldSeparator",
         &m_cboxFieldSeparator, "lblFieldSeparatorNote",
         "Sent in place of the field separator: \"^\" on track 1, \"=\" on track 2."},
    };
    const QStringList characters = CharacterEntries();
    int r = 1;
    for (const auto& s : sentinels) {
        QLabel* label = MakeLabel(m_gboxMCR, s.labelName, QString::fromLatin1(s.label));
        *s.list = MakeList(m_gboxMCR, s.listName, characters);
        LabelFor(label, *s.list);
        QLabel* note = MakeNote(m_gboxMCR, s.noteName, QString::fromLatin1(s.note));
        DescribeWith(*s.list, note->text());
        mcrLayout->addWidget(label, r, 0);
        mcrLayout->addWidget(*s.list, r, 1, Qt::AlignLeft);
        mcrLayout->addWidget(note, r + 1, 0, 1, 2);
        r += 2;
    }

    // The two reader groups share one place; at most one is visible.
    auto* shared = new QGridLayout;
    shared->addWidget(m_gboxBCR, 0, 0, Qt::AlignTop);
    shared->addWidget(m_gboxMCR, 0, 0, Qt::AlignTop);
    layout->addLayout(shared);
    layout->addStretch();
}

void TfrmParameters::connectHandlers()
{
    for (TSpinEdit* spin :
         {m_spinCharacterPacing, m_spinDownloadDelay, m_spinCmdPrefix, m_spinKeyClick,
          m_spinTailChar, m_spinStartChar, m_spinEndChar, m_spinRFID, m_spinCdcSerialNo}) {
        connect(spin, &QSpinBox::valueChanged, this, &TfrmParameters::UserChangedSomething);
    }
    for (QComboBox* list : {m_cboxBaudRate, m_cboxWordFormat, m_cboxStartSentinel,
                            m_cboxEndSentinel, m_cboxFieldSeparator}) {
        connect(list, &QComboBox::currentIndexChanged, this, &TfrmParameters::UserChangedSomething);
    }
    // Buttons react to toggled, which a click, the keyboard and a screen
    // reader's Toggle or Press action all emit; a radio button only to being
    // checked.
    for (QCheckBox* box : {m_cbMaskInput, m_cbTrack1, m_cbTrack2}) {
        connect(box, &QCheckBox::toggled, this, &TfrmParameters::UserChangedSomething);
    }
    for (QButtonGroup* leds : {m_greenGroup, m_redGroup}) {
        connect(leds, &QButtonGroup::idToggled, this, [this](int, bool checked) {
            if (checked) {
                UserChangedSomething();
            }
        });
    }
    connect(m_rollOverGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_loading) {
            m_pendingRollOver = static_cast<std::uint8_t>(id);
            UserChangedSomething();
        }
    });
    connect(m_modeGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_loading) {
            setLineEditMode(id == 1);
            UserChangedSomething();
        }
    });
    connect(m_hostGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_loading) {
            setHostMode(static_cast<THostMode>(id));
            UserChangedSomething();
        }
    });
    connect(m_readerGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_loading) {
            setReaderGroups(id);
            UserChangedSomething();
        }
    });
    for (QCheckBox* enable : {m_cbStartCharEnable, m_cbEndCharEnable}) {
        connect(enable, &QCheckBox::toggled, this, [this] {
            if (!m_loading) {
                setCharacterEnabling();
                UserChangedSomething();
            }
        });
    }
}

void TfrmParameters::UserChangedSomething()
{
    if (!m_loading) {
        SetOkAndApplyEnabled(true);
    }
}

void TfrmParameters::setLineEditMode(bool lineEdit)
{
    SetEnabled({m_lblMaskInput, m_cbMaskInput, m_lblTailChar1, m_lblTailChar2, m_spinTailChar},
               lineEdit);
}

void TfrmParameters::setHostMode(THostMode host)
{
    const bool hid = host == THostMode::Hid;
    SetLedCaptions(m_greenGroup, hid ? GreenHidCaptions : LedCaptions);
    SetLedCaptions(m_redGroup, hid ? RedHidCaptions : LedCaptions);
    SetEnabled({m_lblRFID, m_spinRFID}, host == THostMode::Rf);
    SetEnabled({m_lblCdcSerialNo, m_spinCdcSerialNo}, host == THostMode::Cdc);
}

void TfrmParameters::setReaderGroups(int type)
{
    m_gboxBCR->setVisible(type == 1);
    m_gboxMCR->setVisible(type == 2);
}

void TfrmParameters::setCharacterEnabling()
{
    SetEnabled({m_lblStartChar, m_spinStartChar}, m_cbStartCharEnable->isChecked());
    SetEnabled({m_lblEndChar, m_spinEndChar}, m_cbEndCharEnable->isChecked());
}

void TfrmParameters::FormShow()
{
    const TKeypadClass& k = m_context.Keypad;
    m_loading = true;
    m_spinCharacterPacing->setValue(k.Character_Pacing);
    m_spinDownloadDelay->setValue(k.DOWNLOAD_DELAY);

    m_pendingRollOver = k.Key_Roll_Over;
    CheckId(m_rollOverGroup, k.Key_Roll_Over == 1 ? 1 : 2);

    const TLeds leds = LedFunctionsOf(k.LED_Function);
    CheckId(m_redGroup, leds.Red);
    CheckId(m_greenGroup, leds.Green);

    const bool lineEdit = IsLineEdit(k.Operating_Mode);
    CheckId(m_modeGroup, lineEdit ? 1 : 0);
    setLineEditMode(lineEdit);
    m_cbMaskInput->setChecked(IsInputMasked(k.Operating_Mode));

    const THostMode host = UserHostMode(k.Operating_Mode);
    CheckId(m_hostGroup, int(host));
    setHostMode(host);

    m_spinCdcSerialNo->setValue(k.CDC_Serial_No);
    m_spinTailChar->setValue(k.LineEdit_TailCharacter);
    m_spinKeyClick->setValue(k.Key_Click);
    m_spinCmdPrefix->setValue(k.Command_Prefix);
    // A rate beyond the list shows (and is then stored as) 9600.
    m_cboxBaudRate->setCurrentIndex(k.Baud_Rate < m_cboxBaudRate->count() ? k.Baud_Rate
                                                                          : DefaultBaudRate);
    m_cboxWordFormat->setCurrentIndex(UserWordFormatEntry(k.Word_Format));

    m_spinStartChar->setValue(k.CardReader_StartCharacter);
    m_cbStartCharEnable->setChecked(k.CardReader_StartCharacterEnable != 0);
    SetEnabled({m_lblStartChar, m_spinStartChar}, k.CardReader_StartCharacterEnable == 1);
    m_spinEndChar->setValue(k.CardReader_EndCharacter);
    m_cbEndCharEnable->setChecked(k.CardReader_EndCharacterEnable != 0);
    SetEnabled({m_lblEndChar, m_spinEndChar}, k.CardReader_EndCharacterEnable == 1);

    // An unknown reader type checks no button and shows neither group.
    CheckId(m_readerGroup, k.CardReader_Type);
    setReaderGroups(k.CardReader_Type);

    const TTracks tracks = TracksOf(k.CardReader_Tracks);
    m_cbTrack1->setChecked(tracks.Track1);
    m_cbTrack2->setChecked(tracks.Track2);
    m_cboxStartSentinel->setCurrentIndex(characterEntry(k.CardReader_StartSentinel, 0));
    m_cboxEndSentinel->setCurrentIndex(characterEntry(k.CardReader_EndSentinel, 13));
    m_cboxFieldSeparator->setCurrentIndex(characterEntry(k.CardReader_FieldSeparator, 9));
    m_spinRFID->setValue(k.RF_Keypad_ID);
    m_loading = false;
    SetOkAndApplyEnabled(false);
}

void TfrmParameters::ApplyClick()
{
    TKeypadClass& k = m_context.Keypad;
    k.LED_Function = LedFunctionValue({m_greenGroup->checkedId(), m_redGroup->checkedId()});
    k.Key_Roll_Over = m_pendingRollOver;
    k.Character_Pacing = static_cast<std::uint8_t>(m_spinCharacterPacing->value());
    k.DOWNLOAD_DELAY = m_spinDownloadDelay->value();

    k.Operating_Mode = UserOperatingMode(m_modeGroup->checkedId() == 1, m_cbMaskInput->isChecked(),
                                         static_cast<THostMode>(m_hostGroup->checkedId()));

    k.LineEdit_TailCharacter = static_cast<std::uint8_t>(m_spinTailChar->value());
    k.Key_Click = static_cast<std::uint8_t>(m_spinKeyClick->value());
    k.Command_Prefix = static_cast<std::uint8_t>(m_spinCmdPrefix->value());
    k.Baud_Rate = static_cast<std::uint8_t>(m_cboxBaudRate->currentIndex());
    if (m_cboxWordFormat->currentIndex() >= 0) {
        k.Word_Format = UserWordFormatValue(m_cboxWordFormat->currentIndex());
    }

    k.CardReader_StartCharacter = static_cast<std::uint8_t>(m_spinStartChar->value());
    k.CardReader_StartCharacterEnable = m_cbStartCharEnable->isChecked() ? 1 : 0;
    k.CardReader_EndCharacter = static_cast<std::uint8_t>(m_spinEndChar->value());
    k.CardReader_EndCharacterEnable = m_cbEndCharEnable->isChecked() ? 1 : 0;
    // A reader type no button stands for is kept as the file had it.
    if (m_readerGroup->checkedId() >= 0) {
        k.CardReader_Type = static_cast<std::uint8_t>(m_readerGroup->checkedId());
    }

    k.CardReader_Tracks =
        WithTracks(k.CardReader_Tracks, {m_cbTrack1->isChecked(), m_cbTrack2->isChecked()});

    k.CardReader_StartSentinel = static_cast<std::uint8_t>(m_cboxStartSentinel->currentIndex());
    k.CardReader_EndSentinel = static_cast<std::uint8_t>(m_cboxEndSentinel->currentIndex());
    k.CardReader_FieldSeparator = static_cast<std::uint8_t>(m_cboxFieldSeparator->currentIndex());
    k.RF_Keypad_ID = static_cast<std::uint8_t>(m_spinRFID->value());
    k.CDC_Serial_No = m_spinCdcSerialNo->value();

    m_context.Applied();
    ApplyButton()->setEnabled(false);
}

} // namespace tessaron
