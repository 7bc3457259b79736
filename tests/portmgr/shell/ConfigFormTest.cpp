// The configuration dialog against the simulated keypads, offscreen.
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/shell/Config.h"
#include "tests/portmgr/PortSettingsText.h"
#include "tests/portmgr/devices/DevicesFixture.h"
#include "tests/support/FakeMessageBox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <pty.h>
#include <unistd.h>

namespace tessaron {
namespace {

using test::DevicesTest;
using test::FakeMessage;

class ConfigFormTest : public DevicesTest
{
protected:
    void remember(const std::vector<std::pair<std::string, int>>& assignments)
    {
        home.write("Corvandelle.ini", test::PortSettingsText(assignments));
    }

    // Shows the dialog (which lists, opens and labels the keypads).
    void open()
    {
        form = std::make_unique<TConfigForm>(*pm, messages);
        form->ResetVirtualPorts = [this] { ++resets; };
        form->show();
    }

    QString text(const char* name, int row)
    {
        auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(name) + QString::number(row));
        return edit ? edit->text() : QStringLiteral("<none>");
    }
    QPushButton* button(int row)
    {
        return form->findChild<QPushButton*>(QStringLiteral("btnKeypad") + QString::number(row));
    }
    QColor labelColour(int row)
    {
        return form->findChild<QLabel*>(QStringLiteral("lblKeypad") + QString::number(row))
            ->palette()
            .color(QPalette::WindowText);
    }
    QAction* portItem(const char* name)
    {
        return form->findChild<QMenu*>(QStringLiteral("PopupMenu1"))
            ->findChild<QAction*>(QString::fromLatin1(name));
    }
    // Presses row's "Set Com Port..." and picks the item of the menu.
    void assign(int row, const char* item)
    {
        QTest::mouseClick(button(row), Qt::LeftButton);
        portItem(item)->trigger();
    }

