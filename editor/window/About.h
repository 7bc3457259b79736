#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace tessaron {

// The About box: made for each showing, borderless, white and on top, shown
// modally with exec() over the main window.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 331;
    static constexpr int ClientHeight = 151;

    explicit TfrmAbout(QWidget* mainWindow);

    // "Version " and the first five characters of a file version, or "NA"
    // when there is none.
    static QString VersionText(const std::string& fileVersion);

    // The pictures, drawn by the program.
    static QPixmap ProductPicture();
    static QPixmap MakerLogo();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_imgProduct;
    QLabel* m_imgLogo;
    QLabel* m_lblDescription;
    QLabel* m_lblVersion;
    QPushButton* m_btnOk;
};

} // namespace tessaron
