#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tessaron {

// The suite folder: where both programs find their settings files, documents
// folders, sibling programs and ports/. It is, in order:
//   - the folder TESSARON_HOME names (tests point it at a temporary folder);
//   - the folder of the running executable when it is a private folder of the
//     user (owned by the user, writable by nobody else) and not part of an
//     installed tree (a build, or a copy unpacked into a folder of one's own);
//   - otherwise the per-user folder $XDG_DATA_HOME/tessaron
//     (~/.local/share/tessaron), made on first use (mode 0700) with the sample
//     documents copied into its "Macro Files". Nothing is ever written into an
//     installation.
// A TESSARON_HOME or a per-user folder that exists but is not private is
// refused: the refusal handler reports it and the program ends with 1. Every
// program resolves the folder through here, so none can miss the check.
// Read afresh on every call, so a test can change it.
std::string SuiteFolder();

// name relative to the suite folder, for example SuitePath("Plindorax.ini").
std::string SuitePath(std::string_view name);

// A file the suite ships read-only (icons, pictures, sample documents): in
// the suite folder, else next to the executable, else in
// <prefix>/share/tessaron of an installed tree; the last two only from a
// folder that nobody but the user or root may change. When none exists, the
// path in the suite folder, so that a message names the place it was looked for.
std::string SharedFilePath(std::string_view name);

// A sibling program (Tavrix, Wendrel, Qex, Ruskel, Plindorax, ...): one the
// user put into the suite folder wins, else the one next to the executable,
// else <prefix>/libexec/tessaron of an installed tree (the last two as above).
// When none is found, the path in the suite folder.
std::string SiblingProgramPath(std::string_view fileName);

// The three above for an executable in exeFolder instead of the running one
// (what they do for an installed or a portable copy, testable from a build).
std::string SuiteFolderFor(std::string_view exeFolder);
// The same without ending the program: "" with refusal set (what is wrong and
// what to do) for a folder that must not be used.
std::string SuiteFolderFor(std::string_view exeFolder, std::string& refusal);

// Reports a refused suite folder before the program ends with exit status 1.
// The default prints "<program>: <message>" on standard error; the programs
// with windows show an error box as well. An empty handler restores the default.
using SuiteFolderRefusalHandler = std::function<void(const std::string& message)>;
void SetSuiteFolderRefusalHandler(SuiteFolderRefusalHandler handler);
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
