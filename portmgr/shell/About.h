#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessaron {

// "About Halvorsten Corvandelle": borderless and white, with the versions of
// the virtual port service, Plindorax and Tavrix.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* AboutPicture = "corvandelle-about.jpg";

    explicit TAboutForm(QWidget* parent = nullptr);

    // Reads the three version lines afresh.
    void ReadVersions();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_lblVSPortVersion;
    QLabel* m_lblPlindoraxVer;
    QLabel* m_lblTavrixVersion;
    QPushButton* m_ok;
};

} // namespace tessaron
