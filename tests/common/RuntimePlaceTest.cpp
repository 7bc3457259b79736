// Where the locks and the command socket live: chosen from the user id, a
// /run/user and the home folder, and refused, with what to do, when not private.
#include "common/RuntimePlace.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaron {
namespace {

namespace fs = std::filesystem;

constexpr uid_t OtherUser = 4242;

void MakeFolder(const std::string& path, mode_t mode, uid_t owner = ::getuid())
{
    fs::create_directories(path);
    ::chmod(path.c_str(), mode);
    if (owner != ::getuid()) {
        ASSERT_EQ(::lchown(path.c_str(), owner, static_cast<gid_t>(-1)), 0);
    }
}

TEST(RuntimePlace, ChosenByUserIdAndRefusedWhenNotPrivate)
{
    const uid_t me = ::getuid();
    test::TempDir dir;
    // run stands for /run/user, home for the home folder of the password database.
    const std::string run = dir.path() + "/run";
    const std::string mine = run + "/" + std::to_string(me);
    const std::string home = dir.path() + "/home";
    const std::string state = home + "/.local/state";
    const std::string inHome = state + "/tessaron";
    const std::string elsewhere = dir.path() + "/elsewhere";
    struct Case
    {
        const char* name;
        bool otherOwner; // needs root, to give a file to another user
        std::function<void()> setUp;
        std::string home;
        std::string folder; // "" when refused
        std::string error;  // a part of the refusal, with the path it names
    };
    const Case cases[] = {
        {"a session's runtime folder", false, [&] { MakeFolder(mine, 0700); }, home,
         mine + "/tessaron", ""},
        {"a runtime folder others may read", false, [&] { MakeFolder(mine, 0755); }, home, inHome,
         ""},
        {"another user's runtime folder", true, [&] { MakeFolder(mine, 0700, OtherUser); }, home,
         inHome, ""},
        {"a runtime folder that is a link", false,
         [&] {
             MakeFolder(elsewhere, 0700);
             fs::create_directory_symlink(elsewhere, mine);
         },
         home, inHome, ""},
        {"no runtime folder: made in the home folder", false, [] {}, home, inHome, ""},
        {"another user's folder in the runtime folder", true,
         [&] {
             MakeFolder(mine, 0700);
             MakeFolder(mine + "/tessaron", 0700, OtherUser);
         },
         home, "", mine + "/tessaron is not a private folder of yours: it belongs to another user"},
        {"a file in its place", false,
         [&] {
             MakeFolder(state, 0700);
             test::WriteFile(inHome, "");
         },
         home, "", inHome + " is not a private folder of yours: it is not a folder. Move it away"},
        {"a link in its place", false,
         [&] {
             MakeFolder(state, 0700);
             MakeFolder(elsewhere, 0700);
             fs::create_directory_symlink(elsewhere, inHome);
         },
         home, "", inHome + " is not a private folder of yours: it is a symbolic link"},
        {"another user's folder", true, [&] { MakeFolder(inHome, 0700, OtherUser); }, home, "",
         inHome + " is not a private folder of yours: it belongs to another user (user id 4242)"},
        {"a folder the group may write to", false, [&] { MakeFolder(inHome, 0770); }, home, "",
         "other users may write to it (mode 0770). Make it private: chmod 700 '" + inHome + "'"},
        {"a home folder that does not exist", false, [] {}, dir.path() + "/gone", "",
         "Unable to create " + dir.path() + "/gone/.local: No such file or directory"},
        {"no home folder at all", false, [] {}, "", "", "has no home folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherOwner && me != 0) {
            continue; // only root can give a folder to another user
        }
        fs::remove_all(run);
        fs::remove_all(home);
        fs::remove_all(elsewhere);
        MakeFolder(run, 0755);
        MakeFolder(home, 0700);
        c.setUp();

        const RuntimePlace place = RuntimePlace::Choose(me, run, c.home);
        EXPECT_EQ(place.folder(), c.folder);
        EXPECT_EQ(place.usable(), !c.folder.empty());
        if (c.folder.empty()) {
            EXPECT_NE(place.error().find(c.error), std::string::npos) << place.error();
            continue;
        }
        EXPECT_EQ(place.error(), "");
        EXPECT_EQ(place.inLoginRuntime(), c.folder.rfind(run, 0) == 0);
        struct stat st
        {
        };
        ASSERT_EQ(::lstat(c.folder.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_EQ(st.st_uid, me);
        if (c.folder == inHome) {
            ASSERT_EQ(::stat((home + "/.local").c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0700u) << "parents made for the user are private";
        }
    }
}

} // namespace
} // namespace tessaron
