// Tavrix's binding and core: "Tavrix.ini" as Wendrel writes it and the editor
// and the loader read it, the paced byte stream against a simulated keypad, the
// refusals that send nothing, and what the programs see behind each port.
#include "SiblingsTestSupport.h"

#include "common/FileWriteError.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/LoaderSettings.h"
#include "portmgr/io/TVirtualPort.h"
#include "siblings/core/DownloadImageFile.h"
#include "siblings/core/Loader.h"
#include "siblings/core/PortSurvey.h"
#include "siblings/core/TavrixSettings.h"
#include "siblings/core/TextProgress.h"
#include "tests/editor/model/ModelTestSupport.h"
#include "tests/fakes/FakeSerialKeypad.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <pty.h>
#include <thread>

namespace tessaron::test {
namespace {

using Clock = std::chrono::steady_clock;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(TavrixSettings, WhatWendrelRecordsIsWhatTheEditorAndTheLoaderRead)
{
    const TempDir dir;
    const std::string path = dir.file("Tavrix.ini");
    EXPECT_EQ(ReadTavrixSettings(path).ComPort, 0);
    EXPECT_EQ(ReadTavrixSettings(path).ComType, "?");

    WriteTavrixPort(path, 5, "R");
    EXPECT_EQ(ReadFile(path), "[Com Port Configuration]\r\nComPort=5\r\nComType=R\r\n");

    WriteFile(path, "; the loader's port\r\n[Com Port Configuration]\r\nComPort=2\r\n"
                    "DownloadDelay=7\r\n\r\n[Other]\r\nKey=1\r\n");
    WriteTavrixPort(path, 3, "U");
    const TLoaderPortStatus editor = ReadLoaderPortStatus(path);
    EXPECT_EQ(editor.ComPort, 3);
    EXPECT_EQ(editor.ComType, "U");
    EXPECT_EQ(ReadTavrixSettings(path).DownloadDelay, 7);
    EXPECT_TRUE(Contains(ReadFile(path), "; the loader's port\r\n"));
    EXPECT_TRUE(Contains(ReadFile(path), "[Other]\r\nKey=1\r\n"));
    // The editor's save now records its delay, as it does for a file that names a port.
    UpdateDownloadDelay(path, 12);
    EXPECT_EQ(ReadTavrixSettings(path).DownloadDelay, 12);

    // Keyboard: ComPort -1, the attachment stays; the editor then writes no delay.
    WriteTavrixPort(path, -1, std::nullopt);
    EXPECT_EQ(ReadTestComPort(path), -1);
    EXPECT_EQ(ReadLoaderPortStatus(path).ComType, "U");
    UpdateDownloadDelay(path, 50);
    EXPECT_EQ(ReadTavrixSettings(path).DownloadDelay, 12);

    for (const auto& [written, read] : std::vector<std::pair<std::string, int>>{
             {"-5", 0}, {"250", MaxDownloadDelay}, {"x", 0}, {"42", 42}}) {
        WriteFile(path,
                  "[Com Port Configuration]\r\nComPort=1\r\nDownloadDelay=" + written + "\r\n");
        EXPECT_EQ(ReadTavrixSettings(path).DownloadDelay, read) << written;
    }
    EXPECT_THROW(WriteTavrixPort(dir.file("no/such/folder/Tavrix.ini"), 3, "R"), FileWriteError);
}

// A pacer that notes, at each pause, how many bytes the other end has so far.
class RecordingPacer : public TPacer
{
public:
    explicit RecordingPacer(int master) : m_master(master) {}

    bool Pause(int ms) override
    {
        unsigned char buffer[64];
        ssize_t n;
        while ((n = ::read(m_master, buffer, sizeof buffer)) > 0) {
            received += static_cast<size_t>(n);
        }
        pauses.push_back({ms, received});
        if (onPause) {
            onPause(pauses.size());
        }
        return TPacer::Pause(0);
    }

    std::vector<std::pair<int, size_t>> pauses;
    size_t received = 0;
    std::function<void(size_t)> onPause;

private:
    int m_master;
};

TEST(PacedSender, OneByteThenThePauseAndAClearEndWhenStoppedOrBroken)
{
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};

    RecordingPacer pacer(master);
    const auto all = TPacedSender(slave, 9, pacer).Send(bytes, sizeof bytes);
    EXPECT_EQ(all.Status, TPacedSender::Result::Outcome::Sent);
    EXPECT_EQ(all.BytesSent, 8);
    ASSERT_EQ(pacer.pauses.size(), 8u);
    for (size_t i = 0; i < pacer.pauses.size(); ++i) {
        EXPECT_EQ(pacer.pauses[i], std::make_pair(9, i + 1)) << "pause " << i;
    }

