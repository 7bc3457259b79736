#include "Params.h"

namespace tessaron {

TfrmParameters::TfrmParameters(const TDialogContext& context, QWidget* parent)
    : TPropertyDialogFrame("frmParameters", QStringLiteral("Tessaron USER Properties"), parent),
      m_context(context)
{
}

} // namespace tessaron
