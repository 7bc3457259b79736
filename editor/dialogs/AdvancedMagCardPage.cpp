#include "AdvancedMagCardPage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"
#include "common/ButtonAccessible.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

namespace {

// Where the five characters are stored, in the order the page shows them. The
// prefix and suffix are those of the Barcode/RFID page.
constexpr std::array<std::uint8_t TAdvancedParams::*, TAdvancedMagCardPage::CharacterCount>
    CharacterFields = {&TAdvancedParams::CardStartDelim, &TAdvancedParams::CardReader_StartSentinel,
                       &TAdvancedParams::CardReader_EndSentinel,
                       &TAdvancedParams::CardReader_FieldSeparator, &TAdvancedParams::CardEndDelim};

} // namespace

TAdvancedMagCardPage::TAdvancedMagCardPage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabMagCard")
{
    auto* layout = new QVBoxLayout(this);
    QGroupBox* box = MakeGroup(this, "gboxMCR", QStringLiteral(" Magnetic Card Reader "));
    auto* boxLayout = new QHBoxLayout(box);
    auto* grid = new QGridLayout;

    QLabel* tracks = MakeLabel(box, "lblMCRTracks", QStringLiteral("Process Track(s): *"));
    m_cboxMCRTrack1 = MakeCheck(box, "cboxMCRTrack1", QStringLiteral("Track 1"));
    m_cboxMCRTrack2 = MakeCheck(box, "cboxMCRTrack2", QStringLiteral("Track 2"));
    for (QCheckBox* track : {m_cboxMCRTrack1, m_cboxMCRTrack2}) {
        TButtonAccessible::Qualify(track, QStringLiteral("Process"));
    }
    grid->addWidget(tracks, 0, 0);
    grid->addLayout(MakeRow({m_cboxMCRTrack1, m_cboxMCRTrack2}), 0, 1, 1, 2);

    // AddSpinRow takes its grid's widget as the parent.
    auto* fields = new QWidget(box);
    auto* fieldGrid = new QGridLayout(fields);
    fieldGrid->setContentsMargins(0, 0, 0, 0);
    const struct
    {
        const char* labelName;
        const char* label;
        const char* spinName;
        const char* noteName;
        const char* note;
    } characters[CharacterCount] = {
        {"lblMCRPrefixChar", "MCR prefix char: ", "spinMCRPrefixChar", nullptr, nullptr},
        {"lblMCRStartSentinel", "Start sentinel char: *", "spinMCRStartSentinel",
         "lblMCRStartSentinelNote",
         "Sent in place of the start sentinel: \"%\" on track 1, \";\" on track 2."},
        {"lblMCREndSentinel", "End sentinel char: *", "spinMCREndSentinel", "lblMCREndSentinelNote",
         "Sent in place of the end sentinel \"?\" of either track."},
        {"lblMCRFieldSeparator", "Field separator char:*", "spinMCRFieldSeparator",
         "lblMCRFieldSeparatorNote",
         "Sent in place of the field separator: \"^\" on track 1, \"=\" on track 2."},
        {"lblMCRSuffixChar", "MCR suffix char:  ", "spinMCRSuffixChar", nullptr, nullptr},
    };
    const QString decimal = QStringLiteral("decimal");
    for (int row = 0; row < CharacterCount; ++row) {
        const auto& c = characters[row];
        TSpinEdit* spin = AddSpinRow(fieldGrid, row, c.labelName, QString::fromLatin1(c.label),
                                     c.spinName, 0, 255, 1, nullptr, decimal);
        if (c.note != nullptr) {
            QLabel* note = MakeNote(fields, c.noteName, QString::fromLatin1(c.note));
            DescribeWith(spin, QStringLiteral("decimal. ") + note->text());
            fieldGrid->addWidget(note, row, 3);
        }
        m_characters[static_cast<size_t>(row)] = spin;
    }
    fieldGrid->setColumnStretch(3, 1);
    grid->addWidget(fields, 1, 0, 1, 3);
    grid->addWidget(MakeNote(box, "lblMCRDisable",
                             QStringLiteral("NOTE: All values decimal. To disable a character, "
                                            "set it's value to zero.")),
                    2, 0, 1, 3);
    grid->addWidget(MakeLabel(box, "lblMCRFormat",
                              QStringLiteral("DATA FORMAT:  "
                                             "<prefix><start><card_data/field seps><end><suffix>")),
                    3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    boxLayout->addLayout(grid, 1);
    boxLayout->addWidget(MakePicture(box, "imgMagCard", "reader-magcard.jpg", 150, 95,
                                     QStringLiteral("Picture of a magnetic card")),
                         0, Qt::AlignTop);
    layout->addWidget(box);
    layout->addStretch();

    for (QCheckBox* track : {m_cboxMCRTrack1, m_cboxMCRTrack2}) {
        OnToggled(track, [this](TAdvancedParams& w, bool) {
            // The page stores the two tracks alone.
            w.CardReader_Tracks =
                WithTracks(0, {m_cboxMCRTrack1->isChecked(), m_cboxMCRTrack2->isChecked()});
        });
    }
    // Any of the five stores all five, as they stand.
    for (TSpinEdit* spin : m_characters) {
        OnValue(spin, [this](TAdvancedParams& w, int) {
            for (size_t i = 0; i < m_characters.size(); ++i) {
                w.*CharacterFields[i] = static_cast<std::uint8_t>(m_characters[i]->value());
            }
        });
    }
}

void TAdvancedMagCardPage::Fill(const TAdvancedParams& work)
{
    const TTracks tracks = TracksOf(work.CardReader_Tracks);
    m_cboxMCRTrack1->setChecked(tracks.Track1);
    m_cboxMCRTrack2->setChecked(tracks.Track2);
    for (size_t i = 0; i < m_characters.size(); ++i) {
        m_characters[i]->setValue(work.*CharacterFields[i]);
    }
}

} // namespace tessaron
