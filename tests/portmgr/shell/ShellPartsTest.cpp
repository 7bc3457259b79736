// The shell's parts on their own: the LED window under the activity monitor,
// the failure dialog, About, the command channel, the stop signals, and the
// pump on Qt's event loop.
#include "ShellFixture.h"

#include "common/SuiteFolder.h"
#include "portmgr/bridge/CommandSocket.h"
#include "portmgr/bridge/TActivityMonitor.h"
#include "portmgr/bridge/TSlotActivityState.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/shell/About.h"
#include "portmgr/shell/Activity.h"
#include "portmgr/shell/CommandServer.h"
#include "portmgr/shell/FormVComFail.h"
#include "portmgr/shell/StopSignals.h"
#include "portmgr/shell/TrayIcon.h"
#include "tests/support/PtyHost.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <future>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <tuple>
#include <unistd.h>

namespace tessaron::test {
namespace {

using Strings = std::vector<std::string>;

// ---- LED window -------------------------------------------------------------

TEST(ActivityWindowTest, ShowsWhatTheMonitorDecides)
{
    TfrmActivity window;
    TPortManager pm;
    pm.KeypadSlots[0].Flags = SlotPresent | SlotOpen;
    pm.UsbConnected[0] = true;
    TSlotActivityState slotState(pm);
    TActivityMonitor monitor(window, slotState);
    window.TmrActivityTimer = [&] { monitor.TmrActivityTimer(); };
    const auto led = [&](const char* name) {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->pixmap().toImage();
    };
    const QImage dark = TfrmActivity::LedPicture(false).toImage();
    const QImage lit = TfrmActivity::LedPicture(true).toImage();

    monitor.ShowLeds();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.pos(), QPoint(screen.width() - 240, screen.height() - 202));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowFlags() & Qt::Tool); // no taskbar button
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("lblKeypad1"))->isEnabled());
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("lblKeypad2"))->isEnabled());
    EXPECT_TRUE(window.findChild<QCheckBox*>(QStringLiteral("cboxUsbID1"))->isEnabled());

    monitor.FlashUsbRx(0);
    monitor.FlashComTx(0);
    EXPECT_EQ(led("imgUsbRx0"), lit);
    EXPECT_EQ(led("imgComTx0"), lit);
    EXPECT_EQ(led("imgUsbTx0"), dark);
    // The window's own 100 ms timer darkens them within two ticks and sets the id box.
    ASSERT_TRUE(QTest::qWaitFor([&] { return led("imgUsbRx0") == dark; }, 5000));
    EXPECT_EQ(led("imgComTx0"), dark);
    EXPECT_TRUE(window.findChild<QCheckBox*>(QStringLiteral("cboxUsbID1"))->isChecked());

    // The id boxes only show; a click changes nothing.
    auto* comId = window.findChild<QCheckBox*>(QStringLiteral("cboxComID1"));
    QTest::mouseClick(comId, Qt::LeftButton);
    EXPECT_FALSE(comId->isChecked());
    monitor.HideLeds();
    EXPECT_FALSE(window.isVisible());
}

// ---- Tray -------------------------------------------------------------------------

// Counts the times a widget is shown and hidden.
class ShowCounter : public QObject
{
public:
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        shows += e->type() == QEvent::Show;
        hides += e->type() == QEvent::Hide;
        return false;
    }
};

// The watch moves the menu into a notification area that appears and back into
// its window when the area goes; a look that finds what it found before
// changes nothing. No notification area is said once.
TEST(TrayIconTest, TheWatchMovesTheMenuOnlyWhenTheAreaComesOrGoes)
{
    QMenu menu;
    std::ostringstream err;
    TTrayIcon tray(menu, err, false);
    bool available = false;
    tray.TrayAvailable = [&] { return available; };
    ShowCounter window;
    tray.Window().installEventFilter(&window);
    tray.AddTrayIcon();
    struct Step
    {
        bool available;
        bool inTray;
        int shows; // of the window, so far
        int hides;
    };
    const Step steps[] = {
        {false, false, 1, 0}, {true, true, 1, 1},   {true, true, 1, 1},
        {false, false, 2, 1}, {false, false, 2, 1}, {true, true, 2, 2},
    };
    for (const Step& s : steps) {
        available = s.available;
        tray.CheckTray();
        EXPECT_EQ(tray.InNotificationArea(), s.inTray);
        EXPECT_EQ(tray.Window().isVisible(), !s.inTray);
        EXPECT_EQ(window.shows, s.shows);
        EXPECT_EQ(window.hides, s.hides);
    }
    const std::string told = err.str();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
}

