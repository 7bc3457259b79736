#include "AdvancedHostPage.h"

#include "FormBuilder.h"
#include "SpinEdit.h"
#include "editor/model/PackedFields.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaron {

TAdvancedHostPage::TAdvancedHostPage(TAdvancedEditor& editor)
    : TAdvancedPage(editor, "tabHost"), m_hostGroup(MakeButtonGroup(this)),
      m_dataBitsGroup(MakeButtonGroup(this)), m_stopBitsGroup(MakeButtonGroup(this)),
      m_parityGroup(MakeButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* connection =
        MakeGroup(this, "gboxHostConnection", QStringLiteral(" Host Connection Type "));
    auto* connectionLayout = new QVBoxLayout(connection);
    const struct
    {
        const char* name;
        const char* caption;
        THostMode hostType;
        bool selectable;
    } hosts[] = {
        {"rbHostNone", "Use auto-detect (for RS-232 and Halvorsten USB Virtual Serial)",
         THostMode::AutoDetect, true},
        {"rbRS232", "RS-232 serial ................. Physical DB-9 COM port", THostMode::Rs232,
         false},
        {"rbUSB", "USB Virtual Serial .......... Halvorsten Virtual COM port over USB",
         THostMode::UsbSerial, false},
        {"rbHostHID", "USB HID ................ PC keystrokes (v5 or higher!)", THostMode::Hid,
         true},
        {"rbEthernet",
         "Ethernet .................  Virtual COM port over IP Network (requires XPort)",
         THostMode::Ethernet, true},
        {"rbHostCDC", "USB CDC Serial ...... CDC Class Virtual COM port over USB (v6 or higher)",
         THostMode::Cdc, true},
    };
    for (const auto& host : hosts) {
        QRadioButton* button = MakeRadio(connection, host.name, QString::fromLatin1(host.caption),
                                         m_hostGroup, int(host.hostType));
        // Auto-detect covers these two; a stored one is shown until another is chosen.
        button->setEnabled(host.selectable);
        connectionLayout->addWidget(button);
    }
    m_lblCdcSerialNo =
        MakeLabel(connection, "lblCdcSerialNo", QStringLiteral("CDC Serial Number: "));
    m_spinCdcSerialNo = MakeSpin(connection, "spinCdcSerialNo", 0, 9999);
    LabelFor(m_lblCdcSerialNo, m_spinCdcSerialNo);
    connectionLayout->addLayout(MakeRow({m_lblCdcSerialNo, m_spinCdcSerialNo}));
    layout->addWidget(connection);

    auto* lower = new QHBoxLayout;
    QGroupBox* com = MakeGroup(this, "gboxHostCom", QStringLiteral(" Host COM Parameters "));
    auto* grid = new QGridLayout(com);
    m_cboxHostBaudRate = AddPortRows(grid, "Host", m_dataBitsGroup, m_stopBitsGroup, m_parityGroup);
    // Mark and space parity of the bit-7 encoding can be shown, not chosen.
    for (const TParity shownOnly : {TParity::Mark, TParity::Space}) {
        m_parityGroup->button(int(shownOnly))->setEnabled(false);
    }
    lower->addWidget(com, 1);

    QGroupBox* characters = MakeGroup(this, "gboxHostCharacters", QStringLiteral(" Characters "));
    auto* charGrid = new QGridLayout(characters);
    m_spinCmdPrefix = AddSpinRow(charGrid, 0, "lblCmdPrefix", QStringLiteral("Command prefix:"),
                                 "spinCmdPrefix", 0, 255);
    m_spinXonChar = AddSpinRow(charGrid, 1, "lblXonChar", QStringLiteral("XON character:"),
                               "spinXonChar", 0, 255);
    m_spinXoffChar = AddSpinRow(charGrid, 2, "lblXoffChar", QStringLiteral("XOFF character:"),
                                "spinXoffChar", 0, 255);
    SetEnabled({m_spinCmdPrefix, m_spinXonChar, m_spinXoffChar}, false);
    charGrid->addWidget(MakePicture(characters, "imgHostDB9", "host-db9.jpg", 140, 90,
                                    QStringLiteral("Picture of a DB-9 serial connector")),
                        3, 0, 1, 2, Qt::AlignCenter);
    lower->addWidget(characters);
    layout->addLayout(lower);
    layout->addStretch();

    OnChecked(
        m_hostGroup, [](TAdvancedParams& w, int type) { w.HostType = type; }, true);
    OnValue(m_spinCdcSerialNo, &TAdvancedParams::CDC_Serial_No);
    OnIndex(m_cboxHostBaudRate, &TAdvancedParams::Baud_Rate);
    OnChecked(m_dataBitsGroup, [](TAdvancedParams& w, int bits) {
        w.Word_Format = HostWithDataBits(w.Word_Format, bits == 8);
    });
    OnChecked(m_stopBitsGroup, [](TAdvancedParams& w, int bits) {
        w.Word_Format = HostWithStopBits(w.Word_Format, bits == 2);
    });
    OnChecked(m_parityGroup, [](TAdvancedParams& w, int parity) {
        w.Word_Format = HostWithParity(w.Word_Format, static_cast<TParity>(parity));
    });
}

void TAdvancedHostPage::Fill(const TAdvancedParams& work)
{
    SelectEntry(m_cboxHostBaudRate, work.Baud_Rate);
    m_spinCmdPrefix->setValue(work.Command_Prefix);
    m_spinXonChar->setValue(work.Xon_Character);
    m_spinXoffChar->setValue(work.Xoff_Character);
    ShowWordFormat(DecodeHostWordFormat(work.Word_Format), m_dataBitsGroup, m_stopBitsGroup,
                   m_parityGroup);
    // Another stored type checks no button.
    CheckId(m_hostGroup, work.HostType);
    SetEnabled({m_lblCdcSerialNo, m_spinCdcSerialNo}, work.HostType == int(THostMode::Cdc));
    m_spinCdcSerialNo->setValue(work.CDC_Serial_No);
}

} // namespace tessaron
