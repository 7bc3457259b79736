#pragma once

#include "common/MessageBox.h"
#include "siblings/core/Loader.h"

#include <QDialog>
#include <QTimer>

#include <atomic>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessaron {

// Tavrix's progress window: the image's name, the port, a progress bar and
// Cancel. The bytes go out on a thread of its own (TLoader::Send); the window
// looks at the count every 50 ms. Every refusal and the result are shown in a
// message box.
class TLoaderWindow : public QDialog
{
    Q_OBJECT

public:
    explicit TLoaderWindow(MessageBox& messages, QWidget* parent = nullptr);
    ~TLoaderWindow() override;

    // Checks the image, the settings and the port; when all is well shows the
    // window and starts sending, otherwise shows why and returns false
    // (nothing was sent).
    bool Start(const QString& imagePath, const QString& settingsPath);

    bool Sending() const { return m_sender.joinable(); }
    TLoader::Outcome Outcome() const { return m_outcome; }
    // LoaderExitDone, LoaderExitFailed or LoaderExitCancelled.
    int ExitStatus() const;
    const TLoader& Loader() const { return m_loader; }

signals:
    // The download has ended and its result has been shown.
    void Finished(int exitStatus);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void cancel();
    void poll();
    void finish();
    void showProgress();

    MessageBox& m_messages;
    TLoader m_loader;
    TPacer m_pacer;
    std::thread m_sender;
    std::atomic<bool> m_sent{false};
    TLoader::Outcome m_outcome = TLoader::Outcome::Refused;
    QTimer m_poll;

    QLabel* m_lblFile;
    QLabel* m_lblPort;
    QLabel* m_lblCount;
    QProgressBar* m_pbDownload;
    QPushButton* m_btnCancel;
};

} // namespace tessaron
