#include "QtDialogRunner.h"

#include <QDialog>

namespace tessaron {

int QtDialogRunner::Run(QDialog& dialog)
{
    return dialog.exec();
}

} // namespace tessaron
