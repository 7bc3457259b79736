#include "editor/model/LoaderSettings.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tessaron {
namespace {

using test::TempHome;

TEST(LoaderSettings, PathIsInTheSuiteFolder)
{
    TempHome home;
    EXPECT_EQ(LoaderSettingsPath(), home.file("Tavrix.ini"));
}

TEST(LoaderSettings, MissingFile)
{
    TempHome home;
    const TLoaderPortStatus status = ReadLoaderPortStatus(LoaderSettingsPath());
    EXPECT_EQ(status.ComPort, 0);
    EXPECT_EQ(status.ComType, "?");
    EXPECT_EQ(ReadTestComPort(LoaderSettingsPath()), 0);
    UpdateDownloadDelay(LoaderSettingsPath(), 10);
    EXPECT_FALSE(home.exists("Tavrix.ini"));
}

TEST(LoaderSettings, ReadsPortAndType)
{
    TempHome home;
    home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=3\r\nComType=U\r\n");
    TLoaderPortStatus status = ReadLoaderPortStatus(LoaderSettingsPath());
    EXPECT_EQ(status.ComPort, 3);
    EXPECT_EQ(status.ComType, "U");
    EXPECT_EQ(ReadTestComPort(LoaderSettingsPath()), 3);

    home.write("Tavrix.ini", "[Com Port Configuration]\nComPort=-1\nComType= r \n");
    status = ReadLoaderPortStatus(LoaderSettingsPath());
    EXPECT_EQ(status.ComPort, -1);
    EXPECT_EQ(status.ComType, "r");
    EXPECT_EQ(ReadTestComPort(LoaderSettingsPath()), -1);

    home.write("Tavrix.ini", "[Other]\nComPort=4\n");
    status = ReadLoaderPortStatus(LoaderSettingsPath());
    EXPECT_EQ(status.ComPort, 0);
    EXPECT_EQ(status.ComType, "?");
    EXPECT_EQ(ReadTestComPort(LoaderSettingsPath()), 0);
}

TEST(LoaderSettings, JunkPortIsNoPort)
{
    TempHome home;
    const std::string junk = "[Com Port Configuration]\nComPort=COM3\n";
    home.write("Tavrix.ini", junk);
    EXPECT_EQ(ReadLoaderPortStatus(LoaderSettingsPath()).ComPort, 0);
    UpdateDownloadDelay(LoaderSettingsPath(), 10);
    EXPECT_EQ(home.read("Tavrix.ini"), junk);
}

} // namespace
} // namespace tessaron
