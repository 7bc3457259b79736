#include "SerialTestWindow.h"

#include "common/Accessibility.h"
#include "siblings/core/PortSurvey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QSplitter>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tessaron {

namespace {

constexpr int FirstPort = 1;
constexpr int LastPort = 16;

QString fromLocal(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str());
}

void appendPlain(QPlainTextEdit* view, const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    view->moveCursor(QTextCursor::End);
}

// An integer, all of the argument; false otherwise.
bool number(const QString& text, int& value)
{
    bool ok = false;
    value = text.toInt(&ok, 10);
    return ok;
}

} // namespace

TSerialTestWindow::TSerialTestWindow(QWidget* parent) : QWidget(parent)
{
    InstallAccessibility();
    setObjectName(QStringLiteral("frmQex"));
    setWindowTitle(QStringLiteral("Qex"));

    auto* portLabel = new QLabel(QStringLiteral("&Port:"), this);
    m_cbPort = new QComboBox(this);
    m_cbPort->setObjectName(QStringLiteral("cbPort"));
    m_cbPort->setMinimumContentsLength(40);
    portLabel->setBuddy(m_cbPort);
    m_btnOpen = new QPushButton(QStringLiteral("&Open"), this);
    m_btnOpen->setObjectName(QStringLiteral("btnOpen"));

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_edText = new QPlainTextEdit;
    m_edText->setObjectName(QStringLiteral("edText"));
    m_edText->setReadOnly(true);
    m_edText->setFont(fixed);
    m_edText->setAccessibleName(QStringLiteral("Received text"));
    m_edHex = new QPlainTextEdit;
    m_edHex->setObjectName(QStringLiteral("edHex"));
    m_edHex->setReadOnly(true);
    m_edHex->setFont(fixed);
    m_edHex->setAccessibleName(QStringLiteral("Received bytes in hexadecimal"));
    m_edHex->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Each view under its heading, side by side.
    auto* views = new QSplitter(this);
    const std::pair<QPlainTextEdit*, QString> panes[] = {
        {m_edText, QStringLiteral("Received as &text:")},
        {m_edHex, QStringLiteral("Received in he&xadecimal:")}};
    for (const auto& [view, heading] : panes) {
        auto* pane = new QWidget(views);
        auto* label = new QLabel(heading, pane);
        label->setBuddy(view);
        auto* paneLayout = new QVBoxLayout(pane);
        paneLayout->setContentsMargins(0, 0, 0, 0);
        paneLayout->addWidget(label);
        paneLayout->addWidget(view, 1);
        views->addWidget(pane);
    }

    auto* sendLabel = new QLabel(QStringLiteral("&Send:"), this);
    m_edSend = new QLineEdit(this);
    m_edSend->setObjectName(QStringLiteral("edSend"));
    sendLabel->setBuddy(m_edSend);
    m_cbLineEnd = new QComboBox(this);
    m_cbLineEnd->setObjectName(QStringLiteral("cbLineEnd"));
    m_cbLineEnd->addItems({QStringLiteral("CR"), QStringLiteral("LF"), QStringLiteral("CR LF"),
                           QStringLiteral("no line end")});
    m_cbLineEnd->setAccessibleName(QStringLiteral("Line end"));
    m_chkHex = new QCheckBox(QStringLiteral("&Hex bytes"), this);
    m_chkHex->setObjectName(QStringLiteral("chkHex"));
    m_btnSend = new QPushButton(QStringLiteral("Sen&d"), this);
    m_btnSend->setObjectName(QStringLiteral("btnSend"));
    m_btnClear = new QPushButton(QStringLiteral("&Clear"), this);
    m_btnClear->setObjectName(QStringLiteral("btnClear"));
    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setWordWrap(true);
    m_lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(portLabel);
    top->addWidget(m_cbPort, 1);
    top->addWidget(m_btnOpen);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(sendLabel);
    bottom->addWidget(m_edSend, 1);
    bottom->addWidget(m_cbLineEnd);
    bottom->addWidget(m_chkHex);
    bottom->addWidget(m_btnSend);
    bottom->addWidget(m_btnClear);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(views, 1);
    layout->addLayout(bottom);
    layout->addWidget(m_lblStatus);
    resize(720, 420);

    connect(m_btnOpen, &QPushButton::clicked, this, &TSerialTestWindow::openOrClose);
    connect(m_btnSend, &QPushButton::clicked, this, &TSerialTestWindow::SendTyped);
    connect(m_edSend, &QLineEdit::returnPressed, this, &TSerialTestWindow::SendTyped);
    connect(m_btnClear, &QPushButton::clicked, this, [this] {
        m_edText->clear();
        m_edHex->clear();
        m_received.Clear();
    });

    refreshPortList();
    updateControls();
}

TSerialTestWindow::~TSerialTestWindow()
{
    ClosePort();
}

void TSerialTestWindow::refreshPortList()
{
    const int current = m_cbPort->currentData().toInt();
    m_cbPort->clear();
    for (int n = FirstPort; n <= LastPort; ++n) {
        m_cbPort->addItem(
            QStringLiteral("COM%1 - %2").arg(n).arg(fromLocal(DescribePort(SurveyPort(n)))), n);
    }
    const int index = m_cbPort->findData(current);
    if (index >= 0) {
        m_cbPort->setCurrentIndex(index);
    }
}

