// The four programs' windows, offscreen: Wendrel records the chosen port,
// Qex talks to a simulated serial keypad, Ruskel lists keys, Tavrix shows its
// progress, can be cancelled and ends with a clear result.
#include "SiblingsTestSupport.h"

#include "portmgr/io/TVirtualPort.h"
#include "siblings/core/DownloadImageFile.h"
#include "siblings/core/TerminalLoader.h"
#include "siblings/qex/SerialTestWindow.h"
#include "siblings/ruskel/KeyboardTestWindow.h"
#include "siblings/tavrix/LoaderWindow.h"
#include "siblings/wendrel/PortChooser.h"
#include "tests/editor/model/ModelTestSupport.h"
#include "tests/fakes/FakeHid.h"
#include "tests/fakes/FakeSerialKeypad.h"
#include "tests/support/AccessibilitySweep.h"
#include "tests/support/FakeMessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace tessaron::test {
namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

template <typename T>
T* find(QWidget& window, const char* name)
{
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

bool WaitUntil(const std::function<bool()>& condition, int ms = 5000)
{
    return QTest::qWaitFor(condition, ms);
}

using Problems = std::vector<std::string>;

// Wendrel.

class WendrelTest : public ::testing::Test
{
protected:
    WendrelTest()
    {
        fakehid_reset();
        fakehid_set_keyboard(fakehid_add_device(0x16C0, 0x0604, "keyboard-keypad"), 1);
        fakehid_add_device(0x16C0, 0x0604, "bridged-keypad");
    }
    ~WendrelTest() override { fakehid_reset(); }

    std::string settings() const { return home.file("Tavrix.ini"); }

    // Chooses the row whose first column is port and, of those, the one whose
    // description holds what; then clicks button.
    void choose(TPortChooser& w, const QString& port, const QString& what = QString())
    {
        QTreeWidget* list = find<QTreeWidget>(w, "lvPorts");
        const auto rows = list->findItems(port, Qt::MatchExactly, 0);
        for (QTreeWidgetItem* row : rows) {
            if (row->text(1).contains(what)) {
                list->setCurrentItem(row);
                return;
            }
        }
        ADD_FAILURE() << "no row " << port.toStdString() << " " << what.toStdString();
    }

    ScopedEnv hidapi{"TESSARON_HIDAPI", FAKEHID_LIBRARY};
    TempHome home;
    FakeMessageBox messages;
};

TEST_F(WendrelTest, ListsWhatIsBehindEachPortAndRecordsTheChoice)
{
    home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=2\r\nComType=U\r\n"
                             "DownloadDelay=9\r\n");
    home.write("Corvandelle.ini", "[Port Settings]\r\nCOM_Assignment_1=4\r\nGUID_1=sim-1\r\n");
    FakeSerialKeypad serial(home.file("ports/COM2"));
    TVirtualPort bridged;
    ASSERT_TRUE(bridged.CreatePort("COM4"));
    {
        TPortChooser w(messages, q(settings()));
        QTreeWidget* list = find<QTreeWidget>(w, "lvPorts");
        ASSERT_EQ(list->topLevelItemCount(), 16 + 3);
        EXPECT_EQ(list->topLevelItem(1)->text(1), q("serial device " + serial.TerminalPath()));
        EXPECT_TRUE(list->topLevelItem(3)->text(1).endsWith("keypad sim-1"));
        EXPECT_EQ(list->topLevelItem(6)->text(1), "nothing");
        EXPECT_EQ(list->topLevelItem(16)->text(1),
                  "USB keypad in HID keyboard mode, keyboard-keypad");
        // The recorded port and attachment are where the user left them.
        EXPECT_EQ(list->currentItem()->text(0), "COM2");
        EXPECT_TRUE(find<QRadioButton>(w, "rbUsb")->isChecked());

        choose(w, "COM4");
        EXPECT_TRUE(find<QRadioButton>(w, "rbUsb")->isChecked()); // a virtual port is USB
        QTest::mouseClick(find<QPushButton>(w, "btnRefresh"), Qt::LeftButton);
        ASSERT_NE(list->currentItem(), nullptr); // a refresh keeps the row
        EXPECT_EQ(list->currentItem()->text(0), "COM4");
        QTest::mouseClick(find<QPushButton>(w, "btnOk"), Qt::LeftButton);
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    EXPECT_EQ(home.read("Tavrix.ini"),
              "[Com Port Configuration]\r\nComPort=4\r\nComType=U\r\nDownloadDelay=9\r\n");

    struct Step
    {
        QString port;
        QString what;
        bool rs232; // tick RS-232 before the button
        const char* button;
        const char* file;
    };
    const Step steps[] = {
        {"Keyboard", "HID keyboard mode", false, "btnOk",
         "ComPort=-1\r\nComType=U\r\n"}, // the attachment stays for a keyboard
        {"COM7", "", true, "btnCancel", "ComPort=-1\r\nComType=U\r\n"},
        {"COM7", "", true, "btnOk", "ComPort=7\r\nComType=R\r\n"},
        {"None", "", false, "btnOk", "ComPort=0\r\nComType=R\r\n"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.port.toStdString() + " " + s.button);
        TPortChooser w(messages, q(settings()));
        choose(w, s.port, s.what);
        EXPECT_EQ(find<QRadioButton>(w, "rbRs232")->isEnabled(), s.port.startsWith("COM"));
        if (s.rs232) {
            find<QRadioButton>(w, "rbRs232")->setChecked(true);
        }
        QTest::mouseClick(find<QPushButton>(w, s.button), Qt::LeftButton);
        EXPECT_EQ(home.read("Tavrix.ini"),
                  std::string("[Com Port Configuration]\r\n") + s.file + "DownloadDelay=9\r\n");
    }
    EXPECT_TRUE(messages.errors().empty());
}

// What a screen reader hears and where Tab goes (tests/support/AccessibilitySweep.h).
TEST_F(WendrelTest, ScreenReaderAndTabMeetEveryControl)
{
    TPortChooser w(messages, q(settings()));
    w.show();
    EXPECT_EQ(AccessibilityProblems(w), Problems{});
    choose(w, "Keyboard");
    EXPECT_EQ(AccessibilityProblems(w), Problems{});
}

TEST_F(WendrelTest, AFileThatCannotBeWrittenKeepsTheWindowOpen)
{
    TPortChooser w(messages, q(home.file("missing/Tavrix.ini")));
    w.show();
    choose(w, "COM3");
    QTest::mouseClick(find<QPushButton>(w, "btnOk"), Qt::LeftButton);
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_TRUE(messages.errors()[0].startsWith("Unable to write to " +
                                                q(home.file("missing/Tavrix.ini"))));
    EXPECT_TRUE(w.isVisible());
}

// Qex.

class QexTest : public ::testing::Test
{
protected:
    TempHome home;
};

TEST_F(QexTest, ParametersOpenThePortAndPlaceTheWindow)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    struct Case
    {
        QStringList arguments;
        bool accepted;
        int opened;
        QString status;
        std::optional<QPoint> at;
    };
    const Case cases[] = {
        {{}, true, 0, "Choose a port and click Open.", {}},
        {{"3"}, true, 3, "COM3 is open at 9600 baud, 8 data bits, no parity, 1 stop bit.", {}},
        {{"3", "50", "100"}, true, 3, "COM3 is open", QPoint(50, 100)},
        {{"3", "50"}, false, 0, "Usage: Qex [port [x y]]", {}},
        {{"three"}, false, 0, "Usage: Qex [port [x y]]", {}},
        {{"17"}, false, 0, "COM17 is no port", {}},
        {{"4"}, false, 0, "COM4 does not exist", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        TSerialTestWindow w;
        EXPECT_EQ(w.ApplyArguments(c.arguments), c.accepted);
        EXPECT_EQ(w.OpenedPort(), c.opened);
        EXPECT_TRUE(w.StatusText().startsWith(c.status)) << w.StatusText().toStdString();
        if (c.at) {
            EXPECT_EQ(w.pos(), *c.at);
        }
    }
    EXPECT_EQ(keypad.Received(), "");
}

TEST_F(QexTest, SendsWhatIsTypedAndShowsWhatArrivesAsTextAndHex)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    TSerialTestWindow w;
    ASSERT_TRUE(w.ApplyArguments({"3"}));
    EXPECT_EQ(w.windowTitle(), "Qex - COM3");
    QLineEdit* send = find<QLineEdit>(w, "edSend");
    send->setText("AB");
    QTest::mouseClick(find<QPushButton>(w, "btnSend"), Qt::LeftButton);
    ASSERT_TRUE(keypad.WaitForReceived(3, 2000));
    EXPECT_EQ(keypad.Received(), "AB\r");

    find<QCheckBox>(w, "chkHex")->setChecked(true);
    find<QComboBox>(w, "cbLineEnd")->setCurrentText("no line end");
    send->setText("4G");
    EXPECT_FALSE(w.SendTyped());
    EXPECT_TRUE(w.StatusText().contains("position 2")) << w.StatusText().toStdString();
    send->setText("40 06"); // the identification query: the keypad answers
    QTest::keyClick(send, Qt::Key_Return);
    auto* text = find<QPlainTextEdit>(w, "edText");
    auto* hex = find<QPlainTextEdit>(w, "edHex");
    ASSERT_TRUE(WaitUntil([&] { return text->toPlainText().contains("Simulated RS232 "); }));
    keypad.Type("x\x01\r\n!");
    ASSERT_TRUE(WaitUntil([&] { return text->toPlainText().endsWith("!"); }));
    EXPECT_EQ(text->toPlainText(), "Simulated RS232 x<01>\n!");
    EXPECT_EQ(hex->toPlainText(), "53 69 6D 75 6C 61 74 65 64 20 52 53 32 33 32 20\n"
                                  "78 01 0D 0A 21");
    EXPECT_EQ(keypad.Received(), std::string("AB\r@\x06"));
}

