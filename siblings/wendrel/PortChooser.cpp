#include "PortChooser.h"

#include "common/Accessibility.h"
#include "common/FileWriteError.h"
#include "siblings/core/KeyboardKeypads.h"
#include "siblings/core/PortSurvey.h"
#include "siblings/core/TavrixSettings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaron {

namespace {

const QString Caption = QStringLiteral("Wendrel");
constexpr int ComTypeRole = Qt::UserRole + 1; // "U" or "R" suggested for a COM row
constexpr int KeyboardComPort = -1;
constexpr int NoComPort = 0;

QString fromLocal(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str());
}

} // namespace

TPortChooser::TPortChooser(MessageBox& messages, QString settingsPath, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_settingsPath(std::move(settingsPath))
{
    InstallAccessibility();
    setObjectName(QStringLiteral("frmWendrel"));
    setWindowTitle(QStringLiteral("Wendrel - Tessaron Port"));

    auto* intro =
        new QLabel(QStringLiteral("&Choose the keypad's port for Download and Test:"), this);
    m_lvPorts = new QTreeWidget(this);
    m_lvPorts->setObjectName(QStringLiteral("lvPorts"));
    m_lvPorts->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("What is behind it")});
    m_lvPorts->setRootIsDecorated(false);
    m_lvPorts->setAllColumnsShowFocus(true);
    m_lvPorts->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_lvPorts->setMinimumSize(560, 380);
    LabelFor(intro, m_lvPorts);

    auto* attached = new QGroupBox(QStringLiteral("The keypad is attached by"), this);
    m_rbUsb = new QRadioButton(QStringLiteral("&USB"), attached);
    m_rbUsb->setObjectName(QStringLiteral("rbUsb"));
    m_rbRs232 = new QRadioButton(QStringLiteral("&RS-232 (DB9)"), attached);
    m_rbRs232->setObjectName(QStringLiteral("rbRs232"));
    auto* attachedLayout = new QHBoxLayout(attached);
    attachedLayout->addWidget(m_rbUsb);
    attachedLayout->addWidget(m_rbRs232);
    attachedLayout->addStretch();

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setWordWrap(true);

    m_btnRefresh = new QPushButton(QStringLiteral("Re&fresh"), this);
    m_btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    m_btnOk = new QPushButton(QStringLiteral("OK"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnRefresh);
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_lvPorts);
    layout->addWidget(attached);
    layout->addWidget(m_lblStatus);
    layout->addLayout(buttons);

    connect(m_btnRefresh, &QPushButton::clicked, this, &TPortChooser::Refresh);
    connect(m_btnOk, &QPushButton::clicked, this, &TPortChooser::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &TPortChooser::reject);
    connect(m_lvPorts, &QTreeWidget::itemSelectionChanged, this, &TPortChooser::selectionChanged);
    connect(m_lvPorts, &QTreeWidget::itemActivated, this, &TPortChooser::accept);

    Refresh();
    const TTavrixSettings current = ReadTavrixSettings(m_settingsPath.toLocal8Bit().toStdString());
    SelectComPort(current.ComPort);
    // The recorded attachment wins over the guess for the port it was recorded for.
    if (current.ComPort > 0 && (current.ComType == "U" || current.ComType == "R")) {
        (current.ComType == "U" ? m_rbUsb : m_rbRs232)->setChecked(true);
    }
}

QTreeWidgetItem* TPortChooser::addRow(const QString& port, const QString& what, int comPort)
{
    auto* item = new QTreeWidgetItem(m_lvPorts, {port, what});
    item->setData(0, ComPortRole, comPort);
    item->setToolTip(1, what);
    return item;
}

void TPortChooser::Refresh()
{
    // The row is known by its port and first column: clear() deletes the item.
    const QTreeWidgetItem* selected = m_lvPorts->currentItem();
    const bool hadSelection = selected != nullptr;
    const int keep = hadSelection ? selected->data(0, ComPortRole).toInt() : NoComPort;
    const QString keepText = hadSelection ? selected->text(0) : QString();
    m_lvPorts->clear();
    for (int n = 1; n <= 16; ++n) {
        const TPortInfo info = SurveyPort(n);
        QTreeWidgetItem* item =
            addRow(QStringLiteral("COM%1").arg(n), fromLocal(DescribePort(info)), n);
        item->setData(0, ComTypeRole, fromLocal(SuggestedComType(info)));
    }
    std::string error;
    for (const std::string& identity : ListKeyboardKeypads(error)) {
        addRow(QStringLiteral("Keyboard"),
               QStringLiteral("USB keypad in HID keyboard mode, %1").arg(fromLocal(identity)),
               KeyboardComPort);
    }
    addRow(QStringLiteral("Keyboard"),
           QStringLiteral("test the keypad as a PC keyboard (no COM port)"), KeyboardComPort);
    addRow(QStringLiteral("None"), QStringLiteral("no port set"), NoComPort);
    m_lblStatus->setText(
        error.empty() ? QString()
                      : QStringLiteral("USB keypads cannot be listed: %1").arg(fromLocal(error)));
    // Keep the row the user was on.
    for (int i = 0; hadSelection && i < m_lvPorts->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lvPorts->topLevelItem(i);
        if (item->data(0, ComPortRole).toInt() == keep && item->text(0) == keepText) {
            m_lvPorts->setCurrentItem(item);
            break;
        }
    }
}

void TPortChooser::SelectComPort(int comPort)
{
    for (int i = 0; i < m_lvPorts->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lvPorts->topLevelItem(i);
        if (item->data(0, ComPortRole).toInt() == comPort) {
            m_lvPorts->setCurrentItem(item);
            m_lvPorts->scrollToItem(item);
            return;
        }
    }
}

void TPortChooser::selectionChanged()
{
    const QTreeWidgetItem* item = m_lvPorts->currentItem();
    const bool comRow = item != nullptr && item->data(0, ComPortRole).toInt() > 0;
    m_rbUsb->setEnabled(comRow);
    m_rbRs232->setEnabled(comRow);
    if (comRow) {
        (item->data(0, ComTypeRole).toString() == QLatin1String("U") ? m_rbUsb : m_rbRs232)
            ->setChecked(true);
    }
}

bool TPortChooser::Save()
{
    const QTreeWidgetItem* item = m_lvPorts->currentItem();
    if (item == nullptr) {
        m_messages.Error(Caption, QStringLiteral("Choose a port first."));
        return false;
    }
    const int comPort = item->data(0, ComPortRole).toInt();
    std::optional<std::string> comType;
    if (comPort > 0) {
        comType.emplace(1, m_rbUsb->isChecked() ? 'U' : 'R');
    }
    try {
        WriteTavrixPort(m_settingsPath.toLocal8Bit().toStdString(), comPort, comType);
    } catch (const FileWriteError& e) {
        m_messages.Error(Caption, fromLocal(e.what()));
        return false;
    }
    return true;
}

void TPortChooser::accept()
{
    if (Save()) {
        QDialog::accept();
    }
}

} // namespace tessaron
