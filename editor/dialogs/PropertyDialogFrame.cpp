#include "PropertyDialogFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaron {

TPropertyDialogFrame::TPropertyDialogFrame(const char* objectName, const QString& caption,
                                           QWidget* parent)
    : QDialog(parent), m_body(new QWidget(this)), m_btnOK(new QPushButton(tr("&OK"), this)),
      m_btnCancel(new QPushButton(tr("&Cancel"), this)),
      m_btnApply(new QPushButton(tr("&Apply"), this))
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    setModal(true);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnApply->setObjectName(QStringLiteral("btnApply"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnApply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(m_btnOK, &QPushButton::clicked, this, [this] {
        m_btnApply->click();
        accept();
    });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPropertyDialogFrame::showEvent(QShowEvent* event)
{
    m_btnOK->setEnabled(false);
    m_btnApply->setEnabled(false);
    QDialog::showEvent(event);
}

} // namespace tessaron
