#include "ConsoleDialogRunner.h"

#include <QDialog>

namespace tessaron {

int TConsoleDialogRunner::Run(QDialog& dialog)
{
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (dialog.isVisible()) {
        dialog.reject();
    }
    return dialog.result();
}

} // namespace tessaron
