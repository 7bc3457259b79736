#include "ScreenEdit.h"

#include "DialogLists.h"
#include "FormBuilder.h"
#include "LcdPanel.h"
#include "SpinEdit.h"
#include "common/ButtonAccessible.h"
#include "editor/model/PackedFields.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace tessaron {

namespace {

const QString FirstCaption = QStringLiteral("Tessaron Screen Editor");
const QString Caption = QStringLiteral("Tessaron ROM Screen Editor");

// The "Go to Screen" actions.
bool goesToScreen(int action)
{
    return action >= 1 && action <= 8;
}

} // namespace

TfrmScreenEdit::TfrmScreenEdit(const TDialogContext& context, QWidget* parent)
    : TPropertyDialogFrame("frmScreenEdit", FirstCaption, parent), m_context(context),
      m_screenGroup(MakeButtonGroup(this)), m_greenGroup(MakeButtonGroup(this)),
      m_redGroup(MakeButtonGroup(this))
{
    auto* columns = new QHBoxLayout(Body());
    columns->setContentsMargins(0, 0, 0, 0);
    auto* left = new QWidget(Body());
    auto* right = new QWidget(Body());
    columns->addWidget(left, 0, Qt::AlignTop);
    columns->addWidget(right, 0, Qt::AlignTop);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);

    buildScreenChoice(left);
    buildTimeoutAndCard(left);
    buildKeyActions(right);
    buildLedsAndTransition(right);
    leftLayout->addStretch();
    rightLayout->addStretch();

    // Nothing to apply until something changes; after that the buttons keep
    // their state from one opening to the next.
    SetOkAndApplyEnabled(false);

    connect(m_screenGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            m_current = id;
            fill();
        }
    });
    FinishTabOrder();
}

void TfrmScreenEdit::buildScreenChoice(QWidget* parent)
{
    auto* layout = static_cast<QVBoxLayout*>(parent->layout());
    QGroupBox* choice = MakeGroup(parent, "gboxScreenNumber", QString());
    choice->setFlat(true);
    choice->setAccessibleName(QStringLiteral("Screen Number"));
    auto* row = new QHBoxLayout(choice);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(MakeLabel(choice, "lblScreenNumber", QStringLiteral("Screen Number:")));
    for (int n = 1; n <= ScreenCount; ++n) {
        const QByteArray name = "rbScreen" + QByteArray::number(n);
        QRadioButton* button =
            MakeRadio(choice, name.constData(), QString::number(n), m_screenGroup, n - 1);
        TButtonAccessible::Qualify(button, QStringLiteral("Screen"));
        row->addWidget(button);
    }
    row->addStretch();
    m_screenGroup->button(0)->setChecked(true);
    layout->addWidget(choice);

    QGroupBox* lcd = MakeGroup(parent, "gboxLcd", QStringLiteral(" LCD "));
    auto* lcdLayout = new QHBoxLayout(lcd);
    m_lcd = new TLcdPanel(lcd, "edLcdLine1", "edLcdLine2", QStringLiteral("Screen text"));
    QLabel* note = MakeNote(lcd, "lblLcdNote",
                            QStringLiteral("Each \"_\" in the text reserves one position for "
                                           "the user's input."));
    for (QLineEdit* line : {m_lcd->Line1(), m_lcd->Line2()}) {
        DescribeWith(line, note->text());
    }
    lcdLayout->addWidget(m_lcd);
    lcdLayout->addWidget(note, 1);
    layout->addWidget(lcd);

    connect(m_lcd->Line1(), &QLineEdit::textChanged, this, [this](const QString& text) {
        store([&](TScreenDataRec& s) { s.TextLine1 = ToRecord(text); }, false);
    });
    connect(m_lcd->Line2(), &QLineEdit::textChanged, this, [this](const QString& text) {
        store([&](TScreenDataRec& s) { s.TextLine2 = ToRecord(text); }, false);
    });
}

