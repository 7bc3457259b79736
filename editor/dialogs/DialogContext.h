#pragma once

#include "common/MessageBox.h"
#include "editor/model/AdvancedClass.h"
#include "editor/model/KeypadClass.h"

#include <functional>

namespace tessaron {

// What the property dialogs work on: the document's records, the message
// boxes, and the main window's SetModified, which their Apply calls.
struct TDialogContext
{
    TKeypadClass& Keypad;
    TRomRecords& Rom;
    MessageBox& Messages;
    std::function<void(bool)> SetModified;
};

} // namespace tessaron
