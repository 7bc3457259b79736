#include "AdvancedModePage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tessaron {

namespace {

// Where the keypad's prefix, start, tail and suffix characters are stored.
constexpr std::array<std::uint8_t TAdvancedParams::*, TAdvancedModePage::CharacterCount>
    CharacterFields = {&TAdvancedParams::CalcPrefix, &TAdvancedParams::CalcStart,
                       &TAdvancedParams::LineEdit_TailCharacter, &TAdvancedParams::CalcSuffix};

// The mask character as the field shows it; one it cannot show leaves it empty.
QString maskText(std::uint8_t code)
{
    const bool printable = (code >= 0x20 && code < 0x7F) || code >= 0xA0;
    return printable ? QString(QChar(code)) : QString();
}

} // namespace

TAdvancedModePage::TAdvancedModePage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabMode"), m_modeGroup(MakeButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* mode = MakeGroup(this, "gboxOperatingMode", QStringLiteral(" Operating Mode "));
    auto* modeLayout = new QGridLayout(mode);
    modeLayout->addWidget(MakeRadio(mode, "rbTrueTerminalMode",
                                    QStringLiteral("True Terminal Mode *"), m_modeGroup,
                                    int(TKeypadMode::TrueTerminal)),
                          0, 0);
    modeLayout->addWidget(MakeRadio(mode, "rbLineEditMode", QStringLiteral("Line Edit Mode *"),
                                    m_modeGroup, int(TKeypadMode::LineEdit)),
                          1, 0);
    modeLayout->addWidget(MakeRadio(mode, "rbScreenMode", QStringLiteral("Automated Screen Mode"),
                                    m_modeGroup, int(TKeypadMode::Screen)),
                          2, 0);
    m_lblStartScreen = MakeLabel(mode, "lblStartScreen", QStringLiteral("Starting Screen: "));
    QStringList screens;
    for (int n = 1; n <= 8; ++n) {
        screens << QStringLiteral("Screen %1").arg(n);
    }
    screens << QStringLiteral("Demo");
    m_cboxStartScreen = MakeList(mode, "cboxStartScreen", screens);
    LabelFor(m_lblStartScreen, m_cboxStartScreen);
    modeLayout->addLayout(MakeRow({m_lblStartScreen, m_cboxStartScreen}), 3, 0);
    m_cboxMaskUserInput =
        MakeCheck(mode, "cboxMaskUserInput", QStringLiteral("Mask (hide) user input *"));
    m_cboxEcho = MakeCheck(mode, "cboxEcho", QStringLiteral("Enable host data echo"));
    modeLayout->addWidget(m_cboxMaskUserInput, 4, 0);
    modeLayout->addWidget(m_cboxEcho, 5, 0);
    layout->addWidget(mode);

    m_gboxKeypadData =
        MakeGroup(this, "gboxKeypadData", QStringLiteral(" Masking and Line Edit Data "));
    auto* data = new QGridLayout(m_gboxKeypadData);
    QLabel* maskLabel =
        MakeLabel(m_gboxKeypadData, "lblMaskChar", QStringLiteral("Mask character:"));
    m_edMaskChar = MakeLatin1Edit(m_gboxKeypadData, "edMaskChar", 1);
    m_edMaskChar->setFixedWidth(m_edMaskChar->fontMetrics().horizontalAdvance(QLatin1Char('W')) *
                                3);
    LabelFor(maskLabel, m_edMaskChar);
    data->addWidget(maskLabel, 0, 0);
    data->addWidget(m_edMaskChar, 0, 1);
    const struct
    {
        const char* labelName;
        const char* label;
        const char* spinName;
        const char* unitName;
    } characters[CharacterCount] = {
        {"lblCalcPrefix", "Keypad Prefix character: ", "spinCalcPrefix", "lblCalcPrefixDec"},
        {"lblCalcStart", "Keypad Start character: ", "spinCalcStart", "lblCalcStartDec"},
        {"lblCalcTail", "Keypad Tail character*:", "spinCalcTail", "lblCalcTailDec"},
        {"lblCalcSuffix", "Keypad Suffix character: ", "spinCalcSuffix", "lblCalcSuffixDec"},
    };
    for (int i = 0; i < CharacterCount; ++i) {
        const auto& c = characters[i];
        m_characters[static_cast<size_t>(i)] =
            AddSpinRow(data, i + 1, c.labelName, QString::fromLatin1(c.label), c.spinName, 0, 255,
                       1, c.unitName, QStringLiteral("decimal"));
    }
    data->addWidget(MakeLabel(m_gboxKeypadData, "lblFormat",
                              QStringLiteral("DATA FORMAT:  "
                                             "<prefix><start><keypad_data><tail><suffix>")),
                    5, 0, 1, 3);
    data->addWidget(MakeNote(m_gboxKeypadData, "lblLineEditDisable",
                             QStringLiteral("NOTE: To disable a character, set it's value to "
                                            "zero.")),
                    6, 0, 1, 3);
    data->setColumnStretch(3, 1);
    layout->addWidget(m_gboxKeypadData);
    layout->addStretch();

    OnChecked(
        m_modeGroup,
        [](TAdvancedParams& w, int id) {
            if (id == int(TKeypadMode::Screen)) {
                // The mode bits stay for when screen mode is left again.
                w.ScreenEnable = 1;
                return;
            }
            w.Operating_Mode =
                WithBit(w.Operating_Mode, LineEditBit, id == int(TKeypadMode::LineEdit));
            w.ScreenEnable = 0;
        },
        true);
    OnToggled(
        m_cboxMaskUserInput,
        [](TAdvancedParams& w, bool on) {
            w.Operating_Mode = WithBit(w.Operating_Mode, MaskedInputBit, on);
        },
        true);
    OnToggled(m_cboxEcho, [](TAdvancedParams& w, bool on) { w.bHostEcho = on ? 1 : 0; });
    connect(m_edMaskChar, &QLineEdit::textChanged, this, [this](const QString& text) {
        // An emptied field keeps the previous character.
        if (!text.isEmpty()) {
            Store([&](TAdvancedParams& w) {
                w.MaskChar = static_cast<std::uint8_t>(ToRecord(text)[0]);
            });
        }
    });
    connect(m_edMaskChar, &QLineEdit::editingFinished, this, [this] {
        if (m_edMaskChar->text().isEmpty()) {
            const QSignalBlocker quiet(m_edMaskChar);
            m_edMaskChar->setText(maskText(m_editor.Work().MaskChar));
        }
    });
    OnIndex(m_cboxStartScreen, &TAdvancedParams::StartScreen);
    for (size_t i = 0; i < m_characters.size(); ++i) {
        OnValue(m_characters[i], CharacterFields[i]);
    }
}

void TAdvancedModePage::Fill(const TAdvancedParams& work)
{
    const TKeypadMode mode = KeypadModeOf(work);
    CheckId(m_modeGroup, int(mode));
    // Also in screen mode, where the box is disabled, it shows the stored bit.
    m_cboxMaskUserInput->setChecked(IsInputMasked(work.Operating_Mode));
    m_cboxEcho->setChecked(work.bHostEcho != 0);
    m_edMaskChar->setText(maskText(work.MaskChar));
    SelectEntry(m_cboxStartScreen, work.StartScreen);
    for (size_t i = 0; i < m_characters.size(); ++i) {
        m_characters[i]->setValue(work.*CharacterFields[i]);
    }

    m_cboxEcho->setEnabled(mode == TKeypadMode::TrueTerminal);
    SetEnabled({m_lblStartScreen, m_cboxStartScreen}, mode == TKeypadMode::Screen);
    m_cboxMaskUserInput->setEnabled(mode == TKeypadMode::LineEdit);
    m_gboxKeypadData->setEnabled(mode != TKeypadMode::TrueTerminal);
}

} // namespace tessaron
