// Corvandelle's main form: start-up, menu, launches, commands, the LED-window
// flag, configuration and exit, with the simulated keypads and recording fakes.
#include "ShellFixture.h"

#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/shell/Activity.h"

#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace tessaron::test {
namespace {

using Strings = std::vector<std::string>;

// ---- Start-up -------------------------------------------------------------

struct StartCase
{
    const char* name;
    std::function<void(ShellTest&)> setUp;
    int retryAnswer; // the failure dialog's result, when it shows
    const char* tip;
    Strings dialogs;
    int secondWaits; // the retry's two waits of 1000 ms
    Strings errors;
    std::vector<int> exits;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.name;
}

class StartUpTest : public ShellTest, public ::testing::WithParamInterface<StartCase>
{
};

TEST_P(StartUpTest, BridgesOrSaysWhy)
{
    const StartCase& c = GetParam();
    c.setUp(*this);
    dialogs.SetResult(c.retryAnswer);
    start();
    EXPECT_EQ(tip().toStdString(), c.tip);
    Strings shown;
    for (const QString& name : dialogs.shown()) {
        shown.push_back(name.toStdString());
    }
    EXPECT_EQ(shown, c.dialogs);
    EXPECT_EQ(std::count(waits.begin(), waits.end(), 1000), c.secondWaits);
    EXPECT_EQ(errors(), c.errors);
    EXPECT_EQ(exitCodes, c.exits);
    EXPECT_EQ(item("mnuShowActivity")->isEnabled(), std::string(c.tip) == "Corvandelle (Running)");
    EXPECT_FALSE(portExists(4)); // a failed start leaves no port behind
}

const auto nothing = [](ShellTest&) {};
const auto absent = [](ShellTest& t) { t.remember({{"/dev/gone", 3}}); };
const auto portTaken = [](ShellTest& t) {
    t.remember({{"/dev/sim-1", 3}, {"/dev/gone", 4}});
    t.home.write("ports/COM3", "a file of the user's");
};
const auto noHid = [](ShellTest&) { ::setenv("TESSARON_HIDAPI", "/nonexistent/libhid.so", 1); };
const char* const kRunning = "Corvandelle (Running)";
const char* const kStopped = "Corvandelle (Stopped)";
const Strings kRetryDialog = {"FormVComFail"};
const Strings kNoUsb = {"Tessaron Pro|Could not start USB librairies!"};

INSTANTIATE_TEST_SUITE_P(
    Shell, StartUpTest,
    ::testing::Values(
        StartCase{"NoKeypads", nothing, 0, kRunning, {}, 0, {}, {}},
        StartCase{"AbsentRememberedKeypad", absent, 0, kRunning, {}, 0, {}, {}},
        StartCase{
            "PortTakenNoRetry", portTaken, QDialog::Rejected, kStopped, kRetryDialog, 0, {}, {}},
        StartCase{
            "PortTakenRetry", portTaken, QDialog::Accepted, kStopped, kRetryDialog, 2, {}, {}},
        StartCase{"NoHidLibrary", noHid, 0, kStopped, {}, 0, kNoUsb, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, RememberedKeypadIsBridgedAndConnectsWhenPluggedIn)
{
    remember({{"/dev/sim-1", 3}});
    start();
    EXPECT_TRUE(portExists(3));
    EXPECT_FALSE(slot(0).Flags & SlotOpen);
    const int id = fakehid_add_device(0x16C0, 0x0604, "/dev/sim-1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return (slot(0).Flags & SlotOpen) != 0; }, 10000));
    EXPECT_GT(fakehid_open_handles(id), 0);
}

TEST_F(ShellTest, TrayIconAndTipFollowTheBridgingState)
{
    start();
    // No icon files in the suite folder: the application's icon stays.
    EXPECT_FALSE(form().Tray().HasIcon(true));
    EXPECT_FALSE(form().Tray().CurrentIcon().isNull());

    const std::string pictures = TESSARON_SOURCE_DIR "/pictures/";
    std::filesystem::copy_file(pictures + "connected.ico", home.file("connected.ico"));
    std::filesystem::copy_file(pictures + "disconnected.ico", home.file("disconnected.ico"));
    form().Tray().LoadIcons();
    ASSERT_TRUE(form().Tray().HasIcon(true) && form().Tray().HasIcon(false));
    form().AppMessage('S', 't');
    EXPECT_EQ(tip(), "Corvandelle (Stopped)");
    const qint64 stopped = form().Tray().CurrentIcon().cacheKey();
    form().AppMessage('G', 'o');
    EXPECT_EQ(tip(), "Corvandelle (Running)");
    EXPECT_NE(form().Tray().CurrentIcon().cacheKey(), stopped);
}

// ---- Menu -----------------------------------------------------------------

TEST_F(ShellTest, MenuHoldsEveryItemInOrder)
{
    addProgram("Plindorax");
    start();
    Strings rows;
    for (QAction* a : form().IconTrayMenu().actions()) {
        rows.push_back(a->isSeparator()
                           ? "-"
                           : a->objectName().toStdString() + " " + a->text().toStdString() +
                                 (a->isEnabled() ? "" : " [off]") +
                                 (a->isVisible() ? "" : " [hidden]"));
    }
    EXPECT_EQ(
        rows,
        (Strings{"mnuAbout &About", "mnuHelp &PDF Manual", "-", "mnuConfig &Configure Tessarons",
                 "-", "mnuTestSerial Test Serial/Virtual Serial",
                 "mnuTestHID Test USB Keyboard (HID)", "mnuShowActivity Show Activity LEDs", "-",
                 "mnuResetSerialPorts &Reset Serial Ports [off] [hidden]",
                 "mnuPlindorax &Plindorax", "mnuTavrix &Tavrix", "-", "mnuExit E&xit"}));
}

TEST_F(ShellTest, PlindoraxMissingAtStartDisablesItsItem)
{
    start();
    EXPECT_FALSE(item("mnuPlindorax")->isEnabled());
    form().mnuPlindoraxClick();
    EXPECT_EQ(errors(), Strings{"Corvandelle Tools|ERROR: Could not find the file \"Plindorax\"."});
    EXPECT_TRUE(launches().empty());
}

struct LaunchCase
{
    const char* name;
    std::function<void(ShellTest&)> setUp;
    const char* item;
    bool launchesSucceed;
    Strings launches;
    Strings errors;
};

void PrintTo(const LaunchCase& c, std::ostream* os)
{
    *os << c.name;
}

class LaunchTest : public ShellTest, public ::testing::WithParamInterface<LaunchCase>
{
};

TEST_P(LaunchTest, StartsTheProgramOrSaysWhy)
{
    const LaunchCase& c = GetParam();
    c.setUp(*this);
    programs.SetSucceeds(c.launchesSucceed);
    item(c.item)->trigger();
    EXPECT_EQ(launches(), c.launches);
    EXPECT_EQ(errors(), c.errors);
}

// Slot 0: a USB keypad on port 3; slot 1: a serial keypad on COM12.
const auto twoKeypads = [](ShellTest& t) {
    t.addProgram("Qex");
    SetDevicePath(t.slot(0), "/dev/sim-1");
    t.slot(0).Flags = SlotPresent;
    t.slot(0).ComPort = 3;
    SetDevicePath(t.slot(1), "COM12");
    t.slot(1).Flags = SlotPresent | SlotRs232;
};
const auto portlessUsbKeypad = [](ShellTest& t) {
    t.addProgram("Qex");
    SetDevicePath(t.slot(2), "/dev/sim-3");
    t.slot(2).Flags = SlotPresent;
};
const char* const QexMissing = "ERROR: Could not find the file \"Qex\".";

INSTANTIATE_TEST_SUITE_P(
    Shell, LaunchTest,
    ::testing::Values(
        LaunchCase{"SerialTestOnePerKeypad",
                   twoKeypads,
                   "mnuTestSerial",
                   true,
                   {"Qex 3 50 50", "Qex 12 100 100"},
                   {}},
        LaunchCase{"SerialTestFailures",
                   twoKeypads,
                   "mnuTestSerial",
                   false,
                   {"Qex 3 50 50", "Qex 12 100 100"},
                   {std::string("Corvandelle Serial Test|") + QexMissing,
                    std::string("Corvandelle RS232 Test|") + QexMissing}},
        LaunchCase{"SerialTestWithoutPorts", portlessUsbKeypad, "mnuTestSerial", true, {"Qex"}, {}},
        LaunchCase{"SerialTestQexMissing",
                   [](ShellTest& t) {
                       t.slot(0).Flags = SlotPresent;
                       t.slot(0).ComPort = 3;
                   },
                   "mnuTestSerial",
                   true,
                   {"Qex"},
                   {std::string("Corvandelle Test|") + QexMissing}},
        LaunchCase{"KeyboardTest", [](ShellTest&) {}, "mnuTestHID", true, {"Ruskel"}, {}},
        LaunchCase{"KeyboardTestMissing",
                   [](ShellTest&) {},
                   "mnuTestHID",
                   false,
                   {"Ruskel"},
                   {"Corvandelle Ruskel|ERROR: Could not find the file \"Ruskel\"."}},
        LaunchCase{"Manual",
                   [](ShellTest& t) { t.home.write("Corvandelle.pdf", "%PDF"); },
                   "mnuHelp",
                   true,
                   {"Corvandelle.pdf"},
                   {}},
        LaunchCase{"ManualMissing",
                   [](ShellTest&) {},
                   "mnuHelp",
                   false,
                   {"Corvandelle.pdf"},
                   {"Corvandelle Help|ERROR: Could not find the file \"Corvandelle.pdf\"."}},
        LaunchCase{"Loader",
                   [](ShellTest& t) { t.addProgram("Tavrix"); },
                   "mnuTavrix",
                   false,
                   {"Tavrix"},
                   {}},
        LaunchCase{"LoaderMissing",
                   [](ShellTest&) {},
                   "mnuTavrix",
                   true,
                   {},
                   {"Corvandelle Tools|ERROR: Could not find the file \"Tavrix\"."}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Commands, LED window, configuration ------------------------------------

TEST_F(ShellTest, StopAndGoCarryTheLedWindowFlag)
{
    remember({{"/dev/gone", 3}});
    start();
    QAction* leds = item("mnuShowActivity");
    leds->trigger();
    EXPECT_TRUE(form().LedWindowFlag && leds->isChecked());
    EXPECT_TRUE(form().ActivityForm().isVisible());

    EXPECT_EQ(form().AppMessage('S', 't'), "ok");
    EXPECT_FALSE(form().ActivityForm().isVisible());
    EXPECT_FALSE(leds->isChecked() || leds->isEnabled());
    EXPECT_TRUE(form().LedWindowFlag);
    EXPECT_FALSE(portExists(3));
    EXPECT_EQ(tip(), "Corvandelle (Stopped)");
    EXPECT_EQ(form().AppMessage('S', 't'), "stopped"); // harmless, and said
    EXPECT_EQ(tip(), "Corvandelle (Stopped)");

    EXPECT_EQ(form().AppMessage('G', 'o'), "ok");
    EXPECT_TRUE(portExists(3));
    EXPECT_TRUE(leds->isEnabled());
    leds->trigger(); // the first click only clears the flag
    EXPECT_FALSE(form().LedWindowFlag);
    EXPECT_FALSE(form().ActivityForm().isVisible());
    leds->trigger();
    EXPECT_TRUE(form().ActivityForm().isVisible());
    // Go while bridging runs does nothing: the port is still the one a host may hold.
    const std::string link = home.file("ports/COM3");
    const std::filesystem::path terminal = std::filesystem::read_symlink(link);
    EXPECT_EQ(form().AppMessage('G', 'o'), "ok");
    EXPECT_EQ(std::filesystem::read_symlink(link), terminal);
    EXPECT_TRUE(form().ActivityForm().isVisible());

    EXPECT_EQ(form().AppMessage('X', 'y'), "ignored");
    EXPECT_EQ(form().AppMessage('s', 't'), "ignored");
    EXPECT_EQ(tip(), "Corvandelle (Running)");
}

TEST_F(ShellTest, ConfigureComesHalfASecondAfterCkWithBridgingStopped)
{
    remember({{"/dev/gone", 3}});
    start();
    item("mnuShowActivity")->trigger();
    Strings during;
    dialogs.SetWhileShown([&](QDialog& d) {
        during.push_back(d.objectName().toStdString() + (portExists(3) ? " bridging" : "") +
                         (form().ActivityForm().isVisible() ? " leds" : "") +
                         (item("mnuAbout")->isEnabled() || item("mnuConfig")->isEnabled() ||
                                  item("mnuTestHID")->isEnabled() ||
                                  item("mnuTestSerial")->isEnabled() ||
                                  item("mnuShowActivity")->isEnabled()
                              ? " items"
                              : ""));
        // Commands wait while the dialogs are open.
        EXPECT_EQ(form().AppMessage('G', 'o'), "busy");
        EXPECT_EQ(form().AppMessage('C', 'k'), "busy");
    });
    EXPECT_EQ(form().AppMessage('C', 'k'), "ok");
    EXPECT_TRUE(form().ConfigPopupTimer().isActive());
    EXPECT_EQ(form().ConfigPopupTimer().interval(), 500);
    EXPECT_TRUE(during.empty()); // not at once
    ASSERT_TRUE(QTest::qWaitFor([&] { return during.size() == 2; }, 10000));
    EXPECT_EQ(during, (Strings{"EnumerateForm", "ConfigForm"}));
    EXPECT_TRUE(portExists(3));
    EXPECT_TRUE(form().ActivityForm().isVisible());
    EXPECT_TRUE(item("mnuConfig")->isEnabled() && item("mnuShowActivity")->isChecked());
}

TEST_F(ShellTest, AboutDisablesAboutAndConfigureWhileShown)
{
    start();
    bool enabledWhileShown = true;
    dialogs.SetWhileShown([&](QDialog&) {
        enabledWhileShown = item("mnuAbout")->isEnabled() || item("mnuConfig")->isEnabled();
    });
    item("mnuAbout")->trigger();
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{QStringLiteral("AboutForm")});
    EXPECT_FALSE(enabledWhileShown);
    EXPECT_TRUE(item("mnuAbout")->isEnabled() && item("mnuConfig")->isEnabled());
}

// ---- Exit -------------------------------------------------------------------

TEST_F(ShellTest, ExitDeletesThePortsAndUnloadsHidapi)
{
    remember({{"/dev/sim-1", 3}});
    fakehid_add_device(0x16C0, 0x0604, "/dev/sim-1");
    start();
    ASSERT_TRUE(portExists(3));
    item("mnuExit")->trigger();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_FALSE(portExists(3));
    EXPECT_FALSE(form().Host().Ports().Hid.Loaded());
    EXPECT_FALSE(form().Tray().Window().isVisible());
    EXPECT_EQ(form().AppMessage('G', 'o'), "busy");
}

TEST_F(ShellTest, ExitDuringConfigurationDoesNotStartBridgingAgain)
{
    remember({{"/dev/gone", 3}});
    start();
    dialogs.SetWhileShown([&](QDialog&) { form().RequestExit(0); });
    form().mnuConfigClick();
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{QStringLiteral("EnumerateForm")});
    EXPECT_FALSE(portExists(3));
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

// ---- Without a notification area ----------------------------------------------

TEST_F(ShellTest, WithoutNotificationAreaTheMenuIsInAWindow)
{
    start(); // offscreen: there is none
    EXPECT_FALSE(form().Tray().InNotificationArea());
    TfrmTrayWindow& window = form().Tray().Window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(err.str(), "Corvandelle: there is no notification area; the menu is in the window "
                         "\"Corvandelle\".\n");
    window.findChild<QPushButton*>(QStringLiteral("btnMenu"))->click();
    EXPECT_TRUE(form().IconTrayMenu().isVisible());
    form().IconTrayMenu().hide();
    window.close(); // only minimised
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace tessaron::test