    test::FakeMessageBox messages;
    std::unique_ptr<TConfigForm> form;
    int resets = 0;
};

const QColor Green(0, 128, 0);
const QColor Grey(160, 160, 164);

TEST_F(ConfigFormTest, UsbKeypadsAreLabelledAndGetTheirPort)
{
    const int first = AddUsbKeypad("/dev/sim-a", "Tessaron 510 A  ");
    const int second = AddUsbKeypad("/dev/sim-b", "Tessaron 514 B  ");
    open();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(text("edLocation", 1), "USB");
    EXPECT_EQ(text("edKeypad", 1), "Tessaron 510 A  ");
    EXPECT_EQ(text("edCom", 1), "Not Assigned");
    EXPECT_TRUE(button(1)->isEnabled());
    EXPECT_EQ(labelColour(1), Green);
    ASSERT_EQ(fakehid_wait_messages(first, 1, 10000), 1);
    EXPECT_EQ(FakeMessage(first, 0), "Keypad #1, COM? ");

    assign(2, "COM51");
    EXPECT_EQ(form->CurrentRow, 1);
    EXPECT_EQ(text("edCom", 2), "COM5");
    ASSERT_EQ(fakehid_wait_messages(second, 2, 10000), 2);
    EXPECT_EQ(FakeMessage(second, 1), "Keypad #2, COM5 ");
    EXPECT_NE(home.read("Corvandelle.ini").find("COM_Assignment_1=5\r\nGUID_1=/dev/sim-b\r\n"),
              std::string::npos)
        << home.read("Corvandelle.ini");

    // A new port replaces the old one; a two-digit port is cut to 16 characters.
    assign(2, "COM121");
    EXPECT_EQ(text("edCom", 2), "COM12");
    ASSERT_EQ(fakehid_wait_messages(second, 3, 10000), 3);
    EXPECT_EQ(FakeMessage(second, 2), "Keypad #2, COM12");
    EXPECT_EQ(FindAssignedPort(*pm, "/dev/sim-b"), 12);
    EXPECT_EQ(FindAssignedPort(*pm, "/dev/sim-a"), 0);

    form->findChild<QPushButton*>(QStringLiteral("btnFinished"))->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    for (int i = 0; i < MaxKeypads; ++i) {
        EXPECT_FALSE(Slot(i).Flags & SlotOpen) << i;
    }
}

// "&Finshed" pressed while a label is still on its way (the keypad is slow to
// take reports): the keypad gets all of it before it is closed.
TEST_F(ConfigFormTest, FinishedLetsQueuedLabelsReachTheKeypads)
{
    const int id = AddUsbKeypad("/dev/sim-a", "Tessaron 510 A  ");
    const auto sleep = pm->SleepMs;
    pm->SleepMs = [&](int ms) {
        sleep(ms);
        if (ms == 80) {
            fakehid_stall_writes(id, 1); // once the identification came
        } else if (ms == 10) {
            fakehid_stall_writes(id, 0); // Finished waits for the label
        }
    };
    open();
    ASSERT_EQ(text("edKeypad", 1), "Tessaron 510 A  ");
    ASSERT_GT(Slot(0).WriteThread->Pending(), 0);
    form->findChild<QPushButton*>(QStringLiteral("btnFinished"))->click();
    EXPECT_FALSE(Slot(0).Flags & SlotOpen);
    ASSERT_EQ(fakehid_message_count(id), 1);
    EXPECT_EQ(FakeMessage(id, 0), "Keypad #1, COM? ");
}

TEST_F(ConfigFormTest, MissingRememberedKeypadShowsGreyAndCanBeForgotten)
{
    AddUsbKeypad("/dev/sim-a");
    remember({{"/dev/gone", 7}});
    open();
    EXPECT_EQ(text("edCom", 2), "Com 7");
    EXPECT_EQ(text("edKeypad", 2), "Keypad Missing");
    EXPECT_TRUE(button(2)->isEnabled());
    EXPECT_EQ(labelColour(2), Grey);
    EXPECT_FALSE(button(3)->isEnabled()); // a free row
    EXPECT_EQ(text("edCom", 3), "Not Assigned");

    assign(2, "ComUnassigned1");
    EXPECT_EQ(text("edCom", 2), "Not Assigned");
    EXPECT_EQ(text("edKeypad", 2), "");
    EXPECT_EQ(FindAssignedPort(*pm, "/dev/gone"), 0);
    EXPECT_EQ(home.read("Corvandelle.ini").find("/dev/gone"), std::string::npos);
}

TEST_F(ConfigFormTest, StartOverForgetsEveryAssignment)
{
    AddUsbKeypad("/dev/sim-a");
    AddUsbKeypad("/dev/sim-b");
    remember({{"/dev/sim-a", 3}, {"/dev/sim-b", 4}});
    open();
    EXPECT_EQ(text("edCom", 1), "COM3");
    EXPECT_EQ(text("edCom", 2), "COM4");
    form->findChild<QPushButton*>(QStringLiteral("btnSearch"))->click();
    EXPECT_FALSE(home.exists("Corvandelle.ini"));
    EXPECT_EQ(text("edCom", 1), "Not Assigned");
    EXPECT_EQ(text("edCom", 2), "Not Assigned");
    EXPECT_TRUE(button(1)->isEnabled());
}

TEST_F(ConfigFormTest, SerialKeypadsAreShownFixedAndClearedWhenFinished)
{
    auto& rs232 = AddSerialKeypad(3);
    auto& cdc = AddSerialKeypad(4, {.Type = 'v', .Identification = "Simulated CDC   "});
    open();
    EXPECT_EQ(text("edLocation", 1), "RS232 via DB9");
    EXPECT_EQ(text("edCom", 1), "COM3");
    EXPECT_EQ(text("edKeypad", 1), "Simulated RS232 ");
    EXPECT_FALSE(button(1)->isEnabled());
    EXPECT_EQ(text("edLocation", 2), "CDC Virtual");
    EXPECT_EQ(text("edCom", 2), "COM4");
    ASSERT_TRUE(rs232.WaitForMessages(1, 10000));
    ASSERT_TRUE(cdc.WaitForMessages(1, 10000));
    EXPECT_EQ(rs232.Messages()[0], "Keypad #1, RS232");
    EXPECT_EQ(cdc.Messages()[0], "Keypad #2, CDC  ");

    // Escape finishes like the button: the labels are cleared, the ports closed.
    QTest::keyClick(form.get(), Qt::Key_Escape);
    ASSERT_TRUE(rs232.WaitForMessages(2, 10000));
    EXPECT_EQ(rs232.Messages()[1], "");
    EXPECT_FALSE(Slot(0).Flags & SlotOpen);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ConfigFormTest, PortMenuOffersOnlyFreePorts)
{
    AddSerialKeypad(3);
    AddUsbKeypad("/dev/sim-a");
    AddUsbKeypad("/dev/sim-b");
    // A real port of the machine: a terminal of the test's own that nobody holds.
    int master = -1;
    int slave = -1;
    char terminal[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, terminal, nullptr, nullptr), 0);
    ::close(slave);
    LinkPort(2, terminal);
    remember({{"/dev/other", 5}});
    open();
    auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QTest::mouseClick(button(3), Qt::LeftButton);
    const QPoint thirdRow = menu->pos();
    menu->hide();
    QTest::mouseClick(button(2), Qt::LeftButton);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), thirdRow); // the same place for every row
    const struct
    {
        const char* item;
        bool enabled;
    } cases[] = {{"ComUnassigned1", true}, {"COM11", true},  {"COM21", false}, {"COM31", false},
                 {"COM41", true},          {"COM51", false}, {"COM161", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(portItem(c.item)->isEnabled(), c.enabled) << c.item;
        EXPECT_TRUE(portItem(c.item)->isVisible()) << c.item;
    }
    EXPECT_EQ(portItem("COM161")->text(), "COM16");
    menu->hide();
    ::close(master);
}

TEST_F(ConfigFormTest, SettingsThatCannotBeWrittenAreReported)
{
    AddUsbKeypad("/dev/sim-a");
    std::filesystem::create_directories(home.file("Corvandelle.ini")); // not a file
    open();
    assign(1, "COM61");
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_TRUE(messages.errors()[0].startsWith("Unable to write to "))
        << messages.errors()[0].toStdString();
    EXPECT_EQ(text("edCom", 1), "Not Assigned"); // the row was not redrawn
}

} // namespace
} // namespace tessaron
