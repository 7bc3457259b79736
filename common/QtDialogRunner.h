#pragma once

#include "common/DialogRunner.h"

namespace tessaron {

// QDialog::exec().
class QtDialogRunner : public DialogRunner
{
public:
    int Run(QDialog& dialog) override;
};

} // namespace tessaron
