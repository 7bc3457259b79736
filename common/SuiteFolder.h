#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// The suite folder: where both programs find their settings files, documents
// folders, sibling programs, icons, manual and ports/. It is the folder of the
// running executable, unless TESSARON_HOME names another one (tests point it at
// a temporary folder). Read afresh on every call, so a test can change it.
std::string SuiteFolder();

// name relative to the suite folder, for example SuitePath("Plindorax.ini").
std::string SuitePath(std::string_view name);

// A file the suite ships read-only (icons, pictures, sample documents): in
// the suite folder, else next to the executable, else in <prefix>/share/tessaron
// for an installed executable in <prefix>/bin. When none exists, the path in
// the suite folder, so that a message names the place it was looked for.
std::string SharedFilePath(std::string_view name);

// A sibling program (Tavrix, Wendrel, Qex, Ruskel, Plindorax, ...): one the user
// put into the suite folder wins, else the one next to the executable, else
// <prefix>/libexec/tessaron. When none is found, the path in the suite folder.
std::string SiblingProgramPath(std::string_view fileName);

// Full path of the running executable ("/proc/self/exe" resolved).
std::string OwnExecutablePath();

// The folder part of a path ("" for a bare name) and the file name without its folder.
std::string FolderOf(std::string_view path);
std::string FileNameOf(std::string_view path);

} // namespace tessaron
