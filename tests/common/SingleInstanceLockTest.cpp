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

// Sets an environment variable for the scope (unsets it for ""), restoring it afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
        if (value.empty()) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value.c_str(), 1);
        }
    }
    ~ScopedEnv()
    {
        if (m_had) {
            ::setenv(m_name, m_old.c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
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
    ScopedEnv lockDir("TESSARON_LOCK_DIR", dir.path());

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
    ScopedEnv lockDir("TESSARON_LOCK_DIR", dir.path());

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

// cron, su and services see another XDG_RUNTIME_DIR, or none: the lock is the same.
TEST(SingleInstanceLock, TheLockDependsOnlyOnTheUser)
{
    ScopedEnv lockDir("TESSARON_LOCK_DIR", "");
    TempDir runtimeA;
    TempDir runtimeB;
    ::chmod(runtimeA.path().c_str(), 0700);
    ::chmod(runtimeB.path().c_str(), 0700);
    const std::string name = "tessaron-lock-test-" + std::to_string(::getpid());
    const std::string folder = "/tmp/tessaron-" + std::to_string(::getuid());

    ScopedEnv runtime("XDG_RUNTIME_DIR", runtimeA.path());
    SingleInstanceLock lock(name);
    ASSERT_EQ(lock.acquire(), Result::Acquired) << lock.error();
    EXPECT_EQ(lock.path(), folder + "/" + name + ".lock");
    for (const std::string& other : {runtimeB.path(), std::string()}) {
        EXPECT_EQ(inChild([&] {
                      ScopedEnv elsewhere("XDG_RUNTIME_DIR", other);
                      SingleInstanceLock second(name);
                      return second.acquire() == Result::AlreadyHeld ? 0 : 1;
                  }),
                  0)
            << "XDG_RUNTIME_DIR=" << other;
    }
    struct stat st
    {
    };
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    lock.release();
    ::unlink(lock.path().c_str());
}

TEST(SingleInstanceLock, AFolderOthersCanWriteIsRefused)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    ScopedEnv lockDir("TESSARON_LOCK_DIR", dir.path());
    SingleInstanceLock lock;
    EXPECT_EQ(lock.acquire(), Result::Failed);
    EXPECT_NE(lock.error().find("not a private folder"), std::string::npos) << lock.error();
}
