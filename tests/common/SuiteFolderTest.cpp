// Where the suite keeps its files for a build, a portable copy and an installed
// tree, with the per-user folder made on first use.
#include "common/SuiteFolder.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace tessaron {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::ScopedEnv;
using test::TempDir;
using test::WriteFile;

// Every path below root, to show that nothing was written there.
std::vector<std::string> Tree(const std::string& root)
{
    std::vector<std::string> paths;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        paths.push_back(e.path().string() + (e.is_directory() ? "/" : ""));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// An installed tree <root>/usr as the package lays it out, and a per-user data folder.
class SuiteFolderInstalled : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFile(prefix + "/bin/Plindorax", "program");
        WriteFile(prefix + "/share/tessaron/Macro Files/Sample.ckd", "[GLOBAL_PARAMETERS]\r\n");
        WriteFile(prefix + "/share/tessaron/connected.ico", "icon");
        WriteFile(prefix + "/libexec/tessaron/Tavrix", "#!/bin/sh\n");
        ::chmod((prefix + "/libexec/tessaron/Tavrix").c_str(), 0755);
        ::chmod((prefix + "/share/tessaron/Macro Files/Sample.ckd").c_str(), 0444);
    }

    TempDir root;
    const std::string prefix = root.path() + "/usr";
    const std::string data = root.path() + "/data";
    const std::string user = data + "/tessaron";
    ScopedEnv noHome{"TESSARON_HOME", std::nullopt};
    ScopedEnv xdg{"XDG_DATA_HOME", data};
};

TEST_F(SuiteFolderInstalled, StateGoesToThePerUserFolderWithTheSamples)
{
    const std::vector<std::string> installed = Tree(prefix);
    for (const std::string& exe : {prefix + "/bin", prefix + "/libexec/tessaron/"}) {
        SCOPED_TRACE(exe);
        EXPECT_EQ(InstallPrefixOf(exe), prefix);
        EXPECT_EQ(SuiteFolderFor(exe), user);
    }
    const std::string sample = user + "/Macro Files/Sample.ckd";
    EXPECT_EQ(ReadFile(sample), "[GLOBAL_PARAMETERS]\r\n");
    struct stat st;
    ASSERT_EQ(::stat(sample.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR) << "the copy is the user's to change";
    EXPECT_EQ(Tree(prefix), installed);
    EXPECT_EQ(Tree(data), (std::vector<std::string>{user + "/", user + "/Macro Files/", sample}));

    // Made once: what the user deletes later stays deleted.
    fs::remove(sample);
    EXPECT_EQ(SuiteFolderFor(prefix + "/bin"), user);
    EXPECT_FALSE(fs::exists(sample));
}

TEST_F(SuiteFolderInstalled, SharedFilesAndSiblingsAreFoundFromTheProgramsPlace)
{
    const std::string bin = prefix + "/bin";
    const std::string libexec = prefix + "/libexec/tessaron";
    EXPECT_EQ(SharedFilePathFor(bin, "connected.ico"), prefix + "/share/tessaron/connected.ico");
    EXPECT_EQ(SharedFilePathFor(libexec, "connected.ico"),
              prefix + "/share/tessaron/connected.ico");
    EXPECT_EQ(SiblingProgramPathFor(bin, "Tavrix"), libexec + "/Tavrix");
    EXPECT_EQ(SiblingProgramPathFor(libexec, "Tavrix"), libexec + "/Tavrix");
    EXPECT_EQ(SiblingProgramPathFor(libexec, "Plindorax"), user + "/Plindorax")
        << "a file that is not executable is no program";
    // Missing: the per-user folder's path, for the message.
    EXPECT_EQ(SiblingProgramPathFor(bin, "Qex"), user + "/Qex");

    // The user's own copies in the suite folder win.
    WriteFile(user + "/connected.ico", "mine");
    EXPECT_EQ(SharedFilePathFor(bin, "connected.ico"), user + "/connected.ico");

    // A moved tree is still found.
    fs::rename(prefix, root.path() + "/opt");
    EXPECT_EQ(SiblingProgramPathFor(root.path() + "/opt/bin", "Tavrix"),
              root.path() + "/opt/libexec/tessaron/Tavrix");
}

TEST_F(SuiteFolderInstalled, BuildsAndPortableCopiesKeepTheirOwnFolder)
{
    // A build's bin/ and a flat copy have no share/tessaron beside them.
    for (const std::string& exe : {root.path() + "/build/bin", root.path() + "/portable"}) {
        SCOPED_TRACE(exe);
        fs::create_directories(exe);
        EXPECT_EQ(InstallPrefixOf(exe), "");
        EXPECT_EQ(SuiteFolderFor(exe), exe);
    }
    EXPECT_EQ(InstallPrefixOf(prefix + "/sbin"), "");
    EXPECT_FALSE(fs::exists(data)) << "no per-user folder for a portable copy";

    // TESSARON_HOME wins over everything.
    ScopedEnv home("TESSARON_HOME", root.path() + "/home/");
    EXPECT_EQ(SuiteFolderFor(prefix + "/bin"), root.path() + "/home");
}

TEST_F(SuiteFolderInstalled, PerUserFolderFollowsXdgDataHome)
{
    const std::string home = root.path() + "/home";
    ScopedEnv homeEnv("HOME", home);
    struct Case
    {
        std::optional<std::string> xdg;
        std::string expected;
    };
    const Case cases[] = {
        {data + "/", user},
        {std::string("relative/data"), home + "/.local/share/tessaron"}, // ignored, as XDG says
        {std::string(""), home + "/.local/share/tessaron"},
        {std::nullopt, home + "/.local/share/tessaron"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdg.value_or("(unset)"));
        ScopedEnv xdgEnv("XDG_DATA_HOME", c.xdg);
        EXPECT_EQ(SuiteFolderFor(prefix + "/bin"), c.expected);
        EXPECT_TRUE(fs::exists(c.expected + "/Macro Files/Sample.ckd"));
    }
    struct stat st;
    ASSERT_EQ(::stat((home + "/.local").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "folders made for the user are private";
}

TEST_F(SuiteFolderInstalled, ProgramsStartingTogetherMakeOneCompleteFolder)
{
    std::vector<std::string> seen(6);
    std::vector<char> complete(6); // not vector<bool>: each thread writes its own element
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&, i] {
            seen[i] = SuiteFolderFor(prefix + "/bin");
            complete[i] = fs::exists(seen[i] + "/Macro Files/Sample.ckd");
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i], user);
        EXPECT_TRUE(complete[i]) << "a folder is seen only when it is complete";
    }
    EXPECT_EQ(Tree(data).front(), user + "/") << "no half-made copy is left behind";
    EXPECT_EQ(Tree(data).size(), 3u);
}

