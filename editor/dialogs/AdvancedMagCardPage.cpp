#include "AdvancedMagCardPage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

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
        track->setAccessibleName(QStringLiteral("Process ") + track->text());
    }
    grid->addWidget(tracks, 0, 0);
    grid->addLayout(MakeRow({m_cboxMCRTrack1, m_cboxMCRTrack2}), 0, 1, 1, 2);

    // AddSpinRow takes its grid's widget as the parent.
    auto* fields = new QWidget(box);
    auto* fieldGrid = new QGridLayout(fields);
    fieldGrid->setContentsMargins(0, 0, 0, 0);
    const QString decimal = QStringLiteral("decimal");
    m_spinMCRPrefixChar =
        AddSpinRow(fieldGrid, 0, "lblMCRPrefixChar", QStringLiteral("MCR prefix char: "),
                   "spinMCRPrefixChar", 0, 255, 1, nullptr, decimal);
    m_spinMCRStartSentinel =
        AddSpinRow(fieldGrid, 1, "lblMCRStartSentinel", QStringLiteral("Start sentinel char: *"),
                   "spinMCRStartSentinel", 0, 255, 1, nullptr, decimal);
    m_spinMCREndSentinel =
        AddSpinRow(fieldGrid, 2, "lblMCREndSentinel", QStringLiteral("End sentinel char: *"),
                   "spinMCREndSentinel", 0, 255, 1, nullptr, decimal);
    m_spinMCRFieldSeparator =
        AddSpinRow(fieldGrid, 3, "lblMCRFieldSeparator", QStringLiteral("Field separator char:*"),
                   "spinMCRFieldSeparator", 0, 255, 1, nullptr, decimal);
    m_spinMCRSuffixChar =
        AddSpinRow(fieldGrid, 4, "lblMCRSuffixChar", QStringLiteral("MCR suffix char:  "),
                   "spinMCRSuffixChar", 0, 255, 1, nullptr, decimal);
    const struct
    {
        TSpinEdit* spin;
        const char* name;
        const char* note;
    } notes[] = {
        {m_spinMCRStartSentinel, "lblMCRStartSentinelNote",
         "Sent in place of the start sentinel: \"%\" on track 1, \";\" on track 2."},
        {m_spinMCREndSentinel, "lblMCREndSentinelNote",
         "Sent in place of the end sentinel \"?\" of either track."},
        {m_spinMCRFieldSeparator, "lblMCRFieldSeparatorNote",
         "Sent in place of the field separator: \"^\" on track 1, \"=\" on track 2."},
    };
    int row = 1;
    for (const auto& n : notes) {
        QLabel* note = MakeNote(fields, n.name, QString::fromLatin1(n.note));
        DescribeWith(n.spin, QStringLiteral("decimal. ") + note->text());
        fieldGrid->addWidget(note, row++, 3);
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
            w.CardReader_Tracks = static_cast<std::uint8_t>((m_cboxMCRTrack1->isChecked() ? 1 : 0) +
                                                            (m_cboxMCRTrack2->isChecked() ? 2 : 0));
        });
    }
    // Any of the five stores all five, as they stand.
    for (TSpinEdit* spin : {m_spinMCRPrefixChar, m_spinMCRStartSentinel, m_spinMCREndSentinel,
                            m_spinMCRFieldSeparator, m_spinMCRSuffixChar}) {
        OnValue(spin, [this](TAdvancedParams& w, int) {
            w.CardStartDelim = static_cast<std::uint8_t>(m_spinMCRPrefixChar->value());
            w.CardReader_StartSentinel = static_cast<std::uint8_t>(m_spinMCRStartSentinel->value());
            w.CardReader_EndSentinel = static_cast<std::uint8_t>(m_spinMCREndSentinel->value());
            w.CardReader_FieldSeparator =
                static_cast<std::uint8_t>(m_spinMCRFieldSeparator->value());
            w.CardEndDelim = static_cast<std::uint8_t>(m_spinMCRSuffixChar->value());
        });
    }
}

void TAdvancedMagCardPage::Fill(const TAdvancedParams& work)
{
    m_cboxMCRTrack1->setChecked((work.CardReader_Tracks & 0x01) != 0);
    m_cboxMCRTrack2->setChecked((work.CardReader_Tracks & 0x02) != 0);
    m_spinMCRPrefixChar->setValue(work.CardStartDelim);
    m_spinMCRStartSentinel->setValue(work.CardReader_StartSentinel);
    m_spinMCREndSentinel->setValue(work.CardReader_EndSentinel);
    m_spinMCRFieldSeparator->setValue(work.CardReader_FieldSeparator);
    m_spinMCRSuffixChar->setValue(work.CardEndDelim);
}

} // namespace tessaron
