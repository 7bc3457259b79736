#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaron {

namespace {

const AtomicFileCalls SystemCalls{::fsync, ::rename};
const AtomicFileCalls* g_calls = &SystemCalls;

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// A new file ".<name>.XXXXXX" beside the target. O_EXCL: never a file or link
// that someone put there; the mode goes through the umask as for any new file.
int createTemporary(const std::string& path, mode_t mode, std::string& temp)
{
    const std::string stem = folderOf(path) + "/." + baseOf(path) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[3] = {};
        if (::getrandom(random, sizeof random, 0) != sizeof random) {
            const unsigned value = static_cast<unsigned>(::getpid()) * 31u + attempt;
            std::memcpy(random, &value, sizeof random);
        }
        char suffix[7];
        std::snprintf(suffix, sizeof suffix, "%02x%02x%02x", random[0], random[1], random[2]);
        temp = stem + suffix;
        const int fd =
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

int retryingFsync(int fd)
{
    int r;
    do {
        r = g_calls->Fsync(fd);
    } while (r != 0 && errno == EINTR);
    return r;
}

} // namespace

void SetAtomicFileCalls(const AtomicFileCalls* calls)
{
    g_calls = calls != nullptr ? calls : &SystemCalls;
}

std::string WriteFileAtomically(const std::string& path, std::string_view contents)
{
    if (path.empty()) {
        return std::strerror(ENOENT);
    }
    struct stat existing
    {
    };
    const bool hadFile = ::stat(path.c_str(), &existing) == 0;
    if (hadFile && S_ISDIR(existing.st_mode)) {
        return std::strerror(EISDIR);
    }

    std::string temp;
    const int fd = createTemporary(path, hadFile ? 0600 : 0666, temp);
    if (fd < 0) {
        return std::strerror(errno);
    }
    int error = 0;
    if (!writeAll(fd, contents)) {
        error = errno;
    } else if (hadFile && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        error = errno;
    } else if (retryingFsync(fd) != 0) {
        // Without it a crash soon after the rename can leave an empty file
        // on file systems that do not order the rename after the data (XFS,
        // btrfs).
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && g_calls->Rename(temp.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return std::strerror(error);
    }
    // The new name is durable only once the folder is synced. Not every file
    // system can sync a folder (EINVAL): then the rename is as safe as it gets.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        if (retryingFsync(folder) != 0 && errno != EINVAL) {
            error = errno;
        }
        ::close(folder);
    }
    return error != 0 ? std::strerror(error) : std::string();
}

FileRead ReadRegularFile(const std::string& path, std::string& contents, std::string& error)
{
    contents.clear();
    error.clear();
    auto refuse = [&](const std::string& why, FileRead result = FileRead::Refused) {
        error = why;
        contents.clear();
        return result;
    };
    auto notRegular = [&](mode_t mode) {
        const char* kind = S_ISDIR(mode)                    ? "a folder"
                           : S_ISFIFO(mode)                 ? "a FIFO"
                           : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                           : S_ISSOCK(mode)                 ? "a socket"
                                                            : "not a file";
        return refuse(std::string("not a regular file (") + kind + ")");
    };
    auto tooLong = [&]() {
        return refuse("longer than the " + std::to_string(MaxReadFileSize) +
                          " bytes (1 MiB) that a document or settings file may hold",
                      FileRead::TooLong);
    };
    // Looked at first: opening a device can have effects of its own (a
    // serial port raises its modem lines).
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            return FileRead::Missing;
        }
        return refuse(std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        return notRegular(st.st_mode);
    }
    if (static_cast<unsigned long long>(st.st_size) > MaxReadFileSize) {
        return tooLong();
    }
    // O_NONBLOCK: should a FIFO have taken the file's place since, the open
    // does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? FileRead::Missing : refuse(std::strerror(errno));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return notRegular(st.st_mode);
    }
    contents.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int reason = errno;
            ::close(fd);
            return refuse(std::strerror(reason));
        }
        if (n == 0) {
            break;
        }
        contents.append(buffer, static_cast<size_t>(n));
        // A file that grows while it is read is held to the same limit.
        if (contents.size() > MaxReadFileSize) {
            ::close(fd);
            return tooLong();
        }
    }
    ::close(fd);
    return FileRead::Read;
}

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    std::string ignored;
    return ReadRegularFile(path, contents, ignored) == FileRead::Read;
}

bool FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

} // namespace tessaron