TEST_F(QexTest, ScreenReaderAndTabMeetEveryControl)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    TSerialTestWindow w;
    w.show();
    EXPECT_EQ(AccessibilityProblems(w), Problems{});
    ASSERT_TRUE(w.ApplyArguments({"3"}));
    EXPECT_EQ(AccessibilityProblems(w), Problems{});
}

TEST_F(QexTest, NeverDisturbsAPortAnotherProgramHoldsAndSeesOneGoAway)
{
    auto keypad = std::make_unique<FakeSerialKeypad>(home.file("ports/COM3"));
    {
        HeldByChild other(keypad->TerminalPath());
        ASSERT_TRUE(other.open());
        TSerialTestWindow w;
        EXPECT_FALSE(w.ApplyArguments({"3"}));
        EXPECT_TRUE(w.StatusText().startsWith("COM3 is in use by siblings_"));
        EXPECT_TRUE(w.StatusText().endsWith(q(" (pid " + std::to_string(other.pid()) + ").")));
    }
    TSerialTestWindow w;
    ASSERT_TRUE(w.ApplyArguments({"3"}));
    keypad.reset(); // the device goes away
    EXPECT_TRUE(WaitUntil([&] { return w.StatusText().contains("has gone away"); }))
        << w.StatusText().toStdString();
    EXPECT_EQ(w.OpenedPort(), 0);
    EXPECT_FALSE(find<QPushButton>(w, "btnSend")->isEnabled());
}

