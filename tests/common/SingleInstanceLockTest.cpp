#include "common/SingleInstanceLock.h"
#include "tests/support/OtherUser.h"
#include "tests/support/TempHome.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using tessaron::SingleInstanceLock;
using tessaron::test::OtherUser;
using tessaron::test::ScopedEnv;
using tessaron::test::TempDir;
using Result = SingleInstanceLock::Result;

namespace {

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

// In a child process: becomes user with the environment of a cron job or su
// (TESSARON_LOCK_DIR unset, HOME and XDG_RUNTIME_DIR elsewhere) and tries the
// lock; 0 when acquired, 1 when held, 2 on failure. With holder, the child
// keeps the lock until killed and its pid is returned there at once.
int tryLock(const OtherUser& user, const std::string& env, pid_t* holder = nullptr)
{
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::unsetenv("TESSARON_LOCK_DIR");
        ::setenv("HOME", env.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", env.c_str(), 1);
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0) {
            ::_exit(3);
        }
        SingleInstanceLock lock;
        const Result r = lock.acquire();
        const char c = r == Result::Acquired ? 0 : r == Result::AlreadyHeld ? 1 : 2;
        (void)!::write(ready[1], &c, 1);
        if (r != Result::Acquired) {
            ::fprintf(stderr, "%s\n", lock.error().c_str());
        }
        if (holder != nullptr) {
            ::pause();
        }
        ::_exit(c);
    }
    char c = -1;
    (void)!::read(ready[0], &c, 1);
    ::close(ready[0]);
    ::close(ready[1]);
    if (holder != nullptr) {
        *holder = pid;
    } else {
        ::waitpid(pid, nullptr, 0);
    }
    return c;
}

// cron, su and services see another HOME and XDG_RUNTIME_DIR, or none, and
// another user may have taken /tmp/tessaron-<uid>: the lock is the same, in
// the place the user id gives, and a copy in a session started later meets it.
TEST(SingleInstanceLock, TheLockDependsOnlyOnTheUser)
{
    OtherUser user;
    std::string why;
    if (!user.get(why)) {
        GTEST_SKIP() << why;
    }
    TempDir envA;
    TempDir envB;
    const std::string runtime = "/run/user/" + std::to_string(user.uid);
    const std::string squatted = "/tmp/tessaron-" + std::to_string(user.uid);
    for (const std::string& folder : {runtime, squatted, user.home + "/.local"}) {
        std::filesystem::remove_all(folder);
    }
    ASSERT_EQ(::mkdir(squatted.c_str(), 0777), 0); // another user's, open to all

    pid_t first = 0;
    ASSERT_EQ(tryLock(user, envA.path(), &first), 0);
    EXPECT_TRUE(std::filesystem::exists(user.home + "/.local/state/tessaron/Corvandelle.lock"));
    EXPECT_EQ(tryLock(user, envB.path()), 1) << "another environment, the same lock";
    EXPECT_TRUE(std::filesystem::is_empty(squatted));

    // The user logs in: the session's copies lock in /run/user/<uid> and
    // still meet the copy that started without a session.
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    ASSERT_EQ(::chown(runtime.c_str(), user.uid, static_cast<gid_t>(-1)), 0);
    EXPECT_EQ(tryLock(user, envB.path()), 1);
    ::kill(first, SIGKILL);
    ::waitpid(first, nullptr, 0);
    EXPECT_EQ(tryLock(user, envB.path()), 0);
    EXPECT_TRUE(std::filesystem::exists(runtime + "/tessaron/Corvandelle.lock"));
    std::filesystem::remove_all(runtime);
    std::filesystem::remove_all(squatted);
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
