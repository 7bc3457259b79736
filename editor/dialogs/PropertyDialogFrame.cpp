#include "PropertyDialogFrame.h"

#include <QAbstractSpinBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
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
    // No close box: OK and Cancel are the ways out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_body->setObjectName(QStringLiteral("pnlBody"));
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnApply->setObjectName(QStringLiteral("btnApply"));
    for (QPushButton* button : {m_btnOK, m_btnCancel, m_btnApply}) {
        button->setAutoDefault(false);
    }
    m_btnOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnApply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_btnOK, &QPushButton::clicked, this, [this] {
        settleFocusedField();
        ApplyClick();
        accept();
    });
    connect(m_btnApply, &QPushButton::clicked, this, [this] {
        settleFocusedField();
        ApplyClick();
    });
    connect(m_btnCancel, &QPushButton::clicked, this, &TPropertyDialogFrame::reject);
}

void TPropertyDialogFrame::reject()
{
    CancelClick();
    QDialog::reject();
}

void TPropertyDialogFrame::showEvent(QShowEvent* event)
{
    // Restoring a minimised dialog is no new opening.
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

void TPropertyDialogFrame::FinishTabOrder()
{
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && m_body->isAncestorOf(w)) {
            last = w;
        }
    }
    if (last != nullptr) {
        setTabOrder(last, m_btnOK);
    }
    setTabOrder(m_btnOK, m_btnCancel);
    setTabOrder(m_btnCancel, m_btnApply);
}

void TPropertyDialogFrame::SetOkAndApplyEnabled(bool enabled)
{
    m_btnOK->setEnabled(enabled);
    m_btnApply->setEnabled(enabled);
}

void TPropertyDialogFrame::settleFocusedField()
{
    for (QWidget* w = focusWidget(); w != nullptr && w != this; w = w->parentWidget()) {
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            spin->interpretText();
            return;
        }
    }
}

} // namespace tessaron