// Ruskel.

TEST(Ruskel, ListsEveryKeyEventWithItsNameTextAndCode)
{
    TKeyboardTestWindow w;
    w.show();
    QTableWidget* keys = find<QTableWidget>(w, "tblKeys");
    struct Case
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString name;
        QString text;
        QString code;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::ShiftModifier, "A", "A", "0x41"},
        {Qt::Key_Return, Qt::NoModifier, "Return", "<0D>", "0x1000004"},
        {Qt::Key_Tab, Qt::NoModifier, "Tab", "<09>", "0x1000001"},
        {Qt::Key_Escape, Qt::NoModifier, "Escape", "<1B>", "0x1000000"},
        {Qt::Key_Space, Qt::NoModifier, "Space", "<space>", "0x20"},
        {Qt::Key_F13, Qt::NoModifier, "F13", "", "0x100003c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const int first = w.Rows();
        if (c.key == Qt::Key_A) {
            QTest::keyClick(keys, 'A', c.modifiers); // with the text a shifted A has
        } else {
            QTest::keyClick(keys, c.key, c.modifiers);
        }
        std::vector<int> rows; // the key's own, besides those of the modifiers
        for (int r = first; r < w.Rows(); ++r) {
            if (w.Cell(r, 1) == c.name) {
                rows.push_back(r);
            }
        }
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(w.Cell(rows[0], 0), "press");
        EXPECT_EQ(w.Cell(rows[1], 0), "release");
        EXPECT_EQ(w.Cell(rows[0], 2), c.text);
        EXPECT_EQ(w.Cell(rows[0], 3), c.code);
        EXPECT_EQ(w.Cell(rows[0], 5), c.modifiers == Qt::ShiftModifier ? "Shift" : "");
    }
    // Tab and Escape were keys like the others: the list keeps the focus and the window.
    EXPECT_TRUE(w.isVisible());
}

