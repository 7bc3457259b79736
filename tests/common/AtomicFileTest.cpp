// Saves that survive a crash: the data reaches the disk before the new name
// does, and a failure at any step leaves the old file whole and no stray file.
#include "common/AtomicFile.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessaron {
namespace {

// What the writer did, in order, and which call is to fail.
std::vector<std::string> g_steps;
int g_failingFsync = 0; // 1: the file's, 2: the folder's
bool g_failRename = false;

int recordFsync(int fd)
{
    struct stat st
    {
    };
    ::fstat(fd, &st);
    // The bytes as the temporary file holds them when it is synced.
    char path[PATH_MAX] = {};
    (void)!::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
    const bool inherited = (::fcntl(fd, F_GETFD) & FD_CLOEXEC) == 0;
    g_steps.push_back(S_ISDIR(st.st_mode) ? std::string("sync folder")
                                          : "sync \"" + test::ReadFile(path) + "\"" +
                                                (inherited ? " (inherited)" : ""));
    if (g_failingFsync == (S_ISDIR(st.st_mode) ? 2 : 1)) {
        errno = EIO;
        return -1;
    }
    return ::fsync(fd);
}

int recordRename(const char* from, const char* to)
{
    g_steps.push_back("rename");
    if (g_failRename) {
        errno = EXDEV;
        return -1;
    }
    return ::rename(from, to);
}

TEST(AtomicFile, DataIsSyncedBeforeTheRenameAndFailuresKeepTheOldFile)
{
    const AtomicFileCalls recording{recordFsync, recordRename};
    SetAtomicFileCalls(&recording);
    struct Case
    {
        const char* name;
        int failingFsync;
        bool failRename;
        std::vector<std::string> steps;
        std::string result;
        std::string after;
    };
    const Case cases[] = {
        {"saved", 0, false, {"sync \"new\"", "rename", "sync folder"}, "", "new"},
        {"the data cannot be synced", 1, false, {"sync \"new\""}, std::strerror(EIO), "old"},
        {"the rename fails", 0, true, {"sync \"new\"", "rename"}, std::strerror(EXDEV), "old"},
        {"the folder cannot be synced",
         2,
         false,
         {"sync \"new\"", "rename", "sync folder"},
         std::strerror(EIO),
         "new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.file("keys.ckd");
        test::WriteFile(path, "old");
        ::chmod(path.c_str(), 0640);
        g_steps.clear();
        g_failingFsync = c.failingFsync;
        g_failRename = c.failRename;

        EXPECT_EQ(WriteFileAtomically(path, "new"), c.result);
        EXPECT_EQ(g_steps, c.steps);
        EXPECT_EQ(test::ReadFile(path), c.after);
        struct stat st
        {
        };
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << "the file keeps its permission bits";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
            << "no temporary file is left behind";
    }
    SetAtomicFileCalls(nullptr);
}

} // namespace
} // namespace tessaron
