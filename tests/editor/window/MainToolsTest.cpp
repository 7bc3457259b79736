// Download, Set Port, Test, key labels, the manual and the About box; the port
// panel. Some tests start stand-in scripts of the sibling programs for real.
#include "MainWindowFixture.h"

#include "common/QtLauncher.h"
#include "common/SuiteFolder.h"
#include "editor/window/About.h"

#include <QFile>
#include <QLabel>
#include <QToolButton>

namespace tessaron::test {
namespace {

class ToolsTest : public MainWindowTest
{
protected:
    // Set Port, after which the panel reads the loader's settings again (the
    // recording launcher leaves them as they are).
    void setPort() { click("btnWendrel"); }
};

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

const QString LoaderMissing = "Could not find \"Tavrix\" loader program. Make sure it is located "
                              "in the same directory as this application.";
const QString PortProgramMissing = "Could not find \"Wendrel\".  Make sure it is located in the "
                                   "same directory as this application.";
const QString TestProgramMissing = "Could not find the Windows Ruskel Program.  Make sure it is "
                                   "located in the same directory as this application.";
const QString NoFile = "Please open a Tessaron file before attempting to download.";
const QString PortHint = "Click \"Set Port\" to set the Tessaron COM port";
const QString HidHint = "After download, Host Mode will be set to HID (PC Keybd)";

// Where the window finds a sibling program: the build's own programs sit
// beside the tests, so they are found unless the suite folder has one.
QString siblingPath(const char* name)
{
    return q(SiblingProgramPath(name));
}

// A program of that name in the suite folder that cannot start, so that the
// build's own program beside the tests is not used.
void unstartable(const TempHome& home, const std::string& name)
{
    QFile::setPermissions(q(home.write(name, "no program\n")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QColor textColour(QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

// The port panel.

TEST_F(ToolsTest, PortPanelWithoutLoaderSettings)
{
    start();
    QLabel* panel = find<QLabel>("panelPort");
    EXPECT_EQ(panel->text(), "Port: <not set>");
    EXPECT_EQ(panel->toolTip(), PortHint);
    EXPECT_EQ(textColour(panel), QColor(255, 0, 0));
}

TEST_F(ToolsTest, PortPanelShowsTheComPortAndItsType)
{
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=3\r\nComType=U\r\n");
    start();
    QLabel* panel = find<QLabel>("panelPort");
    EXPECT_EQ(panel->text(), "Port: COM3 (USB)");
    EXPECT_EQ(textColour(panel), QColor(0, 128, 0));
    EXPECT_EQ(panel->toolTip(), PortHint);

    writeLoaderSettings("[Com Port Configuration]\r\nComPort=3\r\nComType=u\r\n");
    setPort();
    EXPECT_EQ(panel->text(), "Port: COM3");
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=12\r\nComType=R\r\n");
    setPort();
    EXPECT_EQ(panel->text(), "Port: COM12 (DB9)");
}

TEST_F(ToolsTest, KeyboardPortKeepsWhatThePanelShowed)
{
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=4\r\nComType=R\r\n");
    start();
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=-1\r\n");
    setPort();
    QLabel* panel = find<QLabel>("panelPort");
    EXPECT_EQ(panel->text(), "Port: COM4 (DB9)");
    EXPECT_EQ(textColour(panel), QColor(0, 128, 0));
}

TEST_F(ToolsTest, HidKeyboardModeIsShownOnThePanel)
{
    start();
    keypad().Operating_Mode = 0x30;
    setPort();
    QLabel* panel = find<QLabel>("panelPort");
    EXPECT_EQ(panel->text(), "Port: <not set> >> HID");
    EXPECT_EQ(textColour(panel), QColor(0, 128, 0));
    EXPECT_EQ(panel->toolTip(), HidHint);

    keypad().Operating_Mode = 0;
    rom().AdvancedParams.HostType = 3;
    setPort();
    EXPECT_EQ(panel->text(), "Port: <not set> >> HID") << "HostType counts in USER mode too";
}

// Refreshing while the port reads as a keyboard must not pile up suffixes.
TEST_F(ToolsTest, HidSuffixIsShownOnceWhateverTheRefreshes)
{
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=-1\r\n");
    start();
    keypad().Operating_Mode = 0x30;
    setPort();
    setPort();
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: <not set> >> HID");
    keypad().Operating_Mode = 0;
    setPort();
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: <not set>");
    EXPECT_EQ(textColour(find<QLabel>("panelPort")), QColor(255, 0, 0));
}

TEST_F(ToolsTest, PanelIsRefreshedAfterNewAndOpenOnly)
{
    start();
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=2\r\n");
    type("a");
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: <not set>");
    messages.QueueAnswer(MessageAnswer::No);
    click("ToolBtnNew");
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: COM2");
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=5\r\n");
    files.QueueCancel();
    click("ToolBtnOpen");
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: COM5");
}

// Download.

TEST_F(ToolsTest, DownloadRefusesUnsavedChanges)
{
    start();
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    type("a");
    QTest::mouseClick(find<QToolButton>("ToolBtnDownload"), Qt::LeftButton);
    EXPECT_EQ(messages.errors(),
              std::vector<QString>{"You must save your file before downloading it to the keypad."});
    EXPECT_TRUE(programs.started().empty());
}

TEST_F(ToolsTest, DownloadWithoutAFileInBothModes)
{
    start();
    click("ToolBtnDownload");
    click("ToolBtnNew");
    click("ToolBtnDownload");
    EXPECT_EQ(messages.errors(), (std::vector<QString>{NoFile, NoFile}));
    TearDown();

    messages.clear();
    startRom();
    click("ToolBtnDownload");
    click("ToolBtnNew");
    click("ToolBtnDownload");
    EXPECT_EQ(messages.errors(), (std::vector<QString>{NoFile, NoFile}));
    EXPECT_TRUE(programs.started().empty());
}

TEST_F(ToolsTest, DownloadStartsTheLoaderWithTheSavedImage)
{
    start();
    home.write("my keys/.keep", "");
    ASSERT_TRUE(saveAs(home.file("my keys/a.ckd")));
    QTest::mouseClick(find<QToolButton>("ToolBtnDownload"), Qt::LeftButton);
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].kind, FakeLauncher::Kind::Program);
    EXPECT_EQ(programs.started()[0].program, siblingPath("Tavrix"));
    EXPECT_EQ(programs.started()[0].parameters, q("\"" + home.file("my keys/a.hex") + "\""));
    EXPECT_EQ(programs.started()[0].arguments, QStringList{q(home.file("my keys/a.hex"))});
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ToolsTest, DownloadAfterOpenUsesTheDerivedImageEvenIfMissing)
{
    home.write("b.ckd", "[KEY0]\r\nLevel_1_Codes=41\r\n");
    start();
    files.QueueAnswer(q(home.file("b.ckd")));
    click("ToolBtnOpen");
    ASSERT_FALSE(home.exists("b.hex"));
    click("ToolBtnDownload");
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].arguments, QStringList{q(home.file("b.hex"))});
}

TEST_F(ToolsTest, DownloadHandsOverAPathWithQuotesExactly)
{
    start();
    ASSERT_TRUE(saveAs(home.file("say \"hi\"\\.ckd")));
    click("ToolBtnDownload");
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].arguments, QStringList{q(home.file("say \"hi\"\\.hex"))});
}

