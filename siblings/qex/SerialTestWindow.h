#pragma once

#include "siblings/core/ReceivedText.h"
#include "siblings/core/SerialSession.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSocketNotifier;

namespace tessaron {

// Qex's window: one port at 9600 8N1; what arrives is shown as text and in hex,
// what the user types is sent. The port list shows what is behind each port;
// a port that another program holds is never opened.
class TSerialTestWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TSerialTestWindow(QWidget* parent = nullptr);
    ~TSerialTestWindow() override;

    // Qex's parameters: [port [x y]]. A port opens at once, x and y place the
    // window; without a port the list is offered. False (with the reason in the
    // status line) for parameters that make no sense; the window still works.
    bool ApplyArguments(const QStringList& arguments);

    // Opens COMn (closing the port held before); false with the reason shown.
    bool OpenPort(int n);
    void ClosePort();
    int OpenedPort() const { return m_session.Port(); }

    // Sends the text of the send field as the options say; false when nothing went.
    bool SendTyped();

    QString StatusText() const;

private:
    void refreshPortList();
    // Opens COMn as listed now, without surveying the ports again.
    bool openListed(int n);
    void openOrClose();
    void readPort();
    void setStatus(const QString& text, bool problem);
    void updateControls();

    TSerialSession m_session;
    TReceivedText m_received;
    std::unique_ptr<QSocketNotifier> m_notifier;

    QComboBox* m_cbPort;
    QPushButton* m_btnOpen;
    QPlainTextEdit* m_edText;
    QPlainTextEdit* m_edHex;
    QLineEdit* m_edSend;
    QComboBox* m_cbLineEnd;
    QCheckBox* m_chkHex;
    QPushButton* m_btnSend;
    QPushButton* m_btnClear;
    QLabel* m_lblStatus;
};

} // namespace tessaron
