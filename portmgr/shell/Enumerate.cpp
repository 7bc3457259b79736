#include "Enumerate.h"

#include "common/QtPicture.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessaron {

namespace {

// Where a picture is missing or damaged, an empty area of its size.
QLabel* picture(const char* file, const QString& name, QSize size, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(size);
    const QImage image = LoadPicture(file);
    if (!image.isNull()) {
        label->setPixmap(
            QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    return label;
}

} // namespace

TEnumerateForm::TEnumerateForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("EnumerateForm"));
    setWindowTitle(QStringLiteral("Corvandelle Attention!"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    m_imgAttention = picture(AttentionPicture, QStringLiteral("imgAttention"), QSize(64, 64), this);
    m_imgAttention->setAccessibleName(QStringLiteral("Attention"));
    m_imgInstructions =
        picture(InstructionsPicture, QStringLiteral("imgInstructions"), QSize(360, 150), this);
    // The instructions are a picture; a screen reader reads them from here.
    m_imgInstructions->setAccessibleName(QStringLiteral("Instructions"));
    m_imgInstructions->setAccessibleDescription(
        QStringLiteral("1. Close or disable all programs that use the Tessarons. "
                       "2. Make sure all Tessarons are plugged in and recognised by the PC. "
                       "3. Click OK when ready."));
    m_imgInstructions->setToolTip(m_imgInstructions->accessibleDescription());

    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(m_imgAttention, 0, Qt::AlignTop);
    top->addWidget(m_imgInstructions);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_btnOK, 0, Qt::AlignHCenter);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

} // namespace tessaron