TEST_F(ToolsTest, DownloadInRomModeSendsTheRomFile)
{
    startRom();
    ASSERT_TRUE(saveAs(home.file("shop.rom")));
    click("ToolBtnDownload");
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].arguments, QStringList{q(home.file("shop.rom"))});
}

TEST_F(ToolsTest, LoaderThatCannotStartIsReported)
{
    start();
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    programs.SetSucceeds(false);
    click("ToolBtnDownload");
    EXPECT_EQ(messages.errors(), std::vector<QString>{LoaderMissing});
    EXPECT_FALSE(doc().Modified());
}

TEST_F(ToolsTest, RealLoaderStandInReceivesThePathAsItsOnlyArgument)
{
    QtLauncher real;
    launcher = &real;
    standIn("Tavrix");
    start();
    home.write("with space/.keep", "");
    ASSERT_TRUE(saveAs(home.file("with space/k.ckd")));
    click("ToolBtnDownload");
    ASSERT_TRUE(QTest::qWaitFor([&] { return home.exists("Tavrix.args"); }));
    EXPECT_EQ(home.read("Tavrix.args"), home.file("with space/k.hex") + "\n");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ToolsTest, RealLoaderMissingIsReported)
{
    QtLauncher real;
    launcher = &real;
    unstartable(home, "Tavrix");
    start();
    ASSERT_TRUE(saveAs(home.file("a.ckd")));
    click("ToolBtnDownload");
    EXPECT_EQ(messages.errors(), std::vector<QString>{LoaderMissing});
}

