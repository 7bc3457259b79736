// The document's life: changed flag and caption, asking to save, New, Open,
// Save, Save As, closing and the property dialogs.
#include "MainWindowFixture.h"

#include "editor/dialogs/Advanced.h"
#include "editor/window/KeyButton.h"
#include "editor/window/MacroLen.h"
#include "editor/window/MidiEvents.h"

#include <QCheckBox>
#include <QLabel>

#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>

#include <sys/stat.h>

namespace tessaron::test {
namespace {

using DocumentTest = MainWindowTest;

const QString AskDefinition = "Do you wish to save changes to your custom definition?";
const QString AskConfiguration = "Do you wish to save changes to your configuration?";

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

TEST_F(DocumentTest, EditingMarksTheCaptionOnceAndEnablesSave)
{
    TfrmMain& w = start();
    type("ab");
    EXPECT_TRUE(doc().Modified());
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled*");
    EXPECT_TRUE(find<QToolButton>("ToolBtnSave")->isEnabled());
    type("c");
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled*");
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    EXPECT_FALSE(find<QToolButton>("ToolBtnSave")->isEnabled());
}

TEST_F(DocumentTest, SaveOfANeverSavedDocumentIsSaveAs)
{
    start();
    type("a");
    files.QueueCancel();
    QTest::mouseClick(find<QToolButton>("ToolBtnSave"), Qt::LeftButton);
    ASSERT_EQ(files.shown().size(), 1u);
    EXPECT_TRUE(files.shown()[0].save);
    EXPECT_EQ(files.shown()[0].options.Title, "Save Redefinition File As");
}

TEST_F(DocumentTest, SaveAsInUserModeWritesTheDocumentAndItsDownloadImage)
{
    TfrmMain& w = start();
    type("a");
    files.QueueAnswer(q(home.file("keys.ckd")));
    QTest::mouseClick(find<QToolButton>("ToolBtnSaveAs"), Qt::LeftButton);

    ASSERT_EQ(files.shown().size(), 1u);
    const FileDialogOptions& o = files.shown()[0].options;
    EXPECT_EQ(o.Title, "Save Redefinition File As");
    EXPECT_EQ(o.Filter, "Custom Keyboard Definition  Files (*.ckd)|*.ckd");
    EXPECT_EQ(o.DefaultExtension, "ckd");
    EXPECT_EQ(o.StartFolder, q(home.file("Macro Files")));
    EXPECT_EQ(o.ProposedName, "untitled");
    EXPECT_TRUE(o.OverwritePrompt);

    EXPECT_TRUE(home.exists("keys.ckd"));
    EXPECT_TRUE(home.exists("keys.hex"));
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("keys.ckd"));
    EXPECT_EQ(doc().DownloadFile(), home.file("keys.hex"));
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - keys.ckd");
    EXPECT_FALSE(doc().Modified());
    EXPECT_FALSE(find<QToolButton>("ToolBtnSave")->isEnabled());

    // Save now writes to the same name without asking.
    type("b");
    QTest::mouseClick(find<QToolButton>("ToolBtnSave"), Qt::LeftButton);
    EXPECT_EQ(files.shown().size(), 1u);
    EXPECT_FALSE(doc().Modified());
    EXPECT_NE(home.read("keys.ckd").find("6162"), std::string::npos) << home.read("keys.ckd");
}

TEST_F(DocumentTest, NameWithoutThreeLetterExtensionLosesItsLastThreeCharacters)
{
    start();
    ASSERT_TRUE(saveAs(home.file("keys.ab")));
    EXPECT_TRUE(home.exists("keyshex"));
    EXPECT_EQ(doc().DownloadFile(), home.file("keyshex"));
}

TEST_F(DocumentTest, SaveAsProposesTheCurrentName)
{
    start();
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    EXPECT_FALSE(saveAs({}));
    EXPECT_EQ(files.shown().back().options.ProposedName, q(home.file("a.ckd")));
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("a.ckd")) << "cancel changes nothing";
}

TEST_F(DocumentTest, FailedWriteIsShownAndKeepsTheChanges)
{
    TfrmMain& w = start();
    type("a");
    // A folder that does not exist cannot take the file.
    EXPECT_FALSE(saveAs(home.file("missing/keys.ckd")));
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_TRUE(messages.errors()[0].startsWith("Unable to write to"))
        << messages.errors()[0].toStdString();
    EXPECT_TRUE(doc().Modified());
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled") << "the new name holds only once written";
    EXPECT_EQ(doc().DownloadFile(), "");
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled*");
}