    // A cancel in a pause stops the send; in the pause after the last byte
    // everything went out all the same.
    for (const auto& [pause, outcome] : {std::pair{3, TPacedSender::Result::Outcome::Cancelled},
                                         std::pair{8, TPacedSender::Result::Outcome::Sent}}) {
        RecordingPacer stopped(master);
        stopped.onPause = [&stopped, pause = pause](size_t n) {
            if (n == static_cast<size_t>(pause)) {
                stopped.Cancel();
            }
        };
        std::atomic<int> progress{0};
        const auto cancelled = TPacedSender(slave, 1, stopped).Send(bytes, sizeof bytes, &progress);
        EXPECT_EQ(cancelled.Status, outcome) << pause;
        EXPECT_EQ(cancelled.BytesSent, pause);
        EXPECT_EQ(progress.load(), pause);
    }

    // A cancel while the port takes nothing (its queue is full) is seen at once,
    // not after the port's time is up.
    ::fcntl(slave, F_SETFL, O_NONBLOCK);
    // Full when even a moment later, the kernel having moved what it could, it takes nothing.
    const std::uint8_t filler[256] = {};
    for (int refused = 0; refused < 3;) {
        refused = ::write(slave, filler, sizeof filler) > 0 ? 0 : refused + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(refused * 10));
    }
    TPacer full;
    std::thread canceller([&full] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        full.Cancel();
    });
    const auto stuck = TPacedSender(slave, 1, full).Send(bytes, sizeof bytes);
    canceller.join();
    EXPECT_EQ(stuck.Status, TPacedSender::Result::Outcome::Cancelled) << stuck.Error;
    EXPECT_EQ(stuck.BytesSent, 0);
    unsigned char drain[4096];
    while (::read(master, drain, sizeof drain) > 0) {
    }

    RecordingPacer broken(master);
    broken.onPause = [&master](size_t n) {
        if (n == 2) {
            ::close(master); // the device goes away
            master = -1;
        }
    };
    const auto failed = TPacedSender(slave, 1, broken).Send(bytes, sizeof bytes);
    EXPECT_EQ(failed.Status, TPacedSender::Result::Outcome::Failed);
    EXPECT_EQ(failed.BytesSent, 2);
    EXPECT_TRUE(Contains(failed.Error, "the port failed")) << failed.Error;
    ::close(slave);
}

class LoaderTest : public ::testing::Test
{
protected:
    LoaderTest()
    {
        SetMacro(document, 4, 0, "4142");
        imagePath = home.file("Macro Files/keys.hex");
        WriteFile(imagePath, "");
        WriteDownloadImage(document, imagePath, home.file("none.ini"));
        image = ReadDownloadImageFile(imagePath).Bytes;
    }

    void Settings(const std::string& lines)
    {
        home.write("Tavrix.ini", "[Com Port Configuration]\r\n" + lines);
    }

    TLoader::Outcome Prepare(const std::string& path)
    {
        return loader.Prepare(path, home.file("Tavrix.ini"));
    }

    TempHome home;
    TKeypadClass document;
    std::string imagePath;
    std::vector<std::uint8_t> image;
    TLoader loader;
};