// ---- Failure dialog and About ------------------------------------------------

TEST_F(ShellTest, FailureDialogExplainsAndAsks)
{
    TFormVComFail dialog(form().Host().Ports(), messages);
    EXPECT_EQ(dialog.windowTitle(), "Corvandelle Virtual COM Port Error");
    EXPECT_EQ(
        dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().split('\n'),
        (QStringList{"Corvandelle was unable to create one or more of your Virtual  COM Ports.  ",
                     "Select \"Yes\" to try again.  ", "",
                     "If you select \"No\",  you may have to manually open and close \"Configure ",
                     "Tessarons\"  from the system tray before you can use your Tessaron(s).", "",
                     "Try again?"}));
    auto* why = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_TRUE(why->text().contains("Why is this happening?"));
    emit why->linkActivated(QStringLiteral("#why"));
    ASSERT_EQ(messages.informations().size(), 1u);
    EXPECT_EQ(messages.shown()[0].caption, "Corvandelle Help");
    EXPECT_EQ(messages.informations()[0], "This normally happens because the computer is slow on "
                                          "\nboot-up and is not ready in time for Corvandelle.");

    auto* hidden = dialog.findChild<QCheckBox*>(QStringLiteral("cboxVSPortFail"));
    EXPECT_FALSE(hidden->isVisibleTo(&dialog));
    hidden->click();
    EXPECT_NE(home.read("Corvandelle.ini").find("RetryOnVComFail=0"), std::string::npos);

    for (const auto& [button, result] : {std::pair{"BitBtn2", int(QDialog::Accepted)},
                                         std::pair{"BitBtn1", int(QDialog::Rejected)}}) {
        dialog.show();
        dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        EXPECT_EQ(dialog.result(), result) << button;
    }
}

TEST_F(ShellTest, AboutShowsTheVersionsOfTheFilesAndItsFrames)
{
    std::filesystem::copy_file(OwnExecutablePath(), home.file("Tavrix")); // carries a marker
    home.write("Plindorax", "no marker here");
    TAboutForm about;
    EXPECT_EQ(about.windowTitle(), "About Halvorsten Corvandelle");
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    about.show();
    const auto text = [&](const char* name) {
        return about.findChild<QLabel*>(QString::fromLatin1(name))->text().toStdString();
    };
    EXPECT_EQ(text("lblTavrixVersion"), "6.0.0.0");
    EXPECT_EQ(text("lblPlindoraxVer"), "0.0.0.0");
    EXPECT_EQ(text("lblVSPortVersion"), "6.0.0.0");
    EXPECT_EQ(text("lblVersion"), "Version 6.00");
    const QImage shot = about.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(0, 10)), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(1, 10)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 2, 10)), QColor(Qt::black));
    about.findChild<QPushButton*>(QStringLiteral("OK"))->click();
    EXPECT_FALSE(about.isVisible());
}

// ---- Command channel ----------------------------------------------------------