TEST_F(DocumentTest, FailedDownloadImageKeepsThePreviousDownloadFile)
{
    start();
    ASSERT_TRUE(saveAs(home.file("keys.ckd")));
    type("a");
    // A folder where the image would go makes its write fail.
    home.write("other.hex/x", "");
    EXPECT_FALSE(saveAs(home.file("other.ckd")));
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_TRUE(doc().Modified());
    EXPECT_EQ(doc().DownloadFile(), home.file("keys.hex"));
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("keys.ckd"));
}

TEST_F(DocumentTest, NewAsksWhenModifiedAndCancelKeepsEverything)
{
    start();
    type("a");
    messages.QueueAnswer(MessageAnswer::Cancel);
    QTest::mouseClick(find<QToolButton>("ToolBtnNew"), Qt::LeftButton);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].kind, Kind::YesNoCancel);
    EXPECT_EQ(messages.shown()[0].text, AskDefinition);
    EXPECT_EQ(items(), std::vector<int>{'a'});
    EXPECT_TRUE(doc().Modified());
}

TEST_F(DocumentTest, NewWithNoDiscardsAndResets)
{
    TfrmMain& w = start();
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton7"), Qt::LeftButton);
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    type("a");
    keypad().SetKeyType(6, KeyTypeLevelToggle);
    keypad().Key_Click = 10;
    rom().AdvancedParams.LcdSize = 16;
    messages.QueueAnswer(MessageAnswer::No);
    click("ToolBtnNew");
    EXPECT_FALSE(doc().Modified());
    EXPECT_EQ(pressedKey(), 0);
    EXPECT_EQ(shownLevel(), 0);
    EXPECT_EQ(find<QTabBar>("TabControlLevel")->currentIndex(), 0);
    EXPECT_EQ(keypad().Keys(6).KeyType, 0);
    EXPECT_EQ(keypad().Keys(6).Levels[1].Items[0], MacroEnd);
    EXPECT_EQ(keypad().Key_Click, 40);
    EXPECT_EQ(rom().AdvancedParams.LcdSize, 32);
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled");
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc().RomFileName(), "untitled");
    EXPECT_EQ(doc().DownloadFile(), "");
    EXPECT_EQ(find<QLabel>("lblMacroHeader")->text(), "Macro for Key 1, Level 1");
}

TEST_F(DocumentTest, NewWithoutChangesAsksNothing)
{
    start();
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    click("ToolBtnNew");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(doc().DownloadFile(), "");
}

TEST_F(DocumentTest, YesSavesFirstThenGoesOn)
{
    start();
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    type("z");
    messages.QueueAnswer(MessageAnswer::Yes);
    click("ToolBtnNew");
    EXPECT_NE(home.read("a.ckd").find("7a"), std::string::npos);
    EXPECT_EQ(MacroItemCount(macro()), 0);
    EXPECT_FALSE(doc().Modified());
}

// Answering Yes and then cancelling the Save As dialog (or a failed save)
// abandons the command instead of losing the changes.
TEST_F(DocumentTest, YesThenCancelledSaveAsAbandonsNewOpenAndClosing)
{
    TfrmMain& w = start();
    type("a");

    messages.QueueAnswer(MessageAnswer::Yes);
    files.QueueCancel();
    click("ToolBtnNew");
    EXPECT_EQ(items(), std::vector<int>{'a'});
    EXPECT_TRUE(doc().Modified());

    messages.QueueAnswer(MessageAnswer::Yes);
    files.QueueCancel();
    click("ToolBtnOpen");
    EXPECT_EQ(files.shown().size(), 2u) << "no open dialog after the cancelled save";
    EXPECT_EQ(items(), std::vector<int>{'a'});

    messages.QueueAnswer(MessageAnswer::Yes);
    files.QueueCancel();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(home.exists("Plindorax.ini") &&
                 setting("Plindorax.ini", "CONFIGURATION", "MIDI_Channel") != "<missing>");
}