TEST_F(LoaderTest, EveryRefusalSaysWhyAndSendsNothing)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    const std::string good = "ComPort=3\r\nComType=R\r\n";
    const std::string rom =
        home.write("shop.rom", "[GLOBAL_PARAMETERS]\r\n[ADVANCED_PARAMETERS]\r\n");
    const std::string ckd = home.write("keys.ckd", "[GLOBAL_PARAMETERS]\r\n[KEY0]\r\n");
    const std::string bad = home.write("bad.hex", "\"40\"\r\n\"01\"\r\n");
    ::symlink("/nonexistent/ttyUSB9", home.file("ports/COM5").c_str());
    home.write("ports/COM6", "not a device");
    pid_t dead = ::fork();
    if (dead == 0) {
        ::_exit(0);
    }
    ::waitpid(dead, nullptr, 0);
    ::symlink("/dev/pts/999", home.file("ports/COM7").c_str());
    home.write("ports/.COM7.owner", std::to_string(dead) + " 12345 /dev/pts/999\n");
    // A bridge's port whose keypad is not plugged in (no hidraw node carries it).
    const ScopedEnv sysfs("TESSARON_SYSFS", home.path());
    home.write("Corvandelle.ini", "[Port Settings]\r\nCOM_Assignment_1=8\r\n"
                                  "GUID_1=usb-0000:00:14.0-9/input0\r\n");
    TVirtualPort waiting;
    ASSERT_TRUE(waiting.CreatePort("COM8"));
    // A device that a live program has locked, and one that is no terminal.
    FakeSerialKeypad locked(home.file("ports/COM9"));
    WriteFile(home.uucpLocks() + "/LCK..pts_" + locked.TerminalPath().substr(9),
              "      " + std::to_string(::getpid()) + "\n");
    ::symlink("/dev/full", home.file("ports/COM10").c_str());

    struct Case
    {
        const char* name;
        std::string path;
        std::string settings; // without the file when empty
        std::string message;
    };
    const Case cases[] = {
        {"no file named", "", good, "No download image was given."},
        {"no such image", home.file("gone.hex"), good,
         "The download image \"" + home.file("gone.hex") +
             "\" does not exist. Save the document in Plindorax to write it."},
        {"ROM file", rom, good, "\"" + rom + "\" is a ROM file."},
        {"redefinition file", ckd, good,
         "is a redefinition file, not a download image. Download its image \"" +
             home.file("keys.hex") + "\""},
        {"malformed image", bad, good, "is not a valid download image: the image ends early"},
        {"no Tavrix.ini", imagePath, "", "No COM port is set for the keypad. Click \"Set Port\""},
        {"ComPort 0", imagePath, "ComPort=0\r\n", "No COM port is set"},
        {"keyboard", imagePath, "ComPort=-1\r\n", "tested as a keyboard"},
        {"no such port number", imagePath, "ComPort=17\r\n", "ComPort=17 in "},
        {"nothing behind the port", imagePath, "ComPort=4\r\nComType=U\r\n",
         "Cannot download to COM4 (USB): COM4 does not exist"},
        {"link to nothing", imagePath, "ComPort=5\r\n",
         "COM5 is not a serial port: link to /nonexistent/ttyUSB9, which does not exist."},
        {"a file", imagePath, "ComPort=6\r\n", "COM6 is not a serial port"},
        {"left by a bridge that died", imagePath, "ComPort=7\r\n",
         "COM7 was left behind by a bridge that has ended"},
        {"keypad not plugged in", imagePath, "ComPort=8\r\nComType=U\r\n",
         "Cannot download to COM8 (USB): its keypad (usb-0000:00:14.0-9/input0) is not "
         "plugged in."},
        {"locked by a program", imagePath, "ComPort=9\r\n",
         "COM9 is in use by siblings_core_t (pid " + std::to_string(::getpid()) +
             "), which holds its lock " + home.uucpLocks() + "/LCK..pts_"},
        {"no terminal", imagePath, "ComPort=10\r\n",
         "COM10 is not a serial port: /dev/full is no terminal."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink(home.file("Tavrix.ini").c_str());
        if (!c.settings.empty()) {
            Settings(c.settings);
        }
        EXPECT_EQ(Prepare(c.path), TLoader::Outcome::Refused);
        EXPECT_TRUE(Contains(loader.Message(), c.message)) << loader.Message();
        EXPECT_EQ(loader.Send(*std::make_unique<TPacer>()), TLoader::Outcome::Refused);
    }

    Settings(good);
    {
        HeldByChild other(keypad.TerminalPath());
        ASSERT_TRUE(other.open());
        EXPECT_EQ(Prepare(imagePath), TLoader::Outcome::Refused);
        EXPECT_TRUE(Contains(loader.Message(), "COM3 is in use by ")) << loader.Message();
        EXPECT_TRUE(Contains(loader.Message(), "(pid " + std::to_string(other.pid()) + ")"));
    }
    EXPECT_EQ(keypad.Received(), "");
    EXPECT_EQ(locked.Received(), "");
    EXPECT_EQ(waiting.BytesPending(), 0);
}

