// The Qt services behind the small interfaces: the Windows command-line split,
// filters in Qt's form, program starts with stand-in scripts, documents, and
// the editor's settings file.
#include "common/CommandLine.h"
#include "common/QtFileDialog.h"
#include "common/QtLauncher.h"
#include "editor/window/EditorSettings.h"
#include "tests/support/TempHome.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace tessaron::test {
namespace {

using Args = std::vector<std::string>;

TEST(SplitWindowsCommandLine, QuotesGroupAndAreRemoved)
{
    EXPECT_EQ(SplitWindowsCommandLine("\"/home/a b/keys.hex\""), Args{"/home/a b/keys.hex"});
    EXPECT_EQ(SplitWindowsCommandLine("5"), Args{"5"});
    EXPECT_EQ(SplitWindowsCommandLine(""), Args{});
    EXPECT_EQ(SplitWindowsCommandLine("   "), Args{});
    EXPECT_EQ(SplitWindowsCommandLine("3 50  100"), (Args{"3", "50", "100"}));
    EXPECT_EQ(SplitWindowsCommandLine("a\"b c\"d e"), (Args{"ab cd", "e"}));
    EXPECT_EQ(SplitWindowsCommandLine("\"\""), Args{""});
    EXPECT_EQ(SplitWindowsCommandLine("\"unterminated name"), Args{"unterminated name"});
}

TEST(SplitWindowsCommandLine, BackslashesCountOnlyBeforeAQuote)
{
    EXPECT_EQ(SplitWindowsCommandLine("C:\\Keys\\a.hex"), Args{"C:\\Keys\\a.hex"});
    EXPECT_EQ(SplitWindowsCommandLine("\"C:\\Keys dir\\\\\""), Args{"C:\\Keys dir\\"});
    EXPECT_EQ(SplitWindowsCommandLine("a\\\"b"), Args{"a\"b"});
    EXPECT_EQ(SplitWindowsCommandLine("\"say \"\"hi\"\"\""), Args{"say \"hi\""});
}

TEST(QtFilterFromWindows, PairsBecomeQtFilters)
{
    EXPECT_EQ(QtFilterFromWindows("Tessaron ROM Files (*.rom)|*.rom"),
              "Tessaron ROM Files (*.rom)");
    EXPECT_EQ(QtFilterFromWindows("All Files (*.*)|*.*|Keycap Bitmaps (*.bmp)|*.bmp|Keycap "
                                  "Documents (*.doc)|*.doc"),
              "All Files (*.*);;Keycap Bitmaps (*.bmp);;Keycap Documents (*.doc)");
    EXPECT_EQ(QtFilterFromWindows("Pictures|*.bmp;*.jpg"), "Pictures (*.bmp *.jpg)");
    EXPECT_EQ(QtFilterFromWindows(""), "");
}

class LauncherTest : public ::testing::Test
{
protected:
    // A script that writes its arguments, one a line, to <name>.args.
    QString script(const std::string& name, const std::string& before = "")
    {
        const std::string args = home.file(name + ".args");
        const std::string path = home.write(
            name, "#!/bin/sh\n" + before + "\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                      args + ".tmp'\nmv '" + args + ".tmp' '" + args + "'\n");
        QFile::setPermissions(QString::fromStdString(path),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return QString::fromStdString(path);
    }
    TempHome home;
    QtLauncher launcher;
};

TEST_F(LauncherTest, ProgramGetsTheQuotedPathAsOneArgument)
{
    const QString tavrix = script("Tavrix");
    ASSERT_TRUE(launcher.StartProgram(tavrix, "\"/tmp/my keys/a.hex\""));
    ASSERT_TRUE(QTest::qWaitFor([&] { return home.exists("Tavrix.args"); }));
    EXPECT_EQ(home.read("Tavrix.args"), "/tmp/my keys/a.hex\n");
}

TEST_F(LauncherTest, ProgramWithoutParametersGetsNoArguments)
{
    ASSERT_TRUE(launcher.StartProgram(script("Qex"), ""));
    ASSERT_TRUE(QTest::qWaitFor([&] { return home.exists("Qex.args"); }));
    EXPECT_EQ(home.read("Qex.args"), "");
}

TEST_F(LauncherTest, MissingOrNonExecutableProgramFailsToStart)
{
    EXPECT_FALSE(launcher.StartProgram(QString::fromStdString(home.file("Nothing")), ""));
    const std::string plain = home.write("Plain", "#!/bin/sh\n");
    EXPECT_FALSE(launcher.StartProgram(QString::fromStdString(plain), ""));
    EXPECT_FALSE(launcher.RunAndWait(QString::fromStdString(home.file("Nothing")), nullptr));
}

TEST_F(LauncherTest, RunAndWaitReturnsOnlyWhenTheProgramHasEnded)
{
    const QString wendrel = script("Wendrel", "sleep 1");
    QWidget window;
    window.show();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(launcher.RunAndWait(wendrel, &window));
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_TRUE(home.exists("Wendrel.args")) << "it has finished its work";
}

TEST_F(LauncherTest, DocumentThatDoesNotExistIsNotOpened)
{
    EXPECT_FALSE(launcher.OpenDocument(QString::fromStdString(home.file("Corvandelle.pdf"))));
}

TEST(EditorSettings, MissingFileGivesTheDefaults)
{
    TempHome home;
    const TEditorSettings settings = ReadEditorSettings(home.file("Plindorax.ini"));
    EXPECT_EQ(settings.KeypadLayout, 2);
    EXPECT_FALSE(settings.RomEditMode);
    EXPECT_EQ(settings.MidiChannel, 1);
    EXPECT_EQ(EditorSettingsPath(), home.file("Plindorax.ini"));
}

TEST(EditorSettings, WritesKeepTheRestOfTheFile)
{
    TempHome home;
    home.write("Plindorax.ini", "; mine\r\n[CONFIGURATION]\r\nAdvanced_Enable=1\r\nOther=x\r\n");
    WriteKeypadLayout(home.file("Plindorax.ini"), 1);
    WriteMidiChannel(home.file("Plindorax.ini"), 9);
    EXPECT_EQ(home.read("Plindorax.ini"), "; mine\r\n[CONFIGURATION]\r\nAdvanced_Enable=1\r\n"
                                          "Other=x\r\nKeypad_Layout=1\r\nMIDI_Channel=9\r\n");
    const TEditorSettings settings = ReadEditorSettings(home.file("Plindorax.ini"));
    EXPECT_EQ(settings.KeypadLayout, 1);
    EXPECT_TRUE(settings.RomEditMode);
    EXPECT_EQ(settings.MidiChannel, 9);
}

TEST(EditorSettings, ChannelClampKeepsTheLowByte)
{
    EXPECT_EQ(ClampMidiChannel(0), 1);
    EXPECT_EQ(ClampMidiChannel(1), 1);
    EXPECT_EQ(ClampMidiChannel(16), 16);
    EXPECT_EQ(ClampMidiChannel(17), 16);
    EXPECT_EQ(ClampMidiChannel(-1), 16);
    EXPECT_EQ(ClampMidiChannel(256), 1);
    EXPECT_EQ(ClampMidiChannel(257), 1);
    EXPECT_EQ(ClampMidiChannel(268), 12);
}

} // namespace
} // namespace tessaron::test
