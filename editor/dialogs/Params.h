#pragma once

#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"

namespace tessaron {

// The USER-mode Parameters dialog, "Tessaron USER Properties": the global
// parameters of the key table. Created once, opened modally from the
// Properties tool button in USER mode. Its pages are still to come; for now it
// opens and closes without changing anything.
class TfrmParameters : public TPropertyDialogFrame
{
    Q_OBJECT

public:
    TfrmParameters(const TDialogContext& context, QWidget* parent = nullptr);

private:
    TDialogContext m_context;
};

} // namespace tessaron
