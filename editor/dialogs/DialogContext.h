#pragma once

#include "common/MessageBox.h"
#include "editor/model/AdvancedClass.h"
#include "editor/model/KeypadClass.h"

#include <functional>

namespace tessaron {

// What the property dialogs work on: the document's records, the message
// boxes, and what their Apply tells the main window once it has changed them.
struct TDialogContext
{
    TKeypadClass& Keypad;
    TRomRecords& Rom;
    MessageBox& Messages;
    std::function<void()> Applied;
};

} // namespace tessaron
