#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// Every executable built here carries a version marker (see VersionMarker.cpp),
// the stand-in for a Windows version resource.

// The version of the running program, "6.0.0.0" for this release.
std::string OwnFileVersion();

// The version marker of any file, "" when it carries none (or cannot be read).
std::string ReadFileVersion(const std::string& path);

// Finds a version marker in a block of bytes; "" when there is none.
std::string FindVersionMarker(std::string_view bytes);

} // namespace tessaron
