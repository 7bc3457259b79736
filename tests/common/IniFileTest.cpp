#include "common/IniFile.h"
#include "common/FileWriteError.h"
#include "tests/support/TempHome.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using tessaron::FileWriteError;
using tessaron::IniFile;
using tessaron::ParseProfileInt;
using tessaron::test::ReadFile;
using tessaron::test::TempDir;
using tessaron::test::WriteFile;

TEST(IniFileRead, NamesIgnoreCaseAndValuesAreTrimmed)
{
    const IniFile ini = IniFile::fromText("[Global_Parameters]\r\n  Key_Click =  20 \r\n"
                                          "Level_1_Codes= 4142 \r\n");
    EXPECT_EQ(ini.readInt("GLOBAL_PARAMETERS", "key_click", 0), 20);
    EXPECT_EQ(ini.readString("global_parameters", "LEVEL_1_CODES", ""), "4142");
    EXPECT_EQ(ini.readString("GLOBAL_PARAMETERS", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("NoSuchSection", "Key_Click", "x"), "x");
}

TEST(IniFileRead, LfAndCrlfBothRead)
{
    const IniFile lf = IniFile::fromText("[A]\nk=1\n[B]\nk=2");
    const IniFile crlf = IniFile::fromText("[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
    for (const IniFile* ini : {&lf, &crlf}) {
        EXPECT_EQ(ini->readInt("A", "k", 0), 1);
        EXPECT_EQ(ini->readInt("B", "k", 0), 2);
    }
}

TEST(IniFileRead, IntegersFollowTheProfileRules)
{
    EXPECT_EQ(ParseProfileInt("42"), 42);
    EXPECT_EQ(ParseProfileInt("-17"), -17);
    EXPECT_EQ(ParseProfileInt("+5"), 5);
    EXPECT_EQ(ParseProfileInt("0x1F"), 31);
    EXPECT_EQ(ParseProfileInt("0xfF"), 255);
    EXPECT_EQ(ParseProfileInt("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInt("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(ParseProfileInt("2147483648"));
    EXPECT_FALSE(ParseProfileInt("0x123456789"));
    EXPECT_FALSE(ParseProfileInt("12abc"));
    EXPECT_FALSE(ParseProfileInt(""));
    EXPECT_FALSE(ParseProfileInt("-"));
    EXPECT_FALSE(ParseProfileInt("0x"));
    // Only "0x" introduces hexadecimal, and only at the very start.
    for (const char* text : {"$1F", "$10", "0X1F", "-0x1F", "+0x1F", "0x-1", "&H1F", "1Fh"}) {
        EXPECT_FALSE(ParseProfileInt(text)) << text;
    }
    EXPECT_FALSE(ParseProfileInt("1 2"));

    const IniFile ini = IniFile::fromText("[S]\na=abc\nb=0x10\nc=0\nd=7\n");
    EXPECT_EQ(ini.readInt("S", "a", 99), 99);
    EXPECT_EQ(ini.readInt("S", "b", 0), 16);
    EXPECT_FALSE(ini.readBool("S", "c", true));
    EXPECT_TRUE(ini.readBool("S", "d", false));
    EXPECT_TRUE(ini.readBool("S", "a", true));
}

TEST(IniFileRead, SectionNamesInFileOrderOnce)
{
    const IniFile ini =
        IniFile::fromText("; comment\nstray=1\n[KEY5]\n[Global]\n[key5]\nx=1\n[KEY0]\n");
    const std::vector<std::string> expected{"KEY5", "Global", "KEY0"};
    EXPECT_EQ(ini.sectionNames(), expected);
    // Lines before the first section belong to no section.
    EXPECT_EQ(ini.readString("", "stray", "none"), "none");
}

TEST(IniFileRead, CommentsAndOddLinesAreNotKeys)
{
    const IniFile ini = IniFile::fromText("[S]\n;k=1\nno equals sign\n=5\nk=2\n");
    EXPECT_EQ(ini.readInt("S", "k", 0), 2);
    EXPECT_EQ(ini.readString("S", ";k", "d"), "d");
}

TEST(IniFileRead, FirstOfRepeatedKeysWins)
{
    const IniFile ini = IniFile::fromText("[S]\nk=1\nK=2\n[s]\nk=3\n");
    EXPECT_EQ(ini.readInt("S", "k", 0), 1);
}

TEST(IniFileWrite, ReplacesInPlaceAndKeepsEverythingElse)
{
    IniFile ini = IniFile::fromText("; header comment\n[A]\nx=1\n\n; about y\ny=2\n\n[B]\nz=3\n");
    ini.writeString("a", "Y", "20");
    ini.writeInt("A", "new", 7);
    ini.writeString("C", "w", "v");
    EXPECT_EQ(ini.text(),
              "; header comment\n[A]\nx=1\n\n; about y\nY=20\nnew=7\n\n[B]\nz=3\n[C]\nw=v\n");
}

TEST(IniFileWrite, NewProfileUsesCrlf)
{
    IniFile ini = IniFile::fromText("");
    ini.writeString("CONFIGURATION", "Keypad_Layout", "2");
    ini.writeBool("CONFIGURATION", "Advanced_Enable", false);
    EXPECT_EQ(ini.text(), "[CONFIGURATION]\r\nKeypad_Layout=2\r\nAdvanced_Enable=0\r\n");
}

TEST(IniFileWrite, ValuesWithBlanksReadBackTrimmedAndLineBreaksCannotSplitLines)
{
    IniFile ini = IniFile::fromText("");
    ini.writeString("S", "name", "  padded  ");
    ini.writeString("S", "evil", "a\r\n[Injected]\r\nk=1");
    EXPECT_EQ(ini.readString("S", "name", ""), "padded");
    const IniFile reread = IniFile::fromText(ini.text());
    EXPECT_FALSE(reread.hasSection("Injected"));
    EXPECT_EQ(reread.readString("S", "evil", ""), "a  [Injected]  k=1");
}

TEST(IniFileWrite, RewritingTheSameValueIsNoChange)
{
    // A profile of no file: save() fails as soon as it has something to write.
    IniFile ini = IniFile::fromText("[S]\nk=1\n");
    ini.writeInt("S", "k", 1);
    EXPECT_NO_THROW(ini.save());
    ini.writeInt("S", "k", 2);
    EXPECT_THROW(ini.save(), FileWriteError);
}

class IniFileOnDisk : public ::testing::Test
{
protected:
    TempDir m_dir;
};

TEST_F(IniFileOnDisk, MissingFileIsEmptyAndSaveCreatesIt)
{
    const std::string path = m_dir.file("Plindorax.ini");
    IniFile ini(path);
    EXPECT_FALSE(ini.existed());
    EXPECT_EQ(ini.readInt("CONFIGURATION", "MIDI_Channel", 1), 1);
    ini.writeInt("CONFIGURATION", "MIDI_Channel", 12);
    ini.save();
    EXPECT_EQ(ReadFile(path), "[CONFIGURATION]\r\nMIDI_Channel=12\r\n");
    EXPECT_EQ(IniFile(path).readInt("configuration", "midi_channel", 0), 12);
}

TEST_F(IniFileOnDisk, ExistingLfFileKeepsItsLineEnds)
{
    const std::string path = m_dir.file("Tavrix.ini");
    WriteFile(path, "[Com Port Configuration]\nComPort=3\nComType=U\n");
    IniFile ini(path);
    ini.writeString("Com Port Configuration", "DownloadDelay", "40");
    ini.save();
    EXPECT_EQ(ReadFile(path), "[Com Port Configuration]\nComPort=3\nComType=U\nDownloadDelay=40\n");
}

TEST_F(IniFileOnDisk, FailedSaveRaisesAndLeavesTheOldFile)
{
    if (::geteuid() == 0) {
        // root writes into read-only folders; use a folder that does not exist instead.
        IniFile ini(m_dir.file("no/such/folder/x.ini"));
        ini.writeInt("S", "k", 1);
        try {
            ini.save();
            FAIL() << "save into a missing folder succeeded";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Unable to write to " + m_dir.file("no/such/folder/x.ini"));
        }
        return;
    }
    const std::string path = m_dir.file("keys.ckd");
    WriteFile(path, "[A]\nk=old\n");
    ::chmod(m_dir.path().c_str(), 0500);
    IniFile ini(path);
    ini.writeString("A", "k", "new");
    EXPECT_THROW(ini.save(), FileWriteError);
    ::chmod(m_dir.path().c_str(), 0700);
    EXPECT_EQ(ReadFile(path), "[A]\nk=old\n");
}

TEST_F(IniFileOnDisk, SaveKeepsPermissionsAndLeavesNoTemporaryFile)
{
    const std::string path = m_dir.file("Corvandelle.ini");
    WriteFile(path, "[Application]\nRetryOnVComFail=1\n");
    ::chmod(path.c_str(), 0640);
    IniFile ini(path);
    ini.writeBool("Application", "RetryOnVComFail", false);
    ini.save();
    struct stat st
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(m_dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}