TEST_F(DocumentTest, YesThenFailedSaveAbandonsClosing)
{
    TfrmMain& w = start();
    const std::string folder = home.file("gone");
    files.QueueAnswer(q(folder + "/a.ckd")); // the folder does not exist
    type("a");
    messages.QueueAnswer(MessageAnswer::Yes);
    EXPECT_FALSE(w.close());
    EXPECT_EQ(messages.errors().size(), 1u);
    EXPECT_TRUE(doc().Modified());
}

TEST_F(DocumentTest, OpenInUserMode)
{
    home.write("Macro Files/keys.ckd",
               "[KEY0]\r\nLevel_1_Codes=414243\r\n[KEY4]\r\nLevel_1_Codes=44\r\n");
    TfrmMain& w = start();
    files.QueueAnswer(q(home.file("Macro Files/keys.ckd")));
    QTest::mouseClick(find<QToolButton>("ToolBtnOpen"), Qt::LeftButton);

    ASSERT_EQ(files.shown().size(), 1u);
    const FileDialogOptions& o = files.shown()[0].options;
    EXPECT_FALSE(files.shown()[0].save);
    EXPECT_EQ(o.Title, "Open CKD Redefinition File");
    EXPECT_EQ(o.Filter, "Custom Keyboard Definition (*.ckd)|*.ckd");
    EXPECT_EQ(o.DefaultExtension, "ckd");
    EXPECT_EQ(o.StartFolder, q(home.file("Macro Files")));

    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - keys.ckd");
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("Macro Files/keys.ckd"));
    EXPECT_EQ(doc().DownloadFile(), home.file("Macro Files/keys.hex"));
    EXPECT_EQ(pressedKey(), 0);
    EXPECT_EQ(grid()->Cursor(), 3) << "after the last item";
    EXPECT_FALSE(doc().Modified());
    EXPECT_FALSE(find<QToolButton>("ToolBtnSave")->isEnabled());
}

TEST_F(DocumentTest, OpenInTheTwelveKeyLayoutSelectsTheSevenKey)
{
    home.write("keys.ckd", "[KEY4]\r\nLevel_1_Codes=44\r\n");
    writeSettings("[CONFIGURATION]\r\nKeypad_Layout=1\r\n");
    TfrmMain& w = start();
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton10"), Qt::LeftButton);
    files.QueueAnswer(q(home.file("keys.ckd")));
    click("ToolBtnOpen");
    EXPECT_EQ(pressedKey(), 4);
    EXPECT_EQ(shownLevel(), 0);
    EXPECT_EQ(find<QTabBar>("TabControlLevel")->currentIndex(), 0);
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(w.findChild<QWidget*>("SpeedButton5"))->isChecked());
    EXPECT_EQ(find<QLabel>("lblMacroHeader")->text(), "Macro for Key 5, Level 1");
    EXPECT_EQ(items(), std::vector<int>{0x44});
}

TEST_F(DocumentTest, OpenShowsTheKeyTypeIconsOfTheFile)
{
    home.write("keys.ckd", "[KEY2]\r\nKeyType=2\r\n");
    TfrmMain& w = start();
    files.QueueAnswer(q(home.file("keys.ckd")));
    click("ToolBtnOpen");
    auto* button = w.findChild<QWidget*>("SpeedButton3");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(keypad().Keys(2).KeyType, 2);
    EXPECT_FALSE(static_cast<TKeyButton*>(button)->Glyph().isNull());
    EXPECT_TRUE(static_cast<TKeyButton*>(w.findChild<QWidget*>("SpeedButton1"))->Glyph().isNull());
}

TEST_F(DocumentTest, OpenOfAMissingFileOnlyDerivesTheDownloadFile)
{
    start();
    type("a");
    messages.QueueAnswer(MessageAnswer::No);
    files.QueueAnswer(q(home.file("new.ckd")));
    click("ToolBtnOpen");
    EXPECT_EQ(items(), std::vector<int>{'a'});
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc().DownloadFile(), home.file("new.hex"));
    EXPECT_TRUE(doc().Modified()) << "No does not clear the flag for Open";
}

