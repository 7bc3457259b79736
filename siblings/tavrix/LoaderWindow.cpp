#include "LoaderWindow.h"

#include "common/Accessibility.h"
#include "siblings/core/TerminalLoader.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaron {

namespace {

const QString Caption = QStringLiteral("Tavrix");
constexpr int PollMs = 50;

QString fromLocal(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str());
}

} // namespace

TLoaderWindow::TLoaderWindow(MessageBox& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages)
{
    InstallAccessibility();
    setObjectName(QStringLiteral("frmTavrix"));
    setWindowTitle(QStringLiteral("Tavrix - Download"));
    m_lblFile = new QLabel(this);
    m_lblFile->setObjectName(QStringLiteral("lblFile"));
    m_lblPort = new QLabel(this);
    m_lblPort->setObjectName(QStringLiteral("lblPort"));
    m_pbDownload = new QProgressBar(this);
    m_pbDownload->setObjectName(QStringLiteral("pbDownload"));
    m_pbDownload->setMinimumWidth(320);
    m_lblCount = new QLabel(this);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblFile);
    layout->addWidget(m_lblPort);
    layout->addWidget(m_pbDownload);
    layout->addWidget(m_lblCount);
    layout->addWidget(m_btnCancel, 0, Qt::AlignRight);
    m_lblCount->setBuddy(m_pbDownload);
    m_pbDownload->setAccessibleName(QStringLiteral("Download progress"));

    connect(m_btnCancel, &QPushButton::clicked, this, &TLoaderWindow::cancel);
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &TLoaderWindow::poll);
}

TLoaderWindow::~TLoaderWindow()
{
    if (m_sender.joinable()) {
        m_pacer.Cancel();
        m_sender.join();
    }
}

bool TLoaderWindow::Start(const QString& imagePath, const QString& settingsPath)
{
    const TLoader::Outcome prepared = m_loader.Prepare(imagePath.toLocal8Bit().toStdString(),
                                                       settingsPath.toLocal8Bit().toStdString());
    if (prepared != TLoader::Outcome::Ready) {
        m_outcome = prepared;
        m_messages.Error(Caption, fromLocal(m_loader.Message()));
        return false;
    }
    m_lblFile->setText(QStringLiteral("Downloading %1").arg(QFileInfo(imagePath).fileName()));
    m_lblFile->setToolTip(imagePath);
    m_lblPort->setText(QStringLiteral("to %1, %2 ms after each byte")
                           .arg(fromLocal(m_loader.PortName()))
                           .arg(m_loader.Settings().DownloadDelay));
    m_pbDownload->setRange(0, m_loader.Total());
    showProgress();
    show();
    m_sender = std::thread([this] {
        m_loader.Send(m_pacer);
        m_sent.store(true);
    });
    m_poll.start();
    return true;
}

void TLoaderWindow::showProgress()
{
    m_pbDownload->setValue(m_loader.Sent());
    m_lblCount->setText(
        QStringLiteral("%1 of %2 bytes sent").arg(m_loader.Sent()).arg(m_loader.Total()));
}

void TLoaderWindow::poll()
{
    showProgress();
    if (m_sent.load()) {
        finish();
    }
}

void TLoaderWindow::finish()
{
    m_poll.stop();
    m_sender.join();
    m_outcome = m_loader.Status();
    showProgress();
    m_btnCancel->setEnabled(false);
    const QString message = fromLocal(m_loader.Message());
    if (m_outcome == TLoader::Outcome::Done) {
        m_messages.Information(Caption, message);
    } else {
        m_messages.Error(Caption, message);
    }
    hide();
    emit Finished(ExitStatus());
}

void TLoaderWindow::cancel()
{
    if (!m_sender.joinable() || m_pacer.Cancelled()) {
        return;
    }
    m_pacer.Cancel();
    m_btnCancel->setEnabled(false);
    m_lblCount->setText(QStringLiteral("Cancelling..."));
}

void TLoaderWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window while bytes go out is a cancel; the result follows.
    if (m_sender.joinable()) {
        cancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TLoaderWindow::reject()
{
    if (m_sender.joinable()) {
        cancel();
        return;
    }
    QDialog::reject();
}

int TLoaderWindow::ExitStatus() const
{
    switch (m_outcome) {
    case TLoader::Outcome::Done:
        return LoaderExitDone;
    case TLoader::Outcome::Cancelled:
        return LoaderExitCancelled;
    default:
        return LoaderExitFailed;
    }
}

} // namespace tessaron
