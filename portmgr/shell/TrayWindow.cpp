#include "TrayWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace tessaron {

TfrmTrayWindow::TfrmTrayWindow(QMenu& menu, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_menu(menu)
{
    setObjectName(QStringLiteral("frmTrayWindow"));
    setWindowTitle(QStringLiteral("Corvandelle"));

    m_imgState = new QLabel(this);
    m_imgState->setObjectName(QStringLiteral("imgState"));
    m_imgState->setFixedSize(32, 32);
    m_lblState = new QLabel(QStringLiteral("Corvandelle"), this);
    m_lblState->setObjectName(QStringLiteral("lblState"));
    m_btnMenu = new QPushButton(QStringLiteral("&Menu"), this);
    m_btnMenu->setObjectName(QStringLiteral("btnMenu"));
    m_btnMenu->setDefault(true);
    connect(m_btnMenu, &QPushButton::clicked, this, &TfrmTrayWindow::PopupMenu);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_imgState);
    layout->addWidget(m_lblState, 1);
    layout->addWidget(m_btnMenu);
    setMinimumWidth(280);
    adjustSize();
}

void TfrmTrayWindow::SetState(const QString& text, const QIcon& icon)
{
    m_lblState->setText(text);
    m_imgState->setPixmap(icon.pixmap(32, 32));
    setWindowIcon(icon);
    setToolTip(text);
}

void TfrmTrayWindow::PopupMenu()
{
    m_menu.popup(m_btnMenu->mapToGlobal(QPoint(0, m_btnMenu->height())));
}

void TfrmTrayWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    showMinimized();
}

void TfrmTrayWindow::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu.popup(event->globalPos());
}

} // namespace tessaron
