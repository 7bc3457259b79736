#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// Replaces the file at path by contents: the bytes go to a temporary file in the
// same folder, which is then renamed over the target, so a failure (unwritable
// folder, full disk) never leaves a damaged or half-written file behind. An
// existing file keeps its permission bits.
//
// Returns an empty string on success, otherwise the system's reason
// (strerror text) for the failure.
std::string WriteFileAtomically(const std::string& path, std::string_view contents);

// Reads a whole file. Returns false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

bool FileExists(const std::string& path);

} // namespace tessaron