void TfrmScreenEdit::buildTimeoutAndCard(QWidget* parent)
{
    auto* layout = static_cast<QVBoxLayout*>(parent->layout());

    QGroupBox* timeout = MakeGroup(parent, "gboxTimeout", QStringLiteral(" User Time-out "));
    auto* grid = new QGridLayout(timeout);
    m_cboxTimeoutEnable =
        MakeCheck(timeout, "cboxTimeoutEnable", QStringLiteral("Time-out enable"));
    grid->addWidget(m_cboxTimeoutEnable, 0, 0, 1, 3);
    m_lblTimeoutAction =
        MakeLabel(timeout, "lblTimeoutAction", QStringLiteral("On user time-out, do:"));
    m_cboxTimeoutAction = MakeList(timeout, "cboxTimeoutAction", ActionEntries(TActionList::A));
    LabelFor(m_lblTimeoutAction, m_cboxTimeoutAction);
    grid->addWidget(m_lblTimeoutAction, 1, 0);
    grid->addWidget(m_cboxTimeoutAction, 1, 1, 1, 2, Qt::AlignLeft);
    m_spinTimeoutPeriod = AddSpinRow(
        grid, 2, "lblTimeoutPeriod", QStringLiteral("Time-out period:"), "spinTimeoutPeriod", 1,
        60000, 1000, "lblTimeoutPeriodMs", QStringLiteral("ms"), &m_lblTimeoutPeriod);
    grid->setColumnStretch(3, 1);
    layout->addWidget(timeout);

    QGroupBox* card = MakeGroup(parent, "gboxCardSwipe", QStringLiteral(" Card Swipe "));
    auto* cardGrid = new QGridLayout(card);
    m_cboxCardSwipeEnable =
        MakeCheck(card, "cboxCardSwipeEnable", QStringLiteral("Enable card swipe for this screen"));
    cardGrid->addWidget(m_cboxCardSwipeEnable, 0, 0, 1, 2);
    m_lblCardSwipeAction =
        MakeLabel(card, "lblCardSwipeAction", QStringLiteral("On card swipe, do:"));
    m_cboxCardSwipeAction = MakeList(card, "cboxCardSwipeAction", ActionEntries(TActionList::B));
    LabelFor(m_lblCardSwipeAction, m_cboxCardSwipeAction);
    cardGrid->addWidget(m_lblCardSwipeAction, 1, 0);
    cardGrid->addWidget(m_cboxCardSwipeAction, 1, 1, Qt::AlignLeft);
    m_lblCardSwipeHelp =
        MakeNote(card, "lblCardSwipeHelp",
                 QStringLiteral("If enabled, card swipe will transmit card data."));
    DescribeWith(m_cboxCardSwipeEnable, m_lblCardSwipeHelp->text());
    cardGrid->addWidget(m_lblCardSwipeHelp, 2, 0, 1, 2);
    cardGrid->setColumnStretch(2, 1);
    layout->addWidget(card);

    onToggled(m_cboxTimeoutEnable, &TScreenDataRec::bTimeoutEnable, true);
    onIndex(m_cboxTimeoutAction, &TScreenDataRec::TimeoutAction, false);
    connect(m_spinTimeoutPeriod, &QSpinBox::valueChanged, this, [this](int value) {
        store([&](TScreenDataRec& s) { s.TimeoutPeriod = value; }, false);
    });
    onToggled(m_cboxCardSwipeEnable, &TScreenDataRec::bCardSwipeEnable, true);
    onIndex(m_cboxCardSwipeAction, &TScreenDataRec::CardSwipeAction, false);
}

void TfrmScreenEdit::buildKeyActions(QWidget* parent)
{
    auto* layout = static_cast<QVBoxLayout*>(parent->layout());
    QGroupBox* keys = MakeGroup(parent, "gboxKeyPress", QStringLiteral(" Key Press Actions "));
    auto* grid = new QGridLayout(keys);
    const struct
    {
        const char* labelName;
        const char* label;
        const char* listName;
        TActionList list;
        QComboBox** combo;
        TField field;
    } actions[] = {
        {"lblUserDataAction", "On normal user DATA ENTRY, do:", "cboxUserDataAction",
         TActionList::C, &m_cboxUserDataAction, &TScreenDataRec::UserDataAction},
        {"lblUserFullAction", "On user DATA FULL, do:", "cboxUserFullAction", TActionList::D,
         &m_cboxUserFullAction, &TScreenDataRec::UserFullAction},
        {"lblEnterAction", "On ENTER key, do:", "cboxEnterAction", TActionList::D,
         &m_cboxEnterAction, &TScreenDataRec::EnterAction},
        {"lblBackNormalAction", "On BACK key (if key data present), do:", "cboxBackNormalAction",
         TActionList::A, &m_cboxBackNormalAction, &TScreenDataRec::BackNormalAction},
        {"lblBackEmptyAction", "On BACK key (if no key data present), do:", "cboxBackEmptyAction",
         TActionList::A, &m_cboxBackEmptyAction, &TScreenDataRec::BackEmptyAction},
        {"lblClearNormalAction", "On CLEAR key (if key data present), do:", "cboxClearNormalAction",
         TActionList::A, &m_cboxClearNormalAction, &TScreenDataRec::ClearNormalAction},
        {"lblClearEmptyAction",
         "On CLEAR key (if no key data present), do:", "cboxClearEmptyAction", TActionList::A,
         &m_cboxClearEmptyAction, &TScreenDataRec::ClearEmptyAction},
    };
    int row = 0;
    for (const auto& a : actions) {
        QLabel* label = MakeLabel(keys, a.labelName, QString::fromLatin1(a.label));
        *a.combo = MakeList(keys, a.listName, ActionEntries(a.list));
        LabelFor(label, *a.combo);
        grid->addWidget(label, row, 0);
        grid->addWidget(*a.combo, row, 1);
        onIndex(*a.combo, a.field, true);
        ++row;
    }
    const struct
    {
        const char* name;
        const char* caption;
        QCheckBox** box;
        TField field;
    } flags[] = {
        {"cboxMaskUserInput", "Mask user data input", &m_cboxMaskUserInput,
         &TScreenDataRec::bUserMaskInput},
        {"cboxRequireAllData", "Require all data bytes", &m_cboxRequireAllData,
         &TScreenDataRec::bRequireAllData},
        {"cboxSaveDataForNextScreen", "Save data for next screen", &m_cboxSaveDataForNextScreen,
         &TScreenDataRec::bSaveDataForNextScreen},
    };
    for (const auto& f : flags) {
        *f.box = MakeCheck(keys, f.name, QString::fromLatin1(f.caption));
        grid->addWidget(*f.box, row++, 0, 1, 2);
        onToggled(*f.box, f.field, true);
    }
    layout->addWidget(keys);
}

