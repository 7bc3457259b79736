#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaron {

// Replaces the file at path by contents so that a failure or a crash at any
// moment leaves either the old file or the new one, whole: the bytes go to a
// new temporary file in the same folder (made exclusively, close-on-exec), are
// synced to the disk, the temporary file is renamed over the target and the
// folder is synced, so the new name survives a power cut too. On any failure
// before the rename the old file stays as it was and the temporary file is
// removed. An existing file keeps its permission bits; a new one gets what
// open() would give it.
//
// Returns an empty string on success, otherwise the system's reason
// (strerror text) for the failure.
std::string WriteFileAtomically(const std::string& path, std::string_view contents);

// The system calls around the rename, replaceable so that a test can see
// their order and make one of them fail.
struct AtomicFileCalls
{
    int (*Fsync)(int fd);
    int (*Rename)(const char* from, const char* to);
};
// nullptr restores the system's own.
void SetAtomicFileCalls(const AtomicFileCalls* calls);

// The most that a document or settings file may hold: real ones are a few
// kilobytes, and a reader must never spend long on a hostile one.
inline constexpr std::size_t MaxReadFileSize = 1024 * 1024;

enum class FileRead
{
    Read,
    Missing, // nothing at the path
    TooLong, // longer than MaxReadFileSize
    Refused, // not a regular file, or unreadable
};

// The one reader of documents and settings files: reads a whole regular file of
// at most MaxReadFileSize bytes. Anything else (a FIFO, a device, a folder, a
// socket) is refused at once without waiting: it is looked at before it is
// opened, and opened without blocking. error names the path and the reason.
FileRead ReadRegularFile(const std::string& path, std::string& contents, std::string& error);

// ReadRegularFile without the reason: false when there is nothing to read.
bool ReadWholeFile(const std::string& path, std::string& contents);

bool FileExists(const std::string& path);

} // namespace tessaron
