#pragma once

#include "common/MessageBox.h"

#include <QString>

namespace tessaron {

// While it lives, a suite folder that must not be used (see SuiteFolder) is
// reported on standard error and in an error box before the program ends with
// 1: a program started from the desktop has nobody reading its standard error.
class SuiteFolderRefusalBox
{
public:
    // box may be null: standard error only (as on the offscreen and minimal
    // platforms, where nobody could close a box).
    SuiteFolderRefusalBox(MessageBox* box, QString caption);
    ~SuiteFolderRefusalBox();
    SuiteFolderRefusalBox(const SuiteFolderRefusalBox&) = delete;
    SuiteFolderRefusalBox& operator=(const SuiteFolderRefusalBox&) = delete;
};

} // namespace tessaron