TEST_F(LoaderTest, SendsTheImageInOrderPacedIntoASimulatedKeypad)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    Settings("ComPort=3\r\nComType=R\r\nDownloadDelay=3\r\n");
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(Prepare(imagePath), TLoader::Outcome::Ready) << loader.Message();
    EXPECT_EQ(loader.PortName(), "COM3 (DB9)");
    TPacer pacer;
    EXPECT_EQ(loader.Send(pacer), TLoader::Outcome::Done);
    EXPECT_EQ(loader.Message(),
              "Download complete: " + std::to_string(image.size()) + " bytes sent to COM3 (DB9).");
    ASSERT_TRUE(keypad.WaitForDownloads(1, 5000)) << keypad.DownloadReport();
    EXPECT_EQ(keypad.Received(), std::string(image.begin(), image.end()));
    const auto downloads = keypad.Downloads();
    EXPECT_TRUE(downloads[0].Complete);
    EXPECT_TRUE(Contains(downloads[0].Listing, "KEY4 level 1: [A] [B]\n"));
    // No byte can arrive before the pauses before it have passed.
    EXPECT_GE(downloads[0].Last - start, std::chrono::milliseconds(3 * (image.size() - 1)));

    // A cancel from another thread stops it part-way; the keypad's download stays incomplete.
    Settings("ComPort=3\r\nDownloadDelay=5\r\n");
    ASSERT_EQ(Prepare(imagePath), TLoader::Outcome::Ready) << loader.Message();
    TPacer stop;
    std::thread canceller([this, &stop] {
        while (loader.Sent() < 20) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        stop.Cancel();
    });
    EXPECT_EQ(loader.Send(stop), TLoader::Outcome::Cancelled);
    canceller.join();
    EXPECT_LT(loader.Sent(), static_cast<int>(image.size()));
    EXPECT_TRUE(Contains(loader.Message(),
                         "Download cancelled after " + std::to_string(loader.Sent()) + " of "));
    EXPECT_TRUE(keypad.WaitForReceived(image.size() + loader.Sent(), 5000));
    EXPECT_EQ(keypad.Received().size(), image.size() + loader.Sent());
    EXPECT_FALSE(keypad.Downloads().back().Complete);
}

TEST(PortSurvey, SaysWhatIsBehindEachPortWithoutOpeningIt)
{
    TempHome home;
    const ScopedEnv sysfs("TESSARON_SYSFS", home.path()); // no hidraw node: the keypad is absent
    home.write("Corvandelle.ini",
               "[Port Settings]\r\nCOM_Assignment_1=3\r\nGUID_1=usb-0000:00:14.0-1.2/input0\r\n");
    FakeSerialKeypad serial(home.file("ports/COM2"));
    TVirtualPort bridged;
    ASSERT_TRUE(bridged.CreatePort("COM3")) << bridged.LastError();
    HeldByChild host(home.file("ports/COM3"));
    ASSERT_TRUE(host.open());
    ::symlink("/nonexistent/ttyACM0", home.file("ports/COM5").c_str());
    home.write("ports/COM6", "");

    struct Case
    {
        int port;
        TPortInfo::Kind kind;
        std::string described;
        std::string comType;
    };
    const Case cases[] = {
        {1, TPortInfo::Kind::Nothing, "nothing", "R"},
        {2, TPortInfo::Kind::SerialDevice, "serial device " + serial.TerminalPath(), "R"},
        {3, TPortInfo::Kind::VirtualPort,
         "virtual port of a running bridge, keypad usb-0000:00:14.0-1.2/input0 (not plugged "
         "in); in use by siblings_core_t (pid " +
             std::to_string(host.pid()) + ")",
         "U"},
        {5, TPortInfo::Kind::BrokenLink, "link to /nonexistent/ttyACM0, which does not exist", "R"},
        {6, TPortInfo::Kind::NotADevice, "not a serial port", "R"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        const TPortInfo info = SurveyPort(c.port);
        EXPECT_EQ(info.Type, c.kind);
        EXPECT_TRUE(Contains(DescribePort(info), c.described)) << DescribePort(info);
        EXPECT_EQ(SuggestedComType(info), c.comType);
    }
    // The simulated keypad is the device's side (the master): no user of the port.
    EXPECT_TRUE(SurveyPort(2).HeldBy.empty());
    // Looking sent the bridge's port nothing.
    EXPECT_EQ(bridged.BytesPending(), 0);
}

TEST(TextProgress, BarCountAndPercent)
{
    EXPECT_EQ(TTextProgress::Bar(0, 188), "[" + std::string(40, '.') + "]    0/188 bytes   0%");
    EXPECT_EQ(TTextProgress::Bar(94, 188),
              "[" + std::string(20, '#') + std::string(20, '.') + "]   94/188 bytes  50%");
    EXPECT_EQ(TTextProgress::Bar(188, 188), "[" + std::string(40, '#') + "]  188/188 bytes 100%");
}

} // namespace
} // namespace tessaron::test
