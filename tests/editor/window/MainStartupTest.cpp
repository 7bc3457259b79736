// Start-up: settings file, edit mode, command-line file, caption, tool bar and
// the window's frame.
#include "MainWindowFixture.h"

#include "editor/window/EditorSettings.h"

#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

namespace tessaron::test {
namespace {

using StartupTest = MainWindowTest;

TEST_F(StartupTest, WithoutSettingsFileStartsInUserModeOnTwentyKeysAndChannelOne)
{
    TfrmMain& w = start();
    EXPECT_FALSE(romEditMode());
    EXPECT_EQ(midiChannel(), 1);
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled");
    EXPECT_FALSE(doc().Modified());
    EXPECT_FALSE(find<QToolButton>("ToolBtnSave")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>("rbModel510")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("rbModel514")->isChecked());
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc().RomFileName(), "");
    EXPECT_EQ(doc().DownloadFile(), "");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(StartupTest, FirstShowingWritesTheLayoutSoTheFileExistsAfterEveryStart)
{
    start({}, false);
    EXPECT_FALSE(home.exists("Plindorax.ini")) << "written only when the window is shown";
    window().show();
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "2");
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "MIDI_Channel"), "<missing>");
}

TEST_F(StartupTest, TwelveKeyLayoutIsReadAndSelected)
{
    writeSettings("[CONFIGURATION]\r\nKeypad_Layout=1\r\n");
    start();
    EXPECT_TRUE(find<QRadioButton>("rbModel514")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("rbModel510")->isChecked());
    EXPECT_EQ(pressedKey(), 4) << "the key captioned 7";
    EXPECT_FALSE(find<QToolButton>("ToolButtonKeyLabels")->isEnabled());
}

TEST_F(StartupTest, UnknownLayoutEndsAsTwentyKeysAndIsRewritten)
{
    writeSettings("[CONFIGURATION]\r\nKeypad_Layout=7\r\n");
    start({}, false);
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "7");
    window().show();
    EXPECT_TRUE(find<QRadioButton>("rbModel510")->isChecked());
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "2");
}

TEST_F(StartupTest, MidiChannelKeepsItsLowByteThenClampsToOneToSixteen)
{
    const std::pair<const char*, int> cases[] = {{"0", 1},   {"17", 16},  {"-1", 16}, {"257", 1},
                                                 {"12", 12}, {"junk", 1}, {"16", 16}};
    for (const auto& [text, expected] : cases) {
        writeSettings(std::string("[CONFIGURATION]\r\nMIDI_Channel=") + text + "\r\n");
        EXPECT_EQ(ReadEditorSettings(home.file("Plindorax.ini")).MidiChannel, expected) << text;
    }
    writeSettings("[CONFIGURATION]\r\nMIDI_Channel=-1\r\n");
    start();
    EXPECT_EQ(midiChannel(), 16);
}

TEST_F(StartupTest, AdvancedEnableStartsRomEditMode)
{
    TfrmMain& w = startRom();
    EXPECT_TRUE(romEditMode());
    EXPECT_EQ(w.windowTitle(), " [ROM Edit Mode]   Plindorax - untitled");
    QToolButton* properties = find<QToolButton>("ToolBtnParameters");
    EXPECT_EQ(properties->text(), "ROM Properties");
    ASSERT_EQ(properties->menu(), &menu("EditMenu"));
    ASSERT_EQ(menu("EditMenu").actions().size(), 2);
    EXPECT_EQ(menu("EditMenu").actions()[0]->text(), "Edit &Advanced ROM Properties");
    EXPECT_EQ(menu("EditMenu").actions()[1]->text(), "Edit &Screen Data");
}

TEST_F(StartupTest, UserModeHasAPlainPropertiesButton)
{
    start();
    QToolButton* properties = find<QToolButton>("ToolBtnParameters");
    EXPECT_EQ(properties->text(), "Properties");
    EXPECT_EQ(properties->menu(), nullptr);
}

TEST_F(StartupTest, CtrlAtStartUpAsksForTheModeAndTheAnswerIsNotStored)
{
    writeSettings("[CONFIGURATION]\r\nAdvanced_Enable=1\r\n");
    keyboard.ctrl = true;
    messages.QueueAnswer(MessageAnswer::No);
    TfrmMain& w = start();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].kind, Kind::YesNo);
    EXPECT_EQ(messages.shown()[0].caption, "Plindorax Edit Mode Selection");
    EXPECT_EQ(messages.shown()[0].text, "Do you wish to enter advanced ROM Edit mode?");
    EXPECT_FALSE(romEditMode());
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled");
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Advanced_Enable"), "1");
}

TEST_F(StartupTest, CtrlAndYesEntersRomEditModeWhateverTheFileSays)
{
    keyboard.ctrl = true;
    messages.QueueAnswer(MessageAnswer::Yes);
    start();
    EXPECT_TRUE(romEditMode());
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Advanced_Enable"), "<missing>");
}

