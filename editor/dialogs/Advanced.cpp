#include "Advanced.h"

#include <QPushButton>

namespace tessaron {

TfrmAdvanced::TfrmAdvanced(const TDialogContext& context, QWidget* parent)
    : TPropertyDialogFrame("frmAdvanced", QStringLiteral("Tessaron Advanced ROM Properties"),
                           parent),
      m_context(context)
{
    connect(ApplyButton(), &QPushButton::clicked, this, [this] {
        m_context.Rom.ApplyAdvanced();
        setWindowTitle(QStringLiteral("Tessaron Advanced ROM Properties"));
        m_context.SetModified(true);
        ApplyButton()->setEnabled(false);
    });
    connect(CancelButton(), &QPushButton::clicked, this,
            [this] { m_context.Rom.CancelAdvanced(); });
}

void TfrmAdvanced::DisableOkAndApply()
{
    OkButton()->setEnabled(false);
    ApplyButton()->setEnabled(false);
}

} // namespace tessaron
