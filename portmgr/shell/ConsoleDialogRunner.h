#pragma once

#include "common/DialogRunner.h"

namespace tessaron {

// Modal dialogs where no window can be seen: the dialog is shown (so that what
// it does on showing happens) and closed again at once the way Escape closes
// it; nobody could ever answer it. The configuration dialog thereby labels the
// keypads and releases them, and the start-up retry is answered No.
class TConsoleDialogRunner : public DialogRunner
{
public:
    int Run(QDialog& dialog) override;
};

} // namespace tessaron