TEST_F(DocumentTest, OpenOfAFifoSaysWhyAtOnceAndChangesNothing)
{
    ASSERT_EQ(::mkfifo(home.file("pipe.ckd").c_str(), 0600), 0);
    start();
    type("a");
    messages.QueueAnswer(MessageAnswer::No);
    files.QueueAnswer(q(home.file("pipe.ckd")));
    click("ToolBtnOpen");
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_EQ(messages.errors()[0].toStdString(),
              "Unable to read " + home.file("pipe.ckd") + ": not a regular file (a FIFO)");
    EXPECT_EQ(items(), std::vector<int>{'a'});
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc().DownloadFile(), "");
}

TEST_F(DocumentTest, CancelledOpenChangesNothing)
{
    TfrmMain& w = start();
    files.QueueCancel();
    click("ToolBtnOpen");
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled");
    EXPECT_EQ(doc().DownloadFile(), "");
}

TEST_F(DocumentTest, RomModeOpensAndSavesRomFiles)
{
    TfrmMain& w = startRom();
    type("q");
    rom().AdvancedParams.LcdBrightness = 4;
    files.QueueAnswer(q(home.file("shop.rom")));
    QTest::mouseClick(find<QToolButton>("ToolBtnSave"), Qt::LeftButton);
    ASSERT_EQ(files.shown().size(), 1u);
    const FileDialogOptions& o = files.shown()[0].options;
    EXPECT_EQ(o.Title, "Save ROM File As");
    EXPECT_EQ(o.Filter, "Tessaron ROM Files (*.rom)|*.rom");
    EXPECT_EQ(o.DefaultExtension, "rom");
    EXPECT_EQ(o.StartFolder, "");
    EXPECT_EQ(o.ProposedName, "untitled");
    EXPECT_TRUE(o.OverwritePrompt);
    EXPECT_TRUE(home.exists("shop.rom"));
    EXPECT_FALSE(home.exists("shop.hex")) << "the ROM file is itself what is sent";
    EXPECT_EQ(doc().RomFileName(), home.file("shop.rom"));
    EXPECT_EQ(w.windowTitle(), " [ROM Edit Mode]   Plindorax - shop.rom");
    EXPECT_FALSE(doc().Modified());

    messages.QueueAnswer(MessageAnswer::No);
    type("r");
    click("ToolBtnNew");
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 9);
    EXPECT_EQ(w.windowTitle(), " [ROM Edit Mode]   Plindorax - untitled");

    files.QueueAnswer(q(home.file("shop.rom")));
    click("ToolBtnOpen");
    const FileDialogOptions& open = files.shown().back().options;
    EXPECT_EQ(open.Title, "Open Advanced Configuration File");
    EXPECT_EQ(open.Filter, "Tessaron ROM Files (*.rom)|*.rom");
    EXPECT_EQ(open.StartFolder, "");
    EXPECT_EQ(items(), std::vector<int>{'q'});
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 4);
    EXPECT_EQ(w.windowTitle(), " [ROM Edit Mode]   Plindorax - shop.rom");
    EXPECT_EQ(doc().RomFileName(), home.file("shop.rom"));
}

TEST_F(DocumentTest, RomOpenOfAMissingFileTakesItsName)
{
    TfrmMain& w = startRom();
    files.QueueAnswer(q(home.file("later.rom")));
    click("ToolBtnOpen");
    EXPECT_EQ(doc().RomFileName(), home.file("later.rom"));
    EXPECT_EQ(w.windowTitle(), " [ROM Edit Mode]   Plindorax - untitled");
}

TEST_F(DocumentTest, RomReaderWarningIsAnInformationBox)
{
    TfrmMain& w = startRom();
    rom().AdvancedParams.ECR_String = "123456789";
    ASSERT_TRUE(saveAs(home.file("a.rom")));
    files.QueueAnswer(q(home.file("a.rom")));
    click("ToolBtnOpen");
    EXPECT_EQ(messages.informations(),
              std::vector<QString>{"Warning: ECR Suffix String has been truncated to the max "
                                   "width of 8 characters."});
    EXPECT_EQ(rom().AdvancedParams.ECR_String, "12345678");
    EXPECT_EQ(w.windowTitle(), " [ROM Edit Mode]   Plindorax - a.rom");
}

