#include "AdvancedCardTypePage.h"

#include "FormBuilder.h"
#include "LcdPanel.h"
#include "SpinEdit.h"
#include "common/QtPicture.h"
#include "editor/model/PackedFields.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaron {

TAdvancedCardTypePage::TAdvancedCardTypePage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabCardType"), m_readerGroup(MakeButtonGroup(this)),
      m_dataBitsGroup(MakeButtonGroup(this)), m_stopBitsGroup(MakeButtonGroup(this)),
      m_parityGroup(MakeButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* type = MakeGroup(this, "gboxCardReaderType", QStringLiteral(" Card Reader Type * "));
    auto* typeLayout = new QHBoxLayout(type);
    auto* buttons = new QVBoxLayout;
    const std::array<std::pair<const char*, const char*>, 4> readers = {{
        {"rbCardNone", "None"},
        {"rbCardBCR", "Barcode/RFID"},
        {"rbCardMCR", "Magnetic Card"},
        {"rbCardWedge", "Ext. Wedge"},
    }};
    for (int id = 0; id < 4; ++id) {
        buttons->addWidget(MakeRadio(type, readers[id].first,
                                     QString::fromLatin1(readers[id].second), m_readerGroup, id));
    }
    typeLayout->addLayout(buttons);
    m_readerPictures[1] = QPixmap::fromImage(LoadPicture("reader-barcode.jpg"));
    m_readerPictures[2] = QPixmap::fromImage(LoadPicture("reader-magcard.jpg"));
    m_readerPictures[3] = QPixmap::fromImage(LoadPicture("reader-wedge.jpg"));
    m_imgCardReader = MakePicture(type, "imgCardReader", m_readerPictures[1], 150, 95,
                                  QStringLiteral("Picture of the chosen card reader"));
    typeLayout->addStretch();
    typeLayout->addWidget(m_imgCardReader);
    layout->addWidget(type);

    m_gboxCardCom = MakeGroup(this, "gboxCardCom", QStringLiteral(" Card Reader COM Parameters "));
    auto* grid = new QGridLayout(m_gboxCardCom);
    m_cboxCardBaudRate = AddPortRows(grid, "Card", m_dataBitsGroup, m_stopBitsGroup, m_parityGroup);
    layout->addWidget(m_gboxCardCom);

    m_gboxCardOKMessage =
        MakeGroup(this, "gboxCardOKMessage", QStringLiteral(" Card Read OK Message "));
    auto* message = new QGridLayout(m_gboxCardOKMessage);
    m_cardOK = new TLcdPanel(m_gboxCardOKMessage, "edLcdLine1CardOK", "edLcdLine2CardOK",
                             QStringLiteral("Card read OK message"));
    message->addWidget(m_cardOK, 0, 0, 1, 3);
    m_spinTCardReadHold = AddSpinRow(
        message, 1, "lblTCardReadHold", QStringLiteral("Card read OK message display time:"),
        "spinTCardReadHold", 10, 10000, 10, "lblTCardReadHoldMs", QStringLiteral("ms"));
    message->setColumnStretch(3, 1);
    layout->addWidget(m_gboxCardOKMessage);
    layout->addStretch();

    OnChecked(
        m_readerGroup,
        [](TAdvancedParams& w, int id) {
            w.CardReader_Type = static_cast<std::uint8_t>(id);
            w.DeviceType = DeviceTypeFor(id);
        },
        true);
    OnIndex(m_cboxCardBaudRate, &TAdvancedParams::CardBaudRate);
    OnChecked(m_dataBitsGroup, [](TAdvancedParams& w, int bits) {
        w.CardWordFormat = CardWithDataBits(w.CardWordFormat, bits == 8);
    });
    OnChecked(m_stopBitsGroup, [](TAdvancedParams& w, int bits) {
        w.CardWordFormat = CardWithStopBits(w.CardWordFormat, bits == 2);
    });
    OnChecked(m_parityGroup, [](TAdvancedParams& w, int parity) {
        w.CardWordFormat = CardWithParity(w.CardWordFormat, static_cast<TParity>(parity));
    });
    OnText(m_cardOK->Line1(), &TAdvancedParams::CardReadMsgLine1);
    OnText(m_cardOK->Line2(), &TAdvancedParams::CardReadMsgLine2);
    OnValue(m_spinTCardReadHold, &TAdvancedParams::TCardReadHold);
}

void TAdvancedCardTypePage::Fill(const TAdvancedParams& work)
{
    // Another stored type checks no button and shows no reader settings.
    CheckId(m_readerGroup, work.CardReader_Type);
    const bool reader =
        work.CardReader_Type >= ReaderBarcode && work.CardReader_Type <= ReaderWedge;
    SetPicture(m_imgCardReader, reader ? m_readerPictures[work.CardReader_Type] : QPixmap());
    SetVisible({m_gboxCardCom, m_gboxCardOKMessage}, reader);

    SelectEntry(m_cboxCardBaudRate, work.CardBaudRate);
    ShowWordFormat(DecodeCardWordFormat(work.CardWordFormat), m_dataBitsGroup, m_stopBitsGroup,
                   m_parityGroup);

    m_cardOK->Line1()->setText(FromRecord(work.CardReadMsgLine1));
    m_cardOK->Line2()->setText(FromRecord(work.CardReadMsgLine2));
    m_cardOK->SetSecondLineInUse(work.LcdSize != 16);
    m_spinTCardReadHold->setValue(work.TCardReadHold);
}

} // namespace tessaron
