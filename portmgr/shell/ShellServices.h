#pragma once

#include "common/DialogRunner.h"
#include "common/Launcher.h"
#include "common/MessageBox.h"

namespace tessaron {

// The platform's services that Corvandelle uses: the program passes the Qt
// implementations (or the console ones where nothing can be shown), tests
// their recording fakes.
struct TShellServices
{
    MessageBox& Messages;
    Launcher& Programs;
    DialogRunner& Dialogs;
};

} // namespace tessaron