void TfrmScreenEdit::buildLedsAndTransition(QWidget* parent)
{
    auto* layout = static_cast<QVBoxLayout*>(parent->layout());
    auto* leds = new QHBoxLayout;
    const std::array<std::pair<const char*, const char*>, 3> states = {
        {{"off", "Off"}, {"on", "On"}, {"flash", "Flashing"}}};
    for (const int led : {1, 2}) {
        QButtonGroup* group = led == 1 ? m_greenGroup : m_redGroup;
        const QByteArray boxName = "gboxLed" + QByteArray::number(led);
        QGroupBox* box =
            MakeGroup(parent, boxName.constData(),
                      led == 1 ? QStringLiteral(" Green LED ") : QStringLiteral(" Red LED "));
        auto* boxLayout = new QHBoxLayout(box);
        for (int state = 0; state < 3; ++state) {
            const QByteArray name = "rbLed" + QByteArray::number(led) + states[state].first;
            QRadioButton* button = MakeRadio(
                box, name.constData(), QString::fromLatin1(states[state].second), group, state);
            TButtonAccessible::Qualify(button, box->title());
            boxLayout->addWidget(button);
        }
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
            if (checked) {
                setLedModes();
            }
        });
        leds->addWidget(box);
    }
    layout->addLayout(leds);

    QGroupBox* transition =
        MakeGroup(parent, "gboxTransition", QStringLiteral(" Screen Transition "));
    auto* grid = new QGridLayout(transition);
    m_spinOnShow = AddSpinRow(grid, 0, "lblOnShow", QStringLiteral("On screen SHOW, transmit: "),
                              "spinOnShow", 0, 255);
    m_spinOnLeave = AddSpinRow(grid, 1, "lblOnLeave", QStringLiteral("On screen LEAVE, transmit:"),
                               "spinOnLeave", 0, 255);
    for (TSpinEdit* spin : {m_spinOnShow, m_spinOnLeave}) {
        spin->setToolTip(QStringLiteral("0 disables prefix"));
        DescribeWith(spin, spin->toolTip());
    }
    grid->addWidget(MakeNote(transition, "lblTransitionNote",
                             QStringLiteral("NOTE: To disable a character, set it's value to 0.")),
                    2, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    layout->addWidget(transition);

    connect(m_spinOnShow, &QSpinBox::valueChanged, this, [this](int value) {
        store([&](TScreenDataRec& s) { s.OnShowChar = static_cast<std::uint8_t>(value); }, false);
    });
    connect(m_spinOnLeave, &QSpinBox::valueChanged, this, [this](int value) {
        store([&](TScreenDataRec& s) { s.OnLeaveChar = static_cast<std::uint8_t>(value); }, false);
    });
}

void TfrmScreenEdit::FormShow()
{
    m_work = m_context.Rom.ScreenData;
    fill();
}

TScreenDataRec& TfrmScreenEdit::screen()
{
    return m_work[static_cast<size_t>(m_current)];
}

