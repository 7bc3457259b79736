#include "AdvancedBeeperPage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

TAdvancedBeeperPage::TAdvancedBeeperPage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabBeeper")
{
    auto* layout = new QVBoxLayout(this);
    QGroupBox* beeps = MakeGroup(this, "gboxBeeper", QStringLiteral(" Beeper "));
    auto* grid = new QGridLayout(beeps);
    m_spinKeyClick = AddSpinRow(grid, 0, "lblKeyClick", QStringLiteral("Length of key beep (ms):"),
                                "spinKeyClick", 0, 250, 2);
    m_spinPowerOnBeep = AddSpinRow(grid, 1, "lblPowerOnBeep",
                                   QStringLiteral("Length of power-on beep/chirp (ms): "),
                                   "spinPowerOnBeep", 0, 2500, 10);
    m_spinErrorBeep =
        AddSpinRow(grid, 2, "lblErrorBeep", QStringLiteral("Length of error beep (ms): "),
                   "spinErrorBeep", 0, 2500, 10);
    m_spinCardOkBeep = AddSpinRow(grid, 3, "lblCardOkBeep",
                                  QStringLiteral("Length of \"card read OK\" beep (ms): "),
                                  "spinCardOkBeep", 0, 2500, 10);
    QLabel* note = MakeNote(beeps, "lblBeeperNote",
                            QStringLiteral("NOTE: To disable any beeper value on this page, set "
                                           "the beep time to 0 ms."));
    grid->addWidget(note, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    layout->addWidget(beeps);
    layout->addStretch();

    // Any of the four stores all four, as they stand.
    for (TSpinEdit* spin : {m_spinKeyClick, m_spinPowerOnBeep, m_spinErrorBeep, m_spinCardOkBeep}) {
        DescribeWith(spin, note->text());
        OnValue(spin, [this](TAdvancedParams& w, int) {
            w.Key_Click = static_cast<std::uint8_t>(m_spinKeyClick->value());
            w.TBeepChirp = m_spinPowerOnBeep->value();
            w.TBeepError = m_spinErrorBeep->value();
            w.TBeepCardOK = m_spinCardOkBeep->value();
        });
    }
}

void TAdvancedBeeperPage::Fill(const TAdvancedParams& work)
{
    m_spinKeyClick->setValue(work.Key_Click);
    m_spinPowerOnBeep->setValue(work.TBeepChirp);
    m_spinErrorBeep->setValue(work.TBeepError);
    m_spinCardOkBeep->setValue(work.TBeepCardOK);
}

} // namespace tessaron
