#include "AdvancedBarcodePage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"
#include "common/ButtonAccessible.h"
#include "common/QtPicture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace tessaron {

namespace {

const std::array<const char*, 4> BarcodeLabels = {
    "Barcode/RFID prefix character:", "Barcode/RFID start character: *",
    "Barcode/RFID end character: *", "Barcode/RFID suffix character:"};
const std::array<const char*, 4> WedgeLabels = {
    "External Wedge prefix character:", "External Wedge start character: *",
    "External Wedge end character: *", "External Wedge suffix character:"};

} // namespace

TAdvancedBarcodePage::TAdvancedBarcodePage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabBarcode"), m_wedgeGroup(MakeButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    QGroupBox* box = MakeGroup(this, "gboxBCR", QStringLiteral(" Card Data Delimiters "));
    auto* boxLayout = new QHBoxLayout(box);
    auto* left = new QVBoxLayout;

    m_delimiters = new QWidget(box);
    m_delimiters->setObjectName(QStringLiteral("pnlBCRDelimiters"));
    auto* grid = new QGridLayout(m_delimiters);
    grid->setContentsMargins(0, 0, 0, 0);
    const std::array<std::array<const char*, 3>, 4> names = {{
        {"lblBCRPrefixChar", "spinBCRPrefixChar", "lblBCRPrefixDec"},
        {"lblBCRStartChar", "spinBCRStartChar", "lblBCRStartDec"},
        {"lblBCREndChar", "spinBCREndChar", "lblBCREndDec"},
        {"lblBCRSuffixChar", "spinBCRSuffixChar", "lblBCRSuffixDec"},
    }};
    std::array<TSpinEdit*, 4> spins{};
    for (int i = 0; i < 4; ++i) {
        spins[i] =
            AddSpinRow(grid, i, names[i][0], QString::fromLatin1(BarcodeLabels[i]), names[i][1], 0,
                       255, 1, names[i][2], QStringLiteral("decimal"), &m_labels[i]);
    }
    m_spinBCRPrefixChar = spins[0];
    m_spinBCRStartChar = spins[1];
    m_spinBCREndChar = spins[2];
    m_spinBCRSuffixChar = spins[3];
    grid->setColumnStretch(3, 1);
    left->addWidget(m_delimiters);
    left->addWidget(
        MakeNote(box, "lblBCRDisable",
                 QStringLiteral("NOTE: To disable a character, set it's value to zero.")));
    left->addWidget(
        MakeLabel(box, "lblBCRFormat",
                  QStringLiteral("DATA FORMAT:  <prefix><start><card_data><end><suffix>")));

    m_lblWedgeMode = MakeLabel(box, "lblWedgeMode", QStringLiteral("Wedge Mode:"));
    left->addWidget(m_lblWedgeMode);
    for (const auto& [name, caption, id] :
         {std::tuple{"rbWedgeModePassThru", "Non-packetized (data pass-thru)", int(WedgePassThru)},
          std::tuple{"rbWedgeModePacketize", "Packetize (Ext device must xmit STX/ETX)",
                     int(WedgePacketize)}}) {
        QRadioButton* button = MakeRadio(box, name, QString::fromLatin1(caption), m_wedgeGroup, id);
        TButtonAccessible::Qualify(button, m_lblWedgeMode->text());
        left->addWidget(button);
    }
    left->addStretch();
    boxLayout->addLayout(left, 1);

    m_barcodePicture = QPixmap::fromImage(LoadPicture("reader-barcode.jpg"));
    m_wedgePicture = QPixmap::fromImage(LoadPicture("reader-wedge.jpg"));
    m_imgBarcode = MakePicture(box, "imgBarcode", m_barcodePicture, 150, 90,
                               QStringLiteral("Picture of the card reader"));
    boxLayout->addWidget(m_imgBarcode, 0, Qt::AlignTop);
    layout->addWidget(box);
    layout->addStretch();

    OnValue(m_spinBCRPrefixChar, &TAdvancedParams::CardStartDelim);
    OnValue(m_spinBCRStartChar, &TAdvancedParams::CardReader_StartCharacter);
    OnValue(m_spinBCREndChar, &TAdvancedParams::CardReader_EndCharacter);
    OnValue(m_spinBCRSuffixChar, &TAdvancedParams::CardEndDelim);
    OnChecked(
        m_wedgeGroup,
        [](TAdvancedParams& w, int deviceType) {
            w.DeviceType = static_cast<std::uint8_t>(deviceType);
        },
        true);
}

void TAdvancedBarcodePage::Fill(const TAdvancedParams& work)
{
    m_spinBCRPrefixChar->setValue(work.CardStartDelim);
    m_spinBCRStartChar->setValue(work.CardReader_StartCharacter);
    m_spinBCREndChar->setValue(work.CardReader_EndCharacter);
    m_spinBCRSuffixChar->setValue(work.CardEndDelim);
    const bool wedge = IsWedge(work);
    CheckId(m_wedgeGroup, Packetized(work) ? WedgePacketize : WedgePassThru);
    for (int i = 0; i < 4; ++i) {
        Relabel(m_labels[i], QString::fromLatin1(wedge ? WedgeLabels[i] : BarcodeLabels[i]));
    }
    m_lblWedgeMode->setVisible(wedge);
    for (QAbstractButton* button : m_wedgeGroup->buttons()) {
        button->setVisible(wedge);
    }
    // A wedge passing its data through leaves nothing to wrap it in.
    m_delimiters->setEnabled(Packetized(work));
    SetPicture(m_imgBarcode, wedge ? m_wedgePicture : m_barcodePicture);
}

} // namespace tessaron