// Sends a pair as `Corvandelle --command` does, while the event loop runs.
int send(const char* pair, std::string& message)
{
    auto result = std::async(std::launch::async, [&] { return SendCommand(pair, message); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    return result.get();
}

TEST_F(ShellTest, CommandsTravelThroughTheUsersPrivateSocket)
{
    std::string message;
    EXPECT_EQ(send("St", message), 1);
    EXPECT_EQ(message, "Neither Corvandelle nor tessaron bridge is running.");

    std::string error;
    const std::string path = CommandSocketPath(error);
    ASSERT_FALSE(path.empty()) << error;
    struct stat st;
    ASSERT_EQ(::stat(runtime.file("corvandelle").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    Strings received;
    TCommandServer server([&](char a, char b) {
        received.push_back({a, b});
        return QByteArray(a == 'S' ? "ok" : "busy");
    });
    ASSERT_TRUE(server.Listen(QString::fromStdString(path))) << server.ErrorString().toStdString();
    EXPECT_EQ(send("St", message), 0);
    EXPECT_EQ(send("Ck", message), 1);
    EXPECT_EQ(message, "Corvandelle is busy with its configuration dialog; try again when it is "
                       "closed.");
    EXPECT_EQ(received, (Strings{"St", "Ck"}));

    // A run that died leaves its socket behind: nobody listens there, so
    // Corvandelle is not running; the next run takes the place.
    server.Close();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    EXPECT_EQ(send("Go", message), 1);
    EXPECT_EQ(message, "Neither Corvandelle nor tessaron bridge is running.");
    TCommandServer next([](char, char) { return QByteArray("ok"); });
    EXPECT_TRUE(next.Listen(QString::fromStdString(path)));
    EXPECT_EQ(send("Go", message), 0);
}

// The channel is used only in a folder of the user's that others cannot even
// look into.
TEST_F(ShellTest, CommandSocketRefusesFoldersOpenToOthers)
{
    const std::string channel = runtime.file("corvandelle");
    for (const auto& [runtimeMode, channelMode, refusal] :
         {std::tuple{0777, 0700, "is not a private folder of yours"},
          std::tuple{0700, 0750, "corvandelle is not a private folder of this user"},
          std::tuple{0700, 0701, "corvandelle is not a private folder of this user"}}) {
        ASSERT_TRUE(::mkdir(channel.c_str(), 0700) == 0 || errno == EEXIST);
        ASSERT_EQ(::chmod(channel.c_str(), channelMode), 0);
        ASSERT_EQ(::chmod(runtime.path().c_str(), runtimeMode), 0);
        std::string error;
        EXPECT_EQ(CommandSocketPath(error), "") << refusal;
        EXPECT_NE(error.find(refusal), std::string::npos) << error;
        std::string message;
        EXPECT_EQ(SendCommand("St", message), 1);
        EXPECT_EQ(message, "Corvandelle: " + error);
        ::chmod(runtime.path().c_str(), 0700);
    }
}

TEST(StopSignalsTest, SignalsArriveAsEvents)
{
    ASSERT_TRUE(TStopSignals::Install());
    TStopSignals stop;
    QSignalSpy spy(&stop, &TStopSignals::Stop);
    for (int number : {SIGHUP, SIGTERM, SIGINT}) {
        ::raise(number);
        ASSERT_TRUE(spy.wait(2000)) << number;
        EXPECT_EQ(spy.takeFirst().at(0).toInt(), number);
    }
}

// ---- The pump on Qt's event loop ------------------------------------------------

TEST_F(ShellTest, PumpOnQtsLoopMovesBytesBothWays)
{
    remember({{"/dev/sim-1", 3}});
    const int id = fakehid_add_device(0x16C0, 0x0604, "/dev/sim-1");
    start();
    PtyHost host(home.file("ports/COM3"));
    ASSERT_TRUE(host.isOpen());
    std::string got;
    const auto receive = [&](size_t n) {
        return QTest::qWaitFor(
            [&] {
                got += host.read(n - got.size(), 5); // a read of 1 ms may not even poll
                return got.size() >= n;
            },
            10000);
    };
    // Twenty bytes: more than one tick takes.
    const std::string typed = "abcdefghijklmnopqrst";
    fakehid_type(id, reinterpret_cast<const unsigned char*>(typed.data()), typed.size());
    ASSERT_TRUE(receive(typed.size()));
    EXPECT_EQ(got, typed);

    // Host bytes written at once reach the keypad as one report.
    const int before = fakehid_output_count(id);
    ASSERT_TRUE(host.write("xy"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakehid_output_count(id) > before; }, 10000));
    unsigned char report[64] = {};
    ASSERT_GT(fakehid_output(id, before, report, sizeof report), 4);
    EXPECT_EQ(report[1], 2);
    EXPECT_EQ(report[2], 'x');
    EXPECT_EQ(report[3], 'y');
}

} // namespace
} // namespace tessaron::test