TEST(Ruskel, ScreenReaderAndTabMeetEveryControl)
{
    TKeyboardTestWindow w;
    w.show();
    EXPECT_EQ(AccessibilityProblems(w), Problems{});
}

// Tavrix.

class TavrixTest : public ::testing::Test
{
protected:
    TavrixTest()
    {
        imagePath = home.file("keys.hex");
        total = static_cast<int>(WriteOneKeyImage(home, imagePath));
    }

    void settings(int delay) { WriteCom3Settings(home, "U", delay); }

    TempHome home;
    FakeMessageBox messages;
    std::string imagePath;
    int total = 0;
};

TEST_F(TavrixTest, ARefusalIsShownAndNoWindowOpens)
{
    TLoaderWindow w(messages);
    EXPECT_FALSE(w.Start(q(home.write("a.rom", "[GLOBAL_PARAMETERS]\r\n[ADVANCED_PARAMETERS]\r\n")),
                         q(home.file("Tavrix.ini"))));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].kind, FakeMessageBox::Kind::Error);
    EXPECT_EQ(messages.shown()[0].caption, "Tavrix");
    EXPECT_TRUE(messages.shown()[0].text.contains("is a ROM file"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.ExitStatus(), LoaderExitFailed);
}

TEST_F(TavrixTest, ShowsProgressAndEndsWithTheResult)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    settings(1);
    TLoaderWindow w(messages);
    QSignalSpy finished(&w, &TLoaderWindow::Finished);
    ASSERT_TRUE(w.Start(q(imagePath), q(home.file("Tavrix.ini"))));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(find<QLabel>(w, "lblPort")->text(), "to COM3 (USB), 1 ms after each byte");
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), LoaderExitDone);
    EXPECT_EQ(find<QProgressBar>(w, "pbDownload")->value(), total);
    ASSERT_EQ(messages.informations().size(), 1u);
    EXPECT_EQ(messages.informations()[0],
              QStringLiteral("Download complete: %1 bytes sent to COM3 (USB).").arg(total));
    ASSERT_TRUE(keypad.WaitForDownloads(1, 5000));
    EXPECT_TRUE(keypad.Downloads()[0].Complete);
}

TEST_F(TavrixTest, CancelOrCloseStopsTheDownload)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    settings(100);
    for (const bool byClose : {false, true}) {
        SCOPED_TRACE(byClose ? "close" : "Cancel");
        messages.clear();
        TLoaderWindow w(messages);
        QSignalSpy finished(&w, &TLoaderWindow::Finished);
        ASSERT_TRUE(w.Start(q(imagePath), q(home.file("Tavrix.ini"))));
        ASSERT_TRUE(WaitUntil([&] { return w.Loader().Sent() >= 2; }));
        if (byClose) {
            w.close();
        } else {
            QTest::mouseClick(find<QPushButton>(w, "btnCancel"), Qt::LeftButton);
        }
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_EQ(finished.at(0).at(0).toInt(), LoaderExitCancelled);
        ASSERT_EQ(messages.errors().size(), 1u);
        EXPECT_TRUE(messages.errors()[0].startsWith("Download cancelled after "))
            << messages.errors()[0].toStdString();
        EXPECT_LT(w.Loader().Sent(), total);
    }
}

TEST_F(TavrixTest, ScreenReaderAndTabMeetEveryControl)
{
    FakeSerialKeypad keypad(home.file("ports/COM3"));
    settings(100);
    TLoaderWindow w(messages);
    ASSERT_TRUE(w.Start(q(imagePath), q(home.file("Tavrix.ini"))));
    ASSERT_TRUE(WaitUntil([&] { return w.Loader().Sent() >= 1; }));
    EXPECT_EQ(AccessibilityProblems(w), Problems{});
}

} // namespace
} // namespace tessaron::test
