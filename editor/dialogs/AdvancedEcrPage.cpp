#include "AdvancedEcrPage.h"

#include "FormBuilder.h"
#include "common/ButtonAccessible.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaron {

TAdvancedEcrPage::TAdvancedEcrPage(TAdvancedEditor& editor) : TAdvancedPage(editor, "tabEcr")
{
    auto* layout = new QVBoxLayout(this);
    QGroupBox* box = MakeGroup(this, "gboxEcr", QStringLiteral(" Card Post-processing "));
    auto* boxLayout = new QVBoxLayout(box);
    QLabel* about = MakeNote(
        box, "lblEcrNote",
        QStringLiteral("Cash registers (ECR) and time and attendance systems often need only one "
                       "field of a card, for example as the user's ID, perhaps followed by key "
                       "data such as a PIN. These options pick that field out of the card data "
                       "and shape it; they are normally used together with Automated Screen "
                       "Mode."));
    boxLayout->addWidget(about);
    m_cboxEnableEcrMode =
        MakeCheck(box, "cboxEnableEcrMode",
                  QStringLiteral("Enable card post-processing options (advanced users only)."));
    DescribeWith(m_cboxEnableEcrMode, about->text());
    boxLayout->addWidget(m_cboxEnableEcrMode);

    m_options = new QWidget(box);
    m_options->setObjectName(QStringLiteral("pnlEcrOptions"));
    auto* grid = new QGridLayout(m_options);
    QLabel* track = MakeLabel(m_options, "lblSelectTrack", QStringLiteral("Select card track: "));
    m_cboxSelectTrack =
        MakeList(m_options, "cboxSelectTrack",
                 {QStringLiteral("Track 1 (MCR/BCR/RFID)"), QStringLiteral("Track 2 (MCR only)")});
    LabelFor(track, m_cboxSelectTrack);
    grid->addWidget(track, 0, 0);
    grid->addWidget(m_cboxSelectTrack, 0, 1, Qt::AlignLeft);
    QStringList fields;
    for (int n = 1; n <= 16; ++n) {
        fields << (n == 9 ? QStringLiteral("Field 9 ") : QStringLiteral("Field %1").arg(n));
    }
    QLabel* field = MakeLabel(m_options, "lblSelectField", QStringLiteral("Select card field: "));
    m_cboxSelectField = MakeList(m_options, "cboxSelectField", fields);
    LabelFor(field, m_cboxSelectField);
    grid->addWidget(field, 1, 0);
    grid->addWidget(m_cboxSelectField, 1, 1, Qt::AlignLeft);

    const QChar dot(0x00B7);
    const QString dots = QString(3, dot);
    const struct
    {
        const char* labelName;
        const char* label;
        const char* boxName;
        QString caption;
        QCheckBox** box;
    } checks[] = {
        {"lblSuppressLZ", "Suppress leading zeroes: ", "cboxSuppressLZ",
         QLatin1Char(' ') + dots + QStringLiteral(" Remove leading 0's from card."),
         &m_cboxSuppressLZ},
        {"lblPrepend00", "Prepend 00 to card data: ", "cboxPrepend00",
         QLatin1Char(' ') + dots + QStringLiteral(" Add two 0's before card data."),
         &m_cboxPrepend00},
        {"lblConcatenate", "Concatenate key data: ", "cboxConcatenate",
         dots + QStringLiteral(" Append key data after card data. "), &m_cboxConcatenate},
    };
    int row = 2;
    for (const auto& c : checks) {
        QLabel* label = MakeLabel(m_options, c.labelName, QString::fromLatin1(c.label));
        *c.box = MakeCheck(m_options, c.boxName, c.caption);
        // Spoken with both texts: "Suppress leading zeroes Remove leading 0's from card."
        label->setBuddy(*c.box);
        TButtonAccessible::Qualify(*c.box, label->text());
        grid->addWidget(label, row, 0);
        grid->addWidget(*c.box, row, 1);
        ++row;
    }
    QLabel* screenNote =
        MakeLabel(m_options, "lblConcatenateNote", QStringLiteral("(Requires screen mode)"));
    DescribeWith(m_cboxConcatenate,
                 QStringLiteral("Append key data after card data. ") + screenNote->text());
    grid->addWidget(screenNote, row - 1, 2);
    QLabel* suffix =
        MakeLabel(m_options, "lblRemoveSuffix", QStringLiteral("Remove this card suffix:"));
    m_edRemoveSuffix = MakeLatin1Edit(m_options, "edRemoveSuffix", EcrStringLimit);
    LabelFor(suffix, m_edRemoveSuffix);
    grid->addWidget(suffix, row, 0);
    grid->addWidget(m_edRemoveSuffix, row, 1, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
    boxLayout->addWidget(m_options);
    layout->addWidget(box);
    layout->addStretch();

    OnToggled(
        m_cboxEnableEcrMode,
        [](TAdvancedParams& w, bool on) { w.ECR_Mode = EcrWithFlag(w.ECR_Mode, EcrEnabled, on); },
        true);
    OnToggled(m_cboxConcatenate, [](TAdvancedParams& w, bool on) {
        w.ECR_Mode = EcrWithFlag(w.ECR_Mode, EcrConcatenate, on);
    });
    OnToggled(m_cboxSuppressLZ, [](TAdvancedParams& w, bool on) {
        w.ECR_Mode = EcrWithFlag(w.ECR_Mode, EcrSuppressLZ, on);
    });
    OnToggled(m_cboxPrepend00, [](TAdvancedParams& w, bool on) {
        w.ECR_Mode = EcrWithFlag(w.ECR_Mode, EcrPrepend00, on);
    });
    OnIndex(m_cboxSelectTrack, [](TAdvancedParams& w, int index) {
        w.ECR_Mode = EcrWithFlag(w.ECR_Mode, EcrTrack2, index == 1);
    });
    OnIndex(m_cboxSelectField,
            [](TAdvancedParams& w, int index) { w.ECR_Mode = EcrWithField(w.ECR_Mode, index); });
    OnText(m_edRemoveSuffix, &TAdvancedParams::ECR_String);
}

void TAdvancedEcrPage::Fill(const TAdvancedParams& work)
{
    const std::int32_t mode = work.ECR_Mode;
    m_cboxEnableEcrMode->setChecked(HasEcrFlag(mode, EcrEnabled));
    m_cboxConcatenate->setChecked(HasEcrFlag(mode, EcrConcatenate));
    m_cboxSuppressLZ->setChecked(HasEcrFlag(mode, EcrSuppressLZ));
    m_cboxPrepend00->setChecked(HasEcrFlag(mode, EcrPrepend00));
    m_cboxSelectTrack->setCurrentIndex(HasEcrFlag(mode, EcrTrack2) ? 1 : 0);
    m_cboxSelectField->setCurrentIndex(EcrFieldOf(mode));
    m_edRemoveSuffix->setText(FromRecord(work.ECR_String));
    m_options->setEnabled(HasEcrFlag(mode, EcrEnabled));
}

} // namespace tessaron
