#pragma once

#include "KeypadClass.h"

#include <string>

namespace tessaron {

// The redefinition file (.ckd) of USER mode: the key table and its
// parameters. The reader does nothing, and returns false, when no file exists
// at the path or when it may not be read (not a regular file, longer than
// MaxReadFileSize of common/AtomicFile.h, unreadable): refusal, when given,
// then says why ("" for a missing file). Malformed contents read as the
// defaults. The writer raises FileWriteError (common/FileWriteError.h) when
// the file cannot be written, and leaves an earlier file as it was.
bool ReadRedefinitionFile(TKeypadClass& keypad, const std::string& path,
                          std::string* refusal = nullptr);
void WriteRedefinitionFile(const TKeypadClass& keypad, const std::string& path);

} // namespace tessaron