TEST_F(DocumentTest, RomSaveDisablesTheAdvancedDialogsButtons)
{
    startRom();
    child<TfrmAdvanced>().OkButton()->setEnabled(true);
    child<TfrmAdvanced>().ApplyButton()->setEnabled(true);
    ASSERT_TRUE(saveAs(home.file("a.rom")));
    EXPECT_FALSE(child<TfrmAdvanced>().OkButton()->isEnabled());
    EXPECT_FALSE(child<TfrmAdvanced>().ApplyButton()->isEnabled());
}

TEST_F(DocumentTest, ClosingWritesTheMidiChannelAndAsksOnlyWhenModified)
{
    TfrmMain& w = start();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "MIDI_Channel"), "1");
}

TEST_F(DocumentTest, ClosingAsksWithTheModesWording)
{
    TfrmMain& user = start();
    type("a");
    messages.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(user.close());
    EXPECT_EQ(messages.shown().back().text, AskDefinition);
    messages.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(user.close());
    TearDown();

    TfrmMain& rom = startRom();
    type("a");
    messages.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(rom.close());
    EXPECT_EQ(messages.shown().back().text, AskConfiguration);
}

TEST_F(DocumentTest, MidiChannelChosenInTheDialogIsStoredAndReadBack)
{
    TfrmMain& w = start();
    child<TfrmMidiEvents>().ShowDialog();
    auto* channel = child<TfrmMidiEvents>().findChild<QSlider*>("tbMidiChannel");
    ASSERT_NE(channel, nullptr);
    channel->setValue(12);
    EXPECT_EQ(midiChannel(), 12);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "MIDI_Channel"), "12");
    TearDown();

    start();
    EXPECT_EQ(midiChannel(), 12);
    child<TfrmMidiEvents>().ShowDialog();
    EXPECT_EQ(child<TfrmMidiEvents>().findChild<QSlider*>("tbMidiChannel")->value(), 12);
}

TEST_F(DocumentTest, ClosingHidesTheModelessWindows)
{
    TfrmMain& w = start();
    child<TfrmMidiEvents>().ShowDialog();
    child<TfrmMacroLenWarning>().ShowLengthWarning(false);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(child<TfrmMidiEvents>().isVisible());
    EXPECT_FALSE(child<TfrmMacroLenWarning>().isVisible());
}

TEST_F(DocumentTest, PropertiesInUserModeOpenTheParametersDialog)
{
    start();
    // The dialog switches Line Edit off while it is open.
    dialogs.SetWhileShown([&](QDialog&) { keypad().Operating_Mode = 0x30; });
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=0\r\n");
    QTest::mouseClick(find<QToolButton>("ToolBtnParameters"), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{"frmParameters"});
    EXPECT_FALSE(find<QCheckBox>("cboxKeyAsTrueTerminal")->isEnabled());
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: <not set> >> HID");
}

TEST_F(DocumentTest, PropertiesInRomModeOnlyDropTheMenu)
{
    startRom();
    QTest::mouseClick(find<QToolButton>("ToolBtnParameters"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(menu("EditMenu").isVisible());
    closeMenus();

    trigger(menu("EditMenu"), "Edit &Advanced ROM Properties");
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{"frmAdvanced"});
}

TEST_F(DocumentTest, ScreenDataWarnsWhenAutomatedScreenModeIsOff)
{
    startRom();
    trigger(menu("EditMenu"), "Edit &Screen Data");
    EXPECT_EQ(messages.informations(),
              std::vector<QString>{"Warning: You have not enabled \"Automated Screen Mode\" (on "
                                   "the Advanced ROM Properties form)."});
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{"frmScreenEdit"});

    messages.clear();
    rom().AdvancedParams.ScreenEnable = 1;
    trigger(menu("EditMenu"), "Edit &Screen Data");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(dialogs.shown().size(), 2u);
}

TEST_F(DocumentTest, ApplyOfTheAdvancedDialogMarksTheDocumentModified)
{
    TfrmMain& w = startRom();
    dialogs.SetWhileShown([&](QDialog& d) {
        d.show();
        d.findChild<QSlider*>("tbarLcdBrightness")->setValue(3);
        child<TfrmAdvanced>().ApplyButton()->click();
        d.reject();
    });
    trigger(menu("EditMenu"), "Edit &Advanced ROM Properties");
    EXPECT_TRUE(doc().Modified());
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 3);
    EXPECT_TRUE(w.windowTitle().endsWith('*'));
}

} // namespace
} // namespace tessaron::test
