#include "FormVComFail.h"

#include "common/FileWriteError.h"
#include "common/MessageBox.h"
#include "common/QtPicture.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessaron {

TFormVComFail::TFormVComFail(TPortManager& pm, MessageBox& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_pm(pm),
      m_messages(messages)
{
    setObjectName(QStringLiteral("FormVComFail"));
    setWindowTitle(QStringLiteral("Corvandelle Virtual COM Port Error"));
    setModal(true);

    m_imgWarning = new QLabel(this);
    m_imgWarning->setObjectName(QStringLiteral("imgWarning"));
    m_imgWarning->setFixedSize(64, 64);
    const QImage warning = LoadPicture(WarningPicture);
    if (!warning.isNull()) {
        m_imgWarning->setPixmap(QPixmap::fromImage(
            warning.scaled(m_imgWarning->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    m_imgWarning->setAccessibleName(QStringLiteral("Warning"));

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(QStringLiteral("Message"));
    m_memo->setReadOnly(true);
    m_memo->setFrameShape(QFrame::NoFrame);
    m_memo->setPlainText(QStringLiteral(
        "Corvandelle was unable to create one or more of your Virtual  COM Ports.  \n"
        "Select \"Yes\" to try again.  \n"
        "\n"
        "If you select \"No\",  you may have to manually open and close \"Configure \n"
        "Tessarons\"  from the system tray before you can use your Tessaron(s).\n"
        "\n"
        "Try again?"));
    const QFontMetrics metrics = m_memo->fontMetrics();
    m_memo->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral(
                                "If you select \"No\",  you may have to manually open and close "
                                "\"Configure ")) +
                            24);
    m_memo->setFixedHeight(metrics.lineSpacing() * 7 + 16);

    m_label1 = new QLabel(QStringLiteral("<a href=\"#why\">Why is this happening?</a>"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_label1->setAccessibleName(QStringLiteral("Why is this happening?"));
    connect(m_label1, &QLabel::linkActivated, this, [this] { Label1Click(); });

    m_cboxVSPortFail = new QCheckBox(QStringLiteral("Don't show this again"), this);
    m_cboxVSPortFail->setObjectName(QStringLiteral("cboxVSPortFail"));
    m_cboxVSPortFail->setVisible(false);
    connect(m_cboxVSPortFail, &QCheckBox::clicked, this, &TFormVComFail::cboxVSPortFailClick);

    m_bitBtn1 = new QPushButton(QStringLiteral("&No"), this);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn2 = new QPushButton(QStringLiteral("&Yes"), this);
    m_bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    m_bitBtn2->setDefault(true);
    connect(m_bitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_bitBtn2, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(m_imgWarning, 0, Qt::AlignTop);
    top->addWidget(m_memo);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_label1);
    bottom->addWidget(m_cboxVSPortFail);
    bottom->addStretch();
    bottom->addWidget(m_bitBtn1);
    bottom->addWidget(m_bitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TFormVComFail::Label1Click()
{
    m_messages.Information(QStringLiteral("Corvandelle Help"),
                           QStringLiteral("This normally happens because the computer is slow on "
                                          "\nboot-up and is not ready in time for Corvandelle."));
}

void TFormVComFail::cboxVSPortFailClick()
{
    m_pm.RetryOnVComFail = !m_cboxVSPortFail->isChecked();
    try {
        SaveAppSettings(m_pm);
    } catch (const FileWriteError& e) {
        m_messages.Error(QStringLiteral("Corvandelle"), QString::fromLocal8Bit(e.what()));
    }
}

} // namespace tessaron