// Set Port.

TEST_F(ToolsTest, SetPortWaitsForThePortProgramAndShowsItsChoice)
{
    QtLauncher real;
    launcher = &real;
    standIn("Wendrel",
            "sleep 0.6\nprintf '[Com Port Configuration]\\r\\nComPort=7\\r\\nComType=R\\r\\n' > '" +
                home.file("Tavrix.ini") + "'");
    TfrmMain& w = start();
    QTest::mouseClick(find<QToolButton>("btnWendrel"), Qt::LeftButton);
    EXPECT_TRUE(home.exists("Wendrel.args")) << "the click returns once the program has ended";
    EXPECT_EQ(home.read("Wendrel.args"), "") << "no arguments";
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: COM7 (DB9)");
    EXPECT_TRUE(messages.shown().empty());
    (void)w;
}

TEST_F(ToolsTest, SetPortWithoutThePortProgramStillRefreshesThePanel)
{
    QtLauncher real;
    launcher = &real;
    unstartable(home, "Wendrel");
    start();
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=9\r\n");
    click("btnWendrel");
    EXPECT_EQ(messages.errors(), std::vector<QString>{PortProgramMissing});
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: COM9");
}

TEST_F(ToolsTest, SetPortRunsThePortProgramFromTheSuiteFolder)
{
    start();
    programs.SetWhileRunning(
        [&] { writeLoaderSettings("[Com Port Configuration]\r\nComPort=1\r\nComType=U\r\n"); });
    click("btnWendrel");
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].kind, FakeLauncher::Kind::RunAndWait);
    EXPECT_EQ(programs.started()[0].program, siblingPath("Wendrel"));
    EXPECT_EQ(find<QLabel>("panelPort")->text(), "Port: COM1 (USB)");
    EXPECT_FALSE(doc().Modified());
}

// Test.

TEST_F(ToolsTest, TestChoosesTheProgramByTheLoadersPort)
{
    start();
    click("ToolButtonTest"); // no Tavrix.ini: port 0
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=5\r\n");
    click("ToolButtonTest");
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=-1\r\n");
    click("ToolButtonTest");
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=0\r\n");
    QTest::mouseClick(find<QToolButton>("ToolButtonTest"), Qt::LeftButton);

    const auto& s = programs.started();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].program, siblingPath("Qex"));
    EXPECT_EQ(s[0].parameters, "");
    EXPECT_EQ(s[1].program, siblingPath("Qex"));
    EXPECT_EQ(s[1].arguments, QStringList{"5"});
    // By its bare name, where the suite's places come first (the build's own
    // beside the tests), as Windows looks in the program's folder first.
    EXPECT_EQ(s[2].program, siblingPath("Ruskel"));
    EXPECT_EQ(s[2].parameters, "");
    EXPECT_EQ(s[3].program, siblingPath("Qex"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ToolsTest, TestBelowMinusOneStartsNothingAndReports)
{
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=-2\r\n");
    start();
    click("ToolButtonTest");
    EXPECT_TRUE(programs.started().empty());
    EXPECT_EQ(messages.errors(), std::vector<QString>{TestProgramMissing});
}

TEST_F(ToolsTest, TestOfAHidKeyboardStartsTheKeyboardTestSilently)
{
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=5\r\n");
    startRom();
    rom().AdvancedParams.HostType = 3;
    programs.SetSucceeds(false);
    click("ToolButtonTest");
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].program, siblingPath("Ruskel"));
    EXPECT_TRUE(messages.shown().empty()) << "no message in any case";
}

TEST_F(ToolsTest, TestProgramThatCannotStartIsReported)
{
    start();
    programs.SetSucceeds(false);
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=-1\r\n");
    click("ToolButtonTest");
    EXPECT_EQ(messages.errors(), std::vector<QString>{TestProgramMissing});
}

TEST_F(ToolsTest, RealSerialTestStandInGetsThePortNumber)
{
    QtLauncher real;
    launcher = &real;
    standIn("Qex");
    writeLoaderSettings("[Com Port Configuration]\r\nComPort=5\r\n");
    start();
    click("ToolButtonTest");
    ASSERT_TRUE(QTest::qWaitFor([&] { return home.exists("Qex.args"); }));
    EXPECT_EQ(home.read("Qex.args"), "5\n");
}

