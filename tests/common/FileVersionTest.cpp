#include "common/FileVersion.h"
#include "common/SuiteFolder.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

using namespace tessaron;

TEST(FileVersion, EveryExecutableCarriesTheReleaseVersion)
{
    EXPECT_EQ(OwnFileVersion(), "6.0.0.0");
    EXPECT_EQ(ReadFileVersion(OwnExecutablePath()), "6.0.0.0");
}

TEST(FileVersion, FilesWithoutAMarkerHaveNoVersion)
{
    test::TempDir dir;
    test::WriteFile(dir.file("plain"), "no marker here");
    // The tag alone, or followed by something that is not a version, is no marker.
    test::WriteFile(dir.file("tagonly"), std::string("TESSARON-FILE") + "VERSION=" + '\0' +
                                             "TESSARON-FILE" + "VERSION=1.2.x" + '\0');
    EXPECT_EQ(ReadFileVersion(dir.file("plain")), "");
    EXPECT_EQ(ReadFileVersion(dir.file("tagonly")), "");
    EXPECT_EQ(ReadFileVersion(dir.file("missing")), "");
    EXPECT_EQ(ReadFileVersion(dir.path()), "");
}

TEST(FileVersion, MarkerIsFoundAnywhereInAFile)
{
    const std::string bytes =
        std::string("junk\0\0", 6) + "TESSARON-FILE" + "VERSION=1.22.333.4" + '\0' + "more";
    EXPECT_EQ(FindVersionMarker(bytes), "1.22.333.4");
}

TEST(SuiteFolder, FollowsTessaronHome)
{
    {
        test::TempHome home;
        EXPECT_EQ(SuiteFolder(), home.path());
        EXPECT_EQ(SuitePath("ports/COM3"), home.path() + "/ports/COM3");
    }
    ::unsetenv("TESSARON_HOME");
    EXPECT_EQ(SuiteFolder(), FolderOf(OwnExecutablePath()));
}

TEST(SuiteFolder, PathParts)
{
    EXPECT_EQ(FolderOf("/a/b/c.ckd"), "/a/b");
    EXPECT_EQ(FolderOf("c.ckd"), "");
    EXPECT_EQ(FolderOf("/c.ckd"), "/");
    EXPECT_EQ(FileNameOf("/a/b/c.ckd"), "c.ckd");
    EXPECT_EQ(FileNameOf("c.ckd"), "c.ckd");
}
