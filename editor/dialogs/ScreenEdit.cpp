#include "ScreenEdit.h"

#include <QPushButton>

namespace tessaron {

TfrmScreenEdit::TfrmScreenEdit(const TDialogContext& context, QWidget* parent)
    : TPropertyDialogFrame("frmScreenEdit", QStringLiteral("Tessaron ROM Screen Editor"), parent),
      m_context(context)
{
    connect(ApplyButton(), &QPushButton::clicked, this, [this] {
        m_context.Rom.ApplyScreens();
        ApplyButton()->setEnabled(false);
    });
    connect(CancelButton(), &QPushButton::clicked, this, [this] { m_context.Rom.CancelScreens(); });
}

} // namespace tessaron
