#pragma once

#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"

namespace tessaron {

// The ROM screen editor, "Tessaron ROM Screen Editor": the working copy of the
// eight LCD screens. Created once, opened modally from the ROM Properties
// menu. Its controls are still to come; Cancel discards the working copy.
class TfrmScreenEdit : public TPropertyDialogFrame
{
    Q_OBJECT

public:
    TfrmScreenEdit(const TDialogContext& context, QWidget* parent = nullptr);

private:
    TDialogContext m_context;
};

} // namespace tessaron