void TfrmScreenEdit::fill()
{
    m_loading = true;
    TScreenDataRec& s = screen();
    // A one-line LCD has no second line; the working screen loses it here,
    // the document only on Apply.
    const bool oneLine = m_context.Rom.AdvancedParams.LcdSize == 16;
    if (oneLine) {
        s.TextLine2.clear();
    }
    m_lcd->SetSecondLineInUse(!oneLine);
    m_lcd->Line1()->setText(FromRecord(s.TextLine1));
    m_lcd->Line2()->setText(FromRecord(s.TextLine2));

    m_cboxTimeoutEnable->setChecked(s.bTimeoutEnable != 0);
    SelectEntry(m_cboxTimeoutAction, s.TimeoutAction);
    m_spinTimeoutPeriod->setValue(s.TimeoutPeriod);
    m_cboxCardSwipeEnable->setChecked(s.bCardSwipeEnable != 0);
    SelectEntry(m_cboxCardSwipeAction, s.CardSwipeAction);
    SelectEntry(m_cboxUserDataAction, s.UserDataAction);
    SelectEntry(m_cboxUserFullAction, s.UserFullAction);
    SelectEntry(m_cboxEnterAction, s.EnterAction);
    SelectEntry(m_cboxBackNormalAction, s.BackNormalAction);
    SelectEntry(m_cboxBackEmptyAction, s.BackEmptyAction);
    SelectEntry(m_cboxClearNormalAction, s.ClearNormalAction);
    SelectEntry(m_cboxClearEmptyAction, s.ClearEmptyAction);
    m_cboxMaskUserInput->setChecked(s.bUserMaskInput != 0);
    m_cboxRequireAllData->setChecked(s.bRequireAllData != 0);
    m_cboxSaveDataForNextScreen->setChecked(s.bSaveDataForNextScreen != 0);

    // States other than off, on and flashing check no button.
    const TLeds leds = ScreenLedsOf(s.LedModes);
    CheckId(m_greenGroup, leds.Green);
    CheckId(m_redGroup, leds.Red);

    const bool timeout = m_cboxTimeoutEnable->isChecked();
    SetEnabled({m_lblTimeoutAction, m_cboxTimeoutAction, m_lblTimeoutPeriod, m_spinTimeoutPeriod},
               timeout);
    const bool swipe = m_cboxCardSwipeEnable->isChecked();
    SetEnabled({m_lblCardSwipeAction, m_cboxCardSwipeAction, m_lblCardSwipeHelp}, swipe);
    m_cboxSaveDataForNextScreen->setEnabled(goesToScreen(s.UserDataAction));

    m_spinOnShow->setValue(s.OnShowChar);
    m_spinOnLeave->setValue(s.OnLeaveChar);
    m_loading = false;
}

void TfrmScreenEdit::store(const std::function<void(TScreenDataRec&)>& change, bool refill)
{
    if (m_loading) {
        return;
    }
    change(screen());
    if (refill) {
        fill();
    }
    markChanged();
}

void TfrmScreenEdit::onToggled(QCheckBox* box, TField field, bool refill)
{
    connect(box, &QCheckBox::toggled, this, [this, field, refill](bool on) {
        store([&](TScreenDataRec& s) { s.*field = on ? 1 : 0; }, refill);
    });
}

void TfrmScreenEdit::onIndex(QComboBox* list, TField field, bool refill)
{
    connect(list, &QComboBox::currentIndexChanged, this, [this, field, refill](int index) {
        if (index >= 0) {
            store([&](TScreenDataRec& s) { s.*field = static_cast<std::uint8_t>(index); }, refill);
        }
    });
}

void TfrmScreenEdit::markChanged()
{
    m_changed = true;
    setWindowTitle(Caption + QLatin1Char('*'));
    SetOkAndApplyEnabled(true);
}

void TfrmScreenEdit::setLedModes()
{
    // A LED whose stored state no button shows keeps it.
    store(
        [this](TScreenDataRec& s) {
            s.LedModes =
                ScreenLedModes(s.LedModes, {m_greenGroup->checkedId(), m_redGroup->checkedId()});
        },
        false);
}

void TfrmScreenEdit::ApplyClick()
{
    if (m_changed) {
        m_context.Applied();
    }
    m_context.Rom.ScreenData = m_work;
    setWindowTitle(Caption);
    m_changed = false;
    ApplyButton()->setEnabled(false);
}

void TfrmScreenEdit::CancelClick()
{
    m_work = m_context.Rom.ScreenData;
    setWindowTitle(Caption);
    m_changed = false;
}

} // namespace tessaron
