#pragma once

#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"

namespace tessaron {

// The Advanced ROM Properties dialog, "Tessaron Advanced ROM Properties": the
// working copy of AdvancedParams. Created once, opened modally from the ROM
// Properties menu. Its pages are still to come; Apply commits the working copy
// and Cancel discards it.
class TfrmAdvanced : public TPropertyDialogFrame
{
    Q_OBJECT

public:
    TfrmAdvanced(const TDialogContext& context, QWidget* parent = nullptr);

    // After a ROM save: nothing is left to apply.
    void DisableOkAndApply();

private:
    TDialogContext m_context;
};

} // namespace tessaron