TEST_F(StartupTest, CommandLineFileIsOpenedLikeOpen)
{
    start();
    insertRaw('x');
    ASSERT_TRUE(saveAs(home.file("keys.ckd")));
    TearDown();

    TfrmMain& w = start({QString::fromStdString(home.file("keys.ckd"))});
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - keys.ckd");
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("keys.ckd"));
    EXPECT_EQ(doc().DownloadFile(), home.file("keys.hex"));
    EXPECT_EQ(items(), std::vector<int>{'x'});
    EXPECT_FALSE(doc().Modified());
}

TEST_F(StartupTest, CommandLineFileIsARedefinitionFileEvenInRomEditMode)
{
    home.write("keys.ckd", "[KEY0]\r\nLevel_1_Codes=41\r\n");
    writeSettings("[CONFIGURATION]\r\nAdvanced_Enable=1\r\n");
    TfrmMain& w = start({QString::fromStdString(home.file("keys.ckd"))});
    EXPECT_TRUE(romEditMode());
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - keys.ckd");
    EXPECT_EQ(items(), std::vector<int>{0x41});
    EXPECT_EQ(find<QToolButton>("ToolBtnParameters")->text(), "ROM Properties");
}

TEST_F(StartupTest, MissingCommandLineFileLoadsNothingAndSaysNothing)
{
    TfrmMain& w = start({QString::fromStdString(home.file("nothing.ckd"))});
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(w.windowTitle(), "Plindorax");
    EXPECT_TRUE(find<QToolButton>("ToolBtnSave")->isEnabled()) << "its design state";
    EXPECT_FALSE(doc().Modified());
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc().DownloadFile(), "");
}

TEST_F(StartupTest, ToolBarCaptionsAndHints)
{
    start();
    const std::pair<const char*, std::pair<const char*, const char*>> buttons[] = {
        {"ToolBtnNew", {" New ", "New (Ctrl+N)"}},
        {"ToolBtnOpen", {" Open ", "Open (Ctrl+O)"}},
        {"ToolBtnSave", {" Save ", "Save (Ctrl+S)"}},
        {"ToolBtnSaveAs", {"Save As", "Save As (Ctrl+Shift+S)"}},
        {"ToolBtnParameters", {"Properties", "Edit User/NV Tessaron properties"}},
        {"ToolBtnHelp", {" Help ", ""}},
        {"ToolButtonKeyLabels", {"Key Labels", ""}},
        {"btnWendrel", {"Set Port", "Set COM Port # for the Download and Test operations"}},
        {"ToolBtnDownload", {"Download", "Download the current file to the Tessaron"}},
        {"ToolButtonTest", {"  Test  ", "Test the Tessaron (Serial or HID)"}},
    };
    int lastRight = -1;
    for (const auto& [name, texts] : buttons) {
        QToolButton* button = find<QToolButton>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), texts.first) << name;
        EXPECT_EQ(button->toolTip(), texts.second) << name;
        EXPECT_TRUE(button->isVisible()) << name << " must fit the tool bar";
        EXPECT_GT(button->geometry().left(), lastRight) << name << " out of order";
        lastRight = button->geometry().right();
    }
    QToolButton* help = find<QToolButton>("ToolBtnHelp");
    ASSERT_EQ(help->menu(), &menu("HelpMenu"));
    ASSERT_EQ(menu("HelpMenu").actions().size(), 2);
    EXPECT_EQ(menu("HelpMenu").actions()[0]->text(), "&User Manual");
    EXPECT_EQ(menu("HelpMenu").actions()[1]->text(), "&About Plindorax");
}

TEST_F(StartupTest, RomToolBarStillFitsTheWindow)
{
    startRom();
    EXPECT_TRUE(find<QToolButton>("ToolButtonTest")->isVisible());
}

TEST_F(StartupTest, WindowIsFixedAtItsClientSizeAndCentred)
{
    TfrmMain& w = start();
    EXPECT_EQ(w.size(), QSize(627, 455));
    EXPECT_EQ(w.minimumSize(), QSize(627, 455));
    EXPECT_EQ(w.maximumSize(), QSize(627, 455));
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(w.frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(w.frameGeometry().center().y() - screen.center().y()), 1);
}

TEST_F(StartupTest, GridHasTheFocusWhenShown)
{
    start();
    window().activateWindow();
    EXPECT_EQ(window().focusWidget(), grid());
}

TEST_F(StartupTest, OtherWindowsAreMadeOnceAndHidden)
{
    start();
    EXPECT_EQ(child<TfrmParameters>().objectName(), "frmParameters");
    EXPECT_EQ(child<TfrmAdvanced>().objectName(), "frmAdvanced");
    EXPECT_EQ(child<TfrmScreenEdit>().objectName(), "frmScreenEdit");
    EXPECT_FALSE(child<TfrmMidiEvents>().isVisible());
    EXPECT_FALSE(child<TfrmMacroLenWarning>().isVisible());
    EXPECT_FALSE(window().Editing().HideLengthWarning());
    EXPECT_EQ(window().Editing().ModifierFlags(), 0);
}

} // namespace
} // namespace tessaron::test