// Key labels, manual, About.

TEST_F(ToolsTest, KeyLabelsOpensTheChosenDocument)
{
    start();
    files.QueueAnswer(q(home.file("Keycap Labels/Create Keycaps.doc")));
    QTest::mouseClick(find<QToolButton>("ToolButtonKeyLabels"), Qt::LeftButton);
    ASSERT_EQ(files.shown().size(), 1u);
    const FileDialogOptions& o = files.shown()[0].options;
    EXPECT_EQ(o.Title, "Open Key Labels (DOC and BMP)");
    EXPECT_EQ(o.Filter, "All Files (*.*)|*.*|Keycap Bitmaps (*.bmp)|*.bmp|Keycap Documents "
                        "(*.doc)|*.doc");
    EXPECT_EQ(o.StartFolder, q(home.file("Keycap Labels")));
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].kind, FakeLauncher::Kind::Document);
    EXPECT_EQ(programs.started()[0].program, q(home.file("Keycap Labels/Create Keycaps.doc")));

    programs.SetSucceeds(false);
    files.QueueAnswer(q(home.file("Keycap Labels/mine.bmp")));
    click("ToolButtonKeyLabels");
    EXPECT_EQ(messages.errors(),
              std::vector<QString>{"Could not find \"Create Keycaps.doc\" file."});

    files.QueueCancel();
    click("ToolButtonKeyLabels");
    EXPECT_EQ(programs.started().size(), 2u) << "cancelling does nothing";
}

TEST_F(ToolsTest, UserManualIsOpenedFromTheSuiteFolder)
{
    // The suite folder's copy wins over the one the build ships beside the tests.
    home.write("Corvandelle.pdf", "%PDF-");
    start();
    trigger(menu("HelpMenu"), "&User Manual");
    ASSERT_EQ(programs.started().size(), 1u);
    EXPECT_EQ(programs.started()[0].program, q(home.file("Corvandelle.pdf")));
    programs.SetSucceeds(false);
    trigger(menu("HelpMenu"), "&User Manual");
    EXPECT_EQ(messages.errors(),
              std::vector<QString>{"Could not find \"Corvandelle.pdf\" help file."});
}

TEST_F(ToolsTest, MissingManualIsReportedByTheRealLauncher)
{
    const QString shipped = q(SharedFilePath("Corvandelle.pdf"));
    if (QFile::exists(shipped)) {
        // A build ships the manual beside its programs, so it is never missing
        // here: it is the one opened (by the recording launcher, not a viewer).
        start();
        trigger(menu("HelpMenu"), "&User Manual");
        ASSERT_EQ(programs.started().size(), 1u);
        EXPECT_EQ(programs.started()[0].program, shipped);
        EXPECT_TRUE(messages.shown().empty());
        return;
    }
    QtLauncher real;
    launcher = &real;
    start();
    trigger(menu("HelpMenu"), "&User Manual");
    EXPECT_EQ(messages.errors(),
              std::vector<QString>{"Could not find \"Corvandelle.pdf\" help file."});
}

TEST_F(ToolsTest, HelpButtonDropsItsMenu)
{
    start();
    QTest::mouseClick(find<QToolButton>("ToolBtnHelp"), Qt::LeftButton);
    EXPECT_TRUE(menu("HelpMenu").isVisible());
    closeMenus();
}

TEST_F(ToolsTest, AboutBoxIsMadeForEachShowingWithTheVersion)
{
    TfrmMain& w = start();
    QString version;
    dialogs.SetWhileShown([&](QDialog& dialog) {
        if (auto* label = dialog.findChild<QLabel*>("lblVersion")) {
            version = label->text();
        }
    });
    trigger(menu("HelpMenu"), "&About Plindorax");
    trigger(menu("HelpMenu"), "&About Plindorax");
    EXPECT_EQ(dialogs.shown(), (std::vector<QString>{"frmAbout", "frmAbout"}));
    EXPECT_EQ(version, "Version 6.0.0");
    EXPECT_EQ(w.findChildren<TfrmAbout*>().size(), 0) << "freed after each showing";
}

TEST_F(ToolsTest, ToolsLeaveTheDocumentAlone)
{
    TfrmMain& w = start();
    click("ToolButtonTest");
    click("btnWendrel");
    trigger(menu("HelpMenu"), "&User Manual");
    EXPECT_FALSE(doc().Modified());
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - untitled");
}

} // namespace
} // namespace tessaron::test