// A suite folder that others may change is never used: a TESSARON_HOME that is
// not private is refused, a shared copy's own folder gives way to the per-user
// folder, and nothing is taken from beside such a copy's programs.
TEST_F(SuiteFolderInstalled, OnlyPrivateFoldersAreUsed)
{
    const bool asRoot = ::getuid() == 0;
    const std::string named = root.path() + "/named";
    const std::string target = root.path() + "/target";
    struct Case
    {
        const char* name;
        bool needsRoot; // gives a file to another user
        std::function<void()> setUp;
        std::string expected; // "" when refused
        std::string refusal;
    };
    const std::string refused = "TESSARON_HOME: " + named + " is not a private folder of yours: ";
    const Case cases[] = {
        {"private", false, [&] { fs::create_directory(named); }, named, ""},
        {"not made yet", false, [] {}, named, ""},
        {"group-writable", false,
         [&] {
             fs::create_directory(named);
             ::chmod(named.c_str(), 0775);
         },
         "", refused + "other users may write to it (mode 0775)"},
        {"another user's", true,
         [&] {
             fs::create_directory(named);
             ASSERT_EQ(::chown(named.c_str(), 4242, 4242), 0);
         },
         "", refused + "it belongs to another user (user id 4242)"},
        {"a link to a folder open to all", false,
         [&] {
             fs::create_directory(target);
             ::chmod(target.c_str(), 0777);
             fs::create_directory_symlink(target, named);
         },
         "", refused + "other users may write to it (mode 0777)"},
        {"a link of one's own to a private folder", false,
         [&] {
             fs::create_directory(target);
             fs::create_directory_symlink(target, named);
         },
         named, ""},
        {"another user's link", true,
         [&] {
             fs::create_directory(target);
             fs::create_directory_symlink(target, named);
             ASSERT_EQ(::lchown(named.c_str(), 4242, 4242), 0);
         },
         "", refused + "it is a symbolic link of user id 4242"},
        {"a file", false, [&] { WriteFile(named, ""); }, "", refused + "it is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && !asRoot) {
            continue;
        }
        fs::remove_all(named);
        fs::remove_all(target);
        c.setUp();
        ScopedEnv home("TESSARON_HOME", named + "/");
        std::string refusal;
        EXPECT_EQ(SuiteFolderFor(prefix + "/bin", refusal), c.expected);
        EXPECT_EQ(refusal.rfind(c.refusal, 0), 0u) << refusal;
    }

    // A shared copy's folder: the per-user folder instead, and neither its
    // programs nor its pictures are taken.
    const std::string shared = root.path() + "/shared";
    WriteFile(shared + "/Qex", "#!/bin/sh\n");
    ::chmod((shared + "/Qex").c_str(), 0755);
    WriteFile(shared + "/connected.ico", "theirs");
    for (const mode_t mode : {0775, 0757}) {
        SCOPED_TRACE(mode);
        ::chmod(shared.c_str(), mode);
        EXPECT_EQ(SuiteFolderFor(shared), user);
        EXPECT_EQ(SiblingProgramPathFor(shared, "Qex"), user + "/Qex");
        EXPECT_EQ(SharedFilePathFor(shared, "connected.ico"), user + "/connected.ico");
    }
    ::chmod(shared.c_str(), 0755);
    EXPECT_EQ(SiblingProgramPathFor(shared, "Qex"), shared + "/Qex");

    // A per-user folder that others may write to is refused too.
    ::chmod(user.c_str(), 0777);
    std::string refusal;
    EXPECT_EQ(SuiteFolderFor(prefix + "/bin", refusal), "");
    EXPECT_NE(refusal.find("chmod go-w '" + user + "'"), std::string::npos) << refusal;
    // And where nobody asked for a handler, the program says so and ends.
    EXPECT_EXIT(SuiteFolderFor(prefix + "/bin"), ::testing::ExitedWithCode(1),
                "is not a private folder of yours: other users may write to it");
}

} // namespace
} // namespace tessaron
