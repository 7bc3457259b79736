#include "common/SingleInstanceLock.h"
#include "tests/support/TempHome.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using tessaron::SingleInstanceLock;
using tessaron::test::TempDir;
using Result = SingleInstanceLock::Result;

namespace {

// Points XDG_RUNTIME_DIR somewhere for the scope, restoring it afterwards.
class RuntimeDir
{
public:
    explicit RuntimeDir(const std::string& path)
    {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            m_had = true;
            m_old = old;
        }
        if (path.empty()) {
            ::unsetenv("XDG_RUNTIME_DIR");
        } else {
            ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
        }
    }
    ~RuntimeDir()
    {
        if (m_had) {
            ::setenv("XDG_RUNTIME_DIR", m_old.c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }

private:
    bool m_had = false;
    std::string m_old;
};

// Runs body in a child process and returns its exit status.
template <typename F>
int inChild(F body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0700);
    RuntimeDir runtime(dir.path());

    SingleInstanceLock first;
    ASSERT_EQ(first.acquire(), Result::Acquired) << first.error();
    EXPECT_EQ(first.path(), dir.path() + "/Corvandelle.lock");
    EXPECT_TRUE(first.held());

    SingleInstanceLock second;
    EXPECT_EQ(second.acquire(), Result::AlreadyHeld);
    EXPECT_FALSE(second.held());
    // Another process is refused as well.
    EXPECT_EQ(inChild([] {
                  SingleInstanceLock other;
                  return other.acquire() == Result::AlreadyHeld ? 0 : 1;
              }),
              0);

    first.release();
    EXPECT_EQ(second.acquire(), Result::Acquired);
    // A different name is a different lock.
    SingleInstanceLock plindorax("Plindorax");
    EXPECT_EQ(plindorax.acquire(), Result::Acquired);
}

TEST(SingleInstanceLock, AHolderThatDiesLeavesNoLockBehind)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0700);
    RuntimeDir runtime(dir.path());

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        SingleInstanceLock lock;
        const char c = lock.acquire() == Result::Acquired ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    SingleInstanceLock mine;
    EXPECT_EQ(mine.acquire(), Result::AlreadyHeld);

    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(mine.acquire(), Result::Acquired);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SingleInstanceLock, RuntimeFolderOthersCanWriteIsNotUsed)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    RuntimeDir runtime(dir.path());

    const std::string name = "tessaron-lock-test-" + std::to_string(::getpid());
    SingleInstanceLock lock(name);
    ASSERT_EQ(lock.acquire(), Result::Acquired) << lock.error();
    const std::string fallback = "/tmp/tessaron-" + std::to_string(::getuid());
    EXPECT_EQ(lock.path(), fallback + "/" + name + ".lock");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    lock.release();
    ::unlink(lock.path().c_str());
}

TEST(SingleInstanceLock, NoRuntimeFolderFallsBackToTmp)
{
    RuntimeDir runtime("");
    std::string error;
    EXPECT_EQ(SingleInstanceLock::lockFolder(error), "/tmp/tessaron-" + std::to_string(::getuid()));
    EXPECT_EQ(error, "");
}
