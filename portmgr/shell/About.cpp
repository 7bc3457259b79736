#include "About.h"

#include "common/FileVersion.h"
#include "common/QtPicture.h"
#include "common/SuiteFolder.h"
#include "common/ValueLabel.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessaron {

namespace {

QString versionOf(const std::string& path)
{
    const std::string version = ReadFileVersion(path);
    return version.empty() ? QStringLiteral("0.0.0.0") : QString::fromStdString(version);
}

QLabel* label(const QString& text, const char* name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Halvorsten Corvandelle"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgAbout"));
    picture->setFixedSize(96, 128);
    const QImage image = LoadPicture(AboutPicture);
    if (!image.isNull()) {
        picture->setPixmap(QPixmap::fromImage(
            image.scaled(picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }

    QLabel* title = label(QStringLiteral("Halvorsten Corvandelle"), "lblTitle", this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    title->setFont(big);
    QLabel* description =
        label(QStringLiteral("USB Port Manager for Tessaron 5xx"), "lblDescription", this);
    QLabel* version = label(QStringLiteral("Version 6.00"), "lblVersion", this);

    // Each version is spoken with its file's name, "Tavrix: 6.0.0.0".
    auto* versions = new QGridLayout;
    const struct
    {
        const char* captionName;
        const char* caption;
        const char* valueName;
        QLabel** value;
    } rows[] = {
        {"lblVSPort", "VSPort.dll:", "lblVSPortVersion", &m_lblVSPortVersion},
        {"lblPlindorax", "Plindorax:", "lblPlindoraxVer", &m_lblPlindoraxVer},
        {"lblTavrix", "Tavrix:", "lblTavrixVersion", &m_lblTavrixVersion},
    };
    for (int row = 0; row < 3; ++row) {
        QLabel* caption =
            label(QString::fromLatin1(rows[row].caption), rows[row].captionName, this);
        *rows[row].value = new TValueLabel(QStringLiteral("0.0.0.0"), caption, this);
        (*rows[row].value)->setObjectName(QString::fromLatin1(rows[row].valueName));
        versions->addWidget(caption, row, 0);
        versions->addWidget(*rows[row].value, row, 1);
    }
    versions->setColumnStretch(1, 1);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(description);
    text->addWidget(version);
    text->addSpacing(8);
    text->addLayout(versions);
    text->addStretch();
    text->addWidget(m_ok, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(14);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(text);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TAboutForm::ReadVersions()
{
    // The virtual ports are made by Corvandelle itself: its own version stands
    // for the port library's.
    m_lblVSPortVersion->setText(versionOf(OwnExecutablePath()));
    m_lblPlindoraxVer->setText(versionOf(SiblingProgramPath("Plindorax")));
    m_lblTavrixVersion->setText(versionOf(SiblingProgramPath("Tavrix")));
}

// The files are read once per showing, not on every paint: a paint must not
// wait for the disk.
void TAboutForm::showEvent(QShowEvent* event)
{
    ReadVersions();
    QDialog::showEvent(event);
}

void TAboutForm::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

} // namespace tessaron
