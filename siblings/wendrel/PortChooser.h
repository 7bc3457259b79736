#pragma once

#include "common/MessageBox.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaron {

// Wendrel's window: the ports COM1 to COM16 with what is behind each, the USB
// keypads working as a keyboard, "test as a keyboard" and "no port". OK
// records the choice in "Tavrix.ini" (ComPort, and ComType for a COM port);
// Cancel leaves the file as it was. Nothing is opened to find out what is
// behind a port.
class TPortChooser : public QDialog
{
    Q_OBJECT

public:
    // Item data: the ComPort that a row records (Qt::UserRole).
    static constexpr int ComPortRole = Qt::UserRole;

    TPortChooser(MessageBox& messages, QString settingsPath, QWidget* parent = nullptr);

    // Looks at the ports and the USB keypads again.
    void Refresh();
    // Selects the row that records comPort (the first one, for -1).
    void SelectComPort(int comPort);

    // Records the selected row; false (with the reason shown) when nothing is
    // selected or the file cannot be written.
    bool Save();

public slots:
    void accept() override;

private:
    void selectionChanged();
    QTreeWidgetItem* addRow(const QString& port, const QString& what, int comPort);

    MessageBox& m_messages;
    QString m_settingsPath;
    QTreeWidget* m_lvPorts;
    QRadioButton* m_rbUsb;
    QRadioButton* m_rbRs232;
    QLabel* m_lblStatus;
    QPushButton* m_btnRefresh;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};

} // namespace tessaron
