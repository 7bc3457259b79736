#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// The suite folder: where both programs find their settings files, documents
// folders, sibling programs and ports/. It is, in order:
//   - the folder TESSARON_HOME names (tests point it at a temporary folder);
//   - the folder of the running executable when the user may write to it and it
//     is not part of an installed tree (a build, or a copy unpacked into a folder
//     of one's own);
//   - otherwise the per-user folder $XDG_DATA_HOME/tessaron
//     (~/.local/share/tessaron), made on first use with the sample documents
//     copied into its "Macro Files". Nothing is ever written into an installation.
// Read afresh on every call, so a test can change it.
std::string SuiteFolder();

// name relative to the suite folder, for example SuitePath("Plindorax.ini").
std::string SuitePath(std::string_view name);

// A file the suite ships read-only (icons, pictures, sample documents): in
// the suite folder, else next to the executable, else in <prefix>/share/tessaron
// of an installed tree. When none exists, the path in the suite folder, so that
// a message names the place it was looked for.
std::string SharedFilePath(std::string_view name);

// A sibling program (Tavrix, Wendrel, Qex, Ruskel, Plindorax, ...): one the user
// put into the suite folder wins, else the one next to the executable, else
// <prefix>/libexec/tessaron of an installed tree. When none is found, the path
// in the suite folder.
std::string SiblingProgramPath(std::string_view fileName);

// The three above for an executable in exeFolder instead of the running one
// (what they do for an installed or a portable copy, testable from a build).
std::string SuiteFolderFor(std::string_view exeFolder);
std::string SharedFilePathFor(std::string_view exeFolder, std::string_view name);
std::string SiblingProgramPathFor(std::string_view exeFolder, std::string_view fileName);

// The installation prefix when exeFolder is <prefix>/bin or
// <prefix>/libexec/tessaron of an installed tree (one with
// <prefix>/share/tessaron), "" otherwise (a build, a portable copy).
std::string InstallPrefixOf(std::string_view exeFolder);

// Full path of the running executable ("/proc/self/exe" resolved).
std::string OwnExecutablePath();

// The folder part of a path ("" for a bare name) and the file name without its folder.
std::string FolderOf(std::string_view path);
std::string FileNameOf(std::string_view path);

} // namespace tessaron