bool TSerialTestWindow::ApplyArguments(const QStringList& arguments)
{
    int port = 0;
    int x = 0;
    int y = 0;
    if (arguments.size() > 3 || arguments.size() == 2 ||
        (!arguments.isEmpty() && !number(arguments[0], port)) ||
        (arguments.size() == 3 && (!number(arguments[1], x) || !number(arguments[2], y)))) {
        setStatus(QStringLiteral("Usage: Qex [port [x y]], for example Qex 3 50 50. "
                                 "Choose the port from the list."),
                  true);
        return false;
    }
    if (arguments.size() == 3) {
        move(x, y);
    }
    if (arguments.isEmpty()) {
        setStatus(QStringLiteral("Choose a port and click Open."), false);
        return true;
    }
    if (port < FirstPort || port > LastPort) {
        setStatus(QStringLiteral("COM%1 is no port: the ports are COM1 to COM16. Choose the "
                                 "port from the list.")
                      .arg(port),
                  true);
        return false;
    }
    // The list was surveyed a moment ago, when the window was made.
    ClosePort();
    return openListed(port);
}

bool TSerialTestWindow::OpenPort(int n)
{
    ClosePort();
    refreshPortList();
    return openListed(n);
}

bool TSerialTestWindow::openListed(int n)
{
    const int index = m_cbPort->findData(n);
    if (index >= 0) {
        m_cbPort->setCurrentIndex(index);
    }
    std::string why;
    if (!m_session.Open(n, why)) {
        setStatus(fromLocal(why), true);
        updateControls();
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_session.Fd(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TSerialTestWindow::readPort);
    setWindowTitle(QStringLiteral("Qex - COM%1").arg(n));
    setStatus(
        QStringLiteral("COM%1 is open at 9600 baud, 8 data bits, no parity, 1 stop bit.").arg(n),
        false);
    updateControls();
    return true;
}

void TSerialTestWindow::ClosePort()
{
    m_notifier.reset();
    if (m_session.IsOpen()) {
        setStatus(QStringLiteral("COM%1 is closed.").arg(m_session.Port()), false);
        m_session.Close();
    }
    setWindowTitle(QStringLiteral("Qex"));
    updateControls();
}

void TSerialTestWindow::openOrClose()
{
    if (m_session.IsOpen()) {
        ClosePort();
    } else {
        OpenPort(m_cbPort->currentData().toInt());
    }
}

void TSerialTestWindow::readPort()
{
    std::uint8_t buffer[1024];
    // A few reads at a time: a port that never pauses must not starve the window.
    for (int reads = 0; reads < 16; ++reads) {
        const int port = m_session.Port();
        const int n = m_session.Read(buffer, sizeof buffer);
        if (n < 0) {
            m_notifier.reset();
            setWindowTitle(QStringLiteral("Qex"));
            setStatus(QStringLiteral("COM%1 has gone away (the device was unplugged, or the "
                                     "bridge that made the port stopped).")
                          .arg(port),
                      true);
            updateControls();
            return;
        }
        if (n == 0) {
            return;
        }
        const TReceivedText::Parts parts = m_received.Append(buffer, static_cast<size_t>(n));
        appendPlain(m_edText, QString::fromLatin1(parts.Text.data(),
                                                  static_cast<qsizetype>(parts.Text.size())));
        appendPlain(m_edHex, QString::fromLatin1(parts.Hex.data(),
                                                 static_cast<qsizetype>(parts.Hex.size())));
    }
}

bool TSerialTestWindow::SendTyped()
{
    if (!m_session.IsOpen()) {
        setStatus(QStringLiteral("Open a port first."), true);
        return false;
    }
    std::string bytes;
    size_t bad = 0;
    const QByteArray typed = m_edSend->text().toLatin1();
    if (!ParseSendText(typed.toStdString(), m_chkHex->isChecked(), bytes, bad)) {
        setStatus(QStringLiteral("Hex bytes are pairs of hexadecimal digits, such as 40 06; "
                                 "position %1 is not.")
                      .arg(bad + 1),
                  true);
        return false;
    }
    static const char* const lineEnds[] = {"\r", "\n", "\r\n", ""};
    const int end = m_cbLineEnd->currentIndex();
    if (end >= 0 && end < 4) {
        bytes += lineEnds[end];
    }
    if (bytes.empty()) {
        return false;
    }
    const int sent =
        m_session.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (sent != static_cast<int>(bytes.size())) {
        setStatus(QStringLiteral("Only %1 of %2 bytes went out: COM%3 does not take more.")
                      .arg(sent)
                      .arg(bytes.size())
                      .arg(m_session.Port()),
                  true);
        return false;
    }
    setStatus(QStringLiteral("%1 bytes sent.").arg(sent), false);
    m_edSend->selectAll();
    return true;
}

void TSerialTestWindow::setStatus(const QString& text, bool problem)
{
    m_lblStatus->setText(text);
    m_lblStatus->setStyleSheet(problem ? QStringLiteral("color: rgb(192, 0, 0);") : QString());
}

QString TSerialTestWindow::StatusText() const
{
    return m_lblStatus->text();
}

void TSerialTestWindow::updateControls()
{
    const bool open = m_session.IsOpen();
    m_btnOpen->setText(open ? QStringLiteral("Cl&ose") : QStringLiteral("&Open"));
    m_cbPort->setEnabled(!open);
    m_btnSend->setEnabled(open);
}

} // namespace tessaron
