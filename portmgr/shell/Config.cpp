#include "Config.h"

#include "common/FileWriteError.h"
#include "common/MessageBox.h"
#include "portmgr/devices/KeypadQuery.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/SerialKeypads.h"
#include "portmgr/devices/UsbKeypads.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace tessaron {

namespace {

constexpr int MaxDrainMs = 500;

const QColor PresentColour(0, 128, 0);
const QColor AbsentColour(160, 160, 164);

QString rowName(const char* prefix, int row)
{
    return QString::fromLatin1(prefix) + QString::number(row + 1);
}

QLineEdit* readOnlyEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TConfigForm::TConfigForm(TPortManager& pm, MessageBox& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_pm(pm),
      m_messages(messages)
{
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowTitle(QStringLiteral("Corvandelle - View/Assign Tessaron COM Port(s)"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(QStringLiteral("Instructions"));
    m_memo->setReadOnly(true);
    m_memo->setPlainText(
        QStringLiteral("Green Tessarons have been identified by the PC.  \n"
                       " * USB Tessarons can  be assigned to a \"Virtual COM Port\". \n"
                       " * RS232 and CDC Tessarons are displayed but their configuration is "
                       "fixed  (cannot be assigned).  \n"
                       " * HID (USB PC Keyboard) Tessarons are not shown."));
    const QFontMetrics memoMetrics = m_memo->fontMetrics();
    m_memo->setFixedHeight(memoMetrics.lineSpacing() * 4 + 16);
    m_memo->setMinimumWidth(
        memoMetrics.horizontalAdvance(QStringLiteral(" * RS232 and CDC Tessarons are displayed but "
                                                     "their configuration is fixed  (cannot be "
                                                     "assigned).  ")) +
        32);
    layout->addWidget(m_memo);

    auto* grid = new QGridLayout;
    const char* headings[] = {" Detected ",      " Location ", " Version Info ",
                              " Port Assigned ", nullptr,      " Click To Assign "};
    for (int column = 0; column < 6; ++column) {
        if (headings[column] != nullptr) {
            auto* heading = new QLabel(QString::fromLatin1(headings[column]), this);
            heading->setObjectName(QStringLiteral("lblHeading") + QString::number(column + 1));
            grid->addWidget(heading, 0, column);
        }
    }
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int row = 0; row < Rows; ++row) {
        Row& r = m_rows[row];
        r.lblKeypad = new QLabel(QStringLiteral("Tessaron #%1:").arg(row + 1), this);
        r.lblKeypad->setObjectName(rowName("lblKeypad", row));
        QFont bold = r.lblKeypad->font();
        bold.setBold(true);
        r.lblKeypad->setFont(bold);
        r.lblKeypad->setAutoFillBackground(true);
        r.edLocation = readOnlyEdit(rowName("edLocation", row), this);
        r.edLocation->setMinimumWidth(
            r.edLocation->fontMetrics().horizontalAdvance(QStringLiteral("RS232 via DB9")) + 16);
        r.edKeypad = readOnlyEdit(rowName("edKeypad", row), this);
        r.edKeypad->setFont(fixed);
        r.edKeypad->setMinimumWidth(r.edKeypad->fontMetrics().horizontalAdvance(QString(18, 'W')));
        r.edCom = readOnlyEdit(rowName("edCom", row), this);
        r.edCom->setText(QStringLiteral("COM?"));
        auto* arrow = new QLabel(QStringLiteral(">"), this);
        r.btnKeypad = new QPushButton(QStringLiteral("Set Com Port..."), this);
        r.btnKeypad->setObjectName(rowName("btnKeypad", row));
        r.lblKeypad->setBuddy(r.btnKeypad);
        r.edLocation->setAccessibleName(QStringLiteral("Tessaron #%1 location").arg(row + 1));
        r.edKeypad->setAccessibleName(QStringLiteral("Tessaron #%1 version").arg(row + 1));
        r.edCom->setAccessibleName(QStringLiteral("Tessaron #%1 port").arg(row + 1));
        r.btnKeypad->setAccessibleName(QStringLiteral("Set Com Port of Tessaron #%1").arg(row + 1));
        grid->addWidget(r.lblKeypad, row + 1, 0);
        grid->addWidget(r.edLocation, row + 1, 1);
        grid->addWidget(r.edKeypad, row + 1, 2);
        grid->addWidget(r.edCom, row + 1, 3);
        grid->addWidget(arrow, row + 1, 4);
        grid->addWidget(r.btnKeypad, row + 1, 5);
        connect(r.btnKeypad, &QPushButton::clicked, this, [this, row] {
            CurrentRow = row;
            btnKeypadClick();
        });
    }
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    m_btnSearch = new QPushButton(QStringLiteral("&Start Over"), this);
    m_btnSearch->setObjectName(QStringLiteral("btnSearch"));
    m_btnSearch->setToolTip(QStringLiteral("Find Attached Keypads"));
    m_btnSearch->setAutoDefault(false);
    m_btnFinished = new QPushButton(QStringLiteral("&Finshed"), this);
    m_btnFinished->setObjectName(QStringLiteral("btnFinished"));
    m_btnFinished->setDefault(true);
    buttons->addWidget(m_btnSearch);
    buttons->addStretch();
    buttons->addWidget(m_btnFinished);
    layout->addLayout(buttons);
    connect(m_btnSearch, &QPushButton::clicked, this, &TConfigForm::btnSearchClick);
    connect(m_btnFinished, &QPushButton::clicked, this, &TConfigForm::btnFinishedClick);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    for (int port = 0; port <= MaxComPorts; ++port) {
        QAction* item = m_popup->addAction(port == 0 ? QStringLiteral("Not Assigned")
                                                     : QStringLiteral("COM%1").arg(port));
        item->setObjectName(port == 0 ? QStringLiteral("ComUnassigned1")
                                      : QStringLiteral("COM") + QString::number(port) +
                                            QStringLiteral("1"));
        connect(item, &QAction::triggered, this, [this, port] { ComClick(port); });
        m_portItems[port] = item;
    }

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TConfigForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TConfigForm::FormShow()
{
    if (ResetVirtualPorts) {
        ResetVirtualPorts();
    }
    RefreshRows();
}

void TConfigForm::RefreshRows()
{
    for (int i = 0; i < MaxKeypads; ++i) {
        CloseKeypad(m_pm, i);
    }
    LoadSettings(m_pm);
    EnumerateKeypads(m_pm);
    // Remembered keypads that are not attached: shown in free rows, not present.
    PlaceRememberedKeypads(m_pm, false);
    for (int row = 0; row < Rows; ++row) {
        ShowRow(row);
    }
}

void TConfigForm::setLabelColour(int row, const QColor& colour)
{
    QLabel* label = m_rows[row].lblKeypad;
    QPalette p = label->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

void TConfigForm::ShowRow(int row)
{
    if (!ValidSlot(row)) {
        return;
    }
    Row& r = m_rows[row];
    TKeypadSlot& s = m_pm.KeypadSlots[row];
    r.edKeypad->clear();

    if (!(s.Flags & SlotPresent)) {
        setLabelColour(row, AbsentColour);
        const int a = FindAssignedPort(m_pm, DevicePathOf(s));
        r.edCom->setText(a < 1 ? QStringLiteral("Not Assigned") : QStringLiteral("Com %1").arg(a));
        if (a != 0) {
            r.edKeypad->setText(QStringLiteral("Keypad Missing"));
        }
        r.btnKeypad->setEnabled(s.DevicePath[0] != '\0');
        return;
    }

    setLabelColour(row, PresentColour);
    const bool rs232 = (s.Flags & SlotRs232) != 0;
    const bool cdc = (s.Flags & SlotCdc) != 0;
    if (rs232 || cdc) {
        OpenSerialKeypad(m_pm, row);
        r.edLocation->setText(rs232 ? QStringLiteral("RS232 via DB9")
                                    : QStringLiteral("CDC Virtual"));
        r.btnKeypad->setEnabled(false);
    } else {
        OpenUsbKeypad(m_pm, row);
        r.edLocation->setText(QStringLiteral("USB"));
        r.btnKeypad->setEnabled(true);
    }
    const bool open = (s.Flags & SlotOpen) != 0;
    if (open) {
        const std::string id = QueryIdentification(m_pm, row);
        if (!id.empty()) {
            r.edKeypad->setText(latin1(id));
        }
    }

    const int a = FindAssignedPort(m_pm, DevicePathOf(s));
    if (a >= 1) {
        r.edCom->setText(QStringLiteral("COM%1").arg(a));
    } else if (rs232 || cdc) {
        r.edCom->setText(latin1(DevicePathOf(s)));
    } else {
        r.edCom->setText(QStringLiteral("Not Assigned"));
    }
    SendLabel(m_pm, row, a);
}

void TConfigForm::btnSearchClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (Row& r : m_rows) {
        r.edLocation->clear();
        r.edKeypad->clear();
        r.edCom->clear();
        r.btnKeypad->setEnabled(false);
    }
    repaint();
    std::error_code error;
    const std::string path = SettingsPath();
    if (!std::filesystem::remove(path, error) && error) {
        m_messages.Error(
            QStringLiteral("Corvandelle"),
            QStringLiteral("Unable to delete %1").arg(QFile::decodeName(path.c_str())));
    }
    RefreshRows();
    QApplication::restoreOverrideCursor();
}

void TConfigForm::btnKeypadClick()
{
    ComputeAvailablePorts(m_pm);
    for (int port = 0; port <= MaxComPorts; ++port) {
        m_portItems[port]->setVisible(true);
        m_portItems[port]->setEnabled(port == 0 || m_pm.PortAvailable[port]);
    }
    m_popup->popup(PopupPoint());
}

QPoint TConfigForm::PopupPoint() const
{
    const QPushButton* first = m_rows[0].btnKeypad;
    const QPoint buttonRight = first->mapTo(this, QPoint(first->width(), 0));
    const QRect frame = frameGeometry();
    return QPoint(frame.left() + buttonRight.x(), frame.top());
}

bool TConfigForm::storeAssignment(int port, const char* identity)
{
    try {
        StoreAssignment(m_pm, port, identity);
        return true;
    } catch (const FileWriteError& e) {
        m_messages.Error(QStringLiteral("Corvandelle"), QString::fromLocal8Bit(e.what()));
        return false;
    }
}

void TConfigForm::ComClick(int port)
{
    if (!ValidSlot(CurrentRow)) {
        return;
    }
    TKeypadSlot& s = m_pm.KeypadSlots[CurrentRow];
    s.ComPort = port;
    // A new port replaces the old one: remove first, then store.
    if (!storeAssignment(0, s.DevicePath) || !storeAssignment(port, s.DevicePath)) {
        return;
    }
    ShowRow(CurrentRow);
}

void TConfigForm::btnFinishedClick()
{
    if (m_finishing) {
        return;
    }
    m_finishing = true;
    // What the keypads were told must reach them before they are closed.
    WaitForWrites(m_pm, MaxDrainMs);
    for (int i = 0; i < MaxKeypads; ++i) {
        if (IsSerialSlot(m_pm.KeypadSlots[i])) {
            SendLabelClear(m_pm, i);
            CloseSerialKeypad(m_pm, i);
        } else {
            CloseKeypad(m_pm, i);
        }
    }
    m_finishing = false;
    done(QDialog::Accepted);
}

void TConfigForm::reject()
{
    btnFinishedClick();
}

} // namespace tessaron
