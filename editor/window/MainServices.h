#pragma once

#include "common/DialogRunner.h"
#include "common/FileDialog.h"
#include "common/KeyboardState.h"
#include "common/Launcher.h"
#include "common/MessageBox.h"

namespace tessaron {

// The platform's services that the main window uses: the program passes the
// Qt implementations, tests their recording fakes.
struct TMainServices
{
    MessageBox& Messages;
    FileDialog& Files;
    Launcher& Programs;
    KeyboardState& Keyboard;
    DialogRunner& Dialogs;
};

} // namespace tessaron
