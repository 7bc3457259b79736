#include "cli/Command.h"
#include "common/IniFile.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/LoaderSettings.h"
#include "editor/model/RedefinitionFile.h"
#include "editor/model/RomFile.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tessaron::cli {
namespace {

using test::TempHome;

class EditorCommands : public ::testing::Test
{
protected:
    int Run(std::initializer_list<std::string> args)
    {
        std::vector<std::string> argv = {"tessaron"};
        argv.insert(argv.end(), args);
        m_out.str("");
        m_err.str("");
        return RunTool(argv, m_out, m_err);
    }

    std::string Out() const { return m_out.str(); }
    std::string Err() const { return m_err.str(); }

    // One line on standard error, starting with the tool's name.
    void ExpectOneLineError(const std::string& part)
    {
        const std::string err = Err();
        EXPECT_EQ(err.rfind("tessaron: ", 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_NE(err.find(part), std::string::npos) << err;
    }
    // A usage error: the command's usage, one line.
    void ExpectUsage(const std::string& part)
    {
        const std::string err = Err();
        EXPECT_EQ(err.rfind("usage: tessaron ", 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_NE(err.find(part), std::string::npos) << err;
    }

    TempHome m_home;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

// What the editor's Save writes for a fresh USER document.
void SaveFresh(const std::string& path)
{
    TKeypadClass k;
    WriteRedefinitionFile(k, path);
    WriteDownloadImage(k, DownloadImagePath(path), LoaderSettingsPath());
}

TEST_F(EditorCommands, NewRedefinitionFileIsWhatSaveWrites)
{
    m_home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=2\r\n");
    ASSERT_EQ(Run({m_home.file("a.ckd")}), 2); // no command named so
    ASSERT_EQ(Run({"new", m_home.file("a.ckd")}), 0) << Err();
    EXPECT_EQ(Err(), "");
    SaveFresh(m_home.file("b.ckd"));
    EXPECT_EQ(m_home.read("a.ckd"), m_home.read("b.ckd"));
    EXPECT_EQ(m_home.read("a.hex"), m_home.read("b.hex"));
    const std::string image = m_home.read("a.hex");
    EXPECT_EQ(std::count(image.begin(), image.end(), '\n'), 188);
    EXPECT_EQ(IniFile(m_home.file("Tavrix.ini"))
                  .readString("Com Port Configuration", "DownloadDelay", "none"),
              "0");
}

TEST_F(EditorCommands, NewRomFile)
{
    ASSERT_EQ(Run({"new", m_home.file("shop.ROM")}), 0) << Err();
    TKeypadClass k;
    TRomRecords rom;
    WriteRomFile(k, rom, m_home.file("ref.rom"));
    EXPECT_EQ(m_home.read("shop.ROM"), m_home.read("ref.rom"));
    EXPECT_FALSE(m_home.exists("shop.hex"));
}

TEST_F(EditorCommands, NewFailures)
{
    EXPECT_EQ(Run({"new", m_home.file("a.txt")}), 1);
    ExpectOneLineError("unknown extension");
    EXPECT_FALSE(m_home.exists("a.txt"));

    EXPECT_EQ(Run({"new"}), 2);
    ExpectUsage("usage: tessaron new");

    const std::string unwritable = m_home.file("missing/a.ckd");
    EXPECT_EQ(Run({"new", unwritable}), 1);
    ExpectOneLineError("Unable to write to " + unwritable);
}

TEST_F(EditorCommands, HexWritesTheImageAndUpdatesTheLoader)
{
    m_home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=4\r\nDownloadDelay=1\r\n");
    m_home.write("doc.ckd", "[global_parameters]\ndownload_delay=30\n[key2]\nlevel_1_codes=41\n"
                            "l1_autorepeat=1\n");
    ASSERT_EQ(Run({"hex", m_home.file("doc.ckd")}), 0) << Err();
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, m_home.file("doc.ckd")));
    WriteDownloadImage(k, m_home.file("ref.hex"), m_home.file("other.ini"));
    EXPECT_EQ(m_home.read("doc.hex"), m_home.read("ref.hex"));
    EXPECT_NE(m_home.read("doc.hex").find("\"02\"\r\n\"41\"\r\n\"00\""), std::string::npos);
    EXPECT_EQ(
        IniFile(m_home.file("Tavrix.ini")).readInt("Com Port Configuration", "DownloadDelay", -1),
        30);

    ASSERT_EQ(Run({"hex", m_home.file("doc.ckd"), m_home.file("elsewhere.txt")}), 0) << Err();
    EXPECT_EQ(m_home.read("elsewhere.txt"), m_home.read("ref.hex"));
}

TEST_F(EditorCommands, HexFailures)
{
    EXPECT_EQ(Run({"hex", m_home.file("none.ckd")}), 1);
    ExpectOneLineError("no such file: " + m_home.file("none.ckd"));
    EXPECT_FALSE(m_home.exists("none.hex"));

    m_home.write("doc.rom", "[KEY1]\n");
    EXPECT_EQ(Run({"hex", m_home.file("doc.rom")}), 1);
    ExpectOneLineError("unknown extension");

    m_home.write("doc.ckd", "");
    EXPECT_EQ(Run({"hex", m_home.file("doc.ckd"), m_home.file("no/dir/x.hex")}), 1);
    ExpectOneLineError("Unable to write to " + m_home.file("no/dir/x.hex"));

    EXPECT_EQ(Run({"hex"}), 2);
    ExpectUsage("usage: tessaron hex");
    EXPECT_EQ(Run({"hex", "a.ckd", "b", "c"}), 2);
    ExpectUsage("usage");
}

TEST_F(EditorCommands, ResaveRedefinitionFileNormalises)
{
    m_home.write("hand.ckd", "; by hand\n[KEY3]\nLEVEL_1_CODES = 41 42 \nlevel_1_name=  Hi  \n"
                             "[GLOBAL_PARAMETERS]\nKey_Roll_Over=9\n[NOTES]\nx=1\n");
    ASSERT_EQ(Run({"resave", m_home.file("hand.ckd"), m_home.file("out.ckd")}), 0) << Err();

    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, m_home.file("hand.ckd")));
    WriteRedefinitionFile(k, m_home.file("ref.ckd"));
    EXPECT_EQ(m_home.read("out.ckd"), m_home.read("ref.ckd"));
    EXPECT_TRUE(m_home.exists("out.hex"));
    EXPECT_NE(m_home.read("out.ckd").find("Key_Roll_Over=2"), std::string::npos);
    // The input is left alone.
    EXPECT_NE(m_home.read("hand.ckd").find("; by hand"), std::string::npos);
    EXPECT_FALSE(m_home.exists("hand.hex"));
}

TEST_F(EditorCommands, ResaveOverAnExistingFileKeepsItsOtherSections)
{
    m_home.write("in.ckd", "[KEY0]\nLevel_1_Codes=61\n");
    m_home.write("out.ckd", "[MINE]\nkeep=yes\n");
    ASSERT_EQ(Run({"resave", m_home.file("in.ckd"), m_home.file("out.ckd")}), 0) << Err();
    EXPECT_EQ(IniFile(m_home.file("out.ckd")).readString("MINE", "keep", ""), "yes");
    EXPECT_EQ(IniFile(m_home.file("out.ckd")).readString("KEY0", "Level_1_Codes", ""), "61");
}

TEST_F(EditorCommands, ResaveRomFileWarnsAndGoesOn)
{
    m_home.write("in.rom", "[ADVANCED_PARAMETERS]\nECR_String=ABCDEFGHIJ\nSignOnMsgLine1=%Hi%\n");
    ASSERT_EQ(Run({"resave", m_home.file("in.rom"), m_home.file("out.rom")}), 0);
    EXPECT_EQ(Err(), "tessaron: Warning: ECR Suffix String has been truncated to the max width "
                     "of 8 characters.\n");
    EXPECT_EQ(IniFile(m_home.file("out.rom")).readString("ADVANCED_PARAMETERS", "ECR_String", ""),
              "ABCDEFGH");
    EXPECT_EQ(
        IniFile(m_home.file("out.rom")).readString("ADVANCED_PARAMETERS", "SignOnMsgLine1", ""),
        "%Hi              %");
    EXPECT_FALSE(m_home.exists("out.hex"));
}

TEST_F(EditorCommands, ResaveFailures)
{
    m_home.write("in.ckd", "");
    EXPECT_EQ(Run({"resave", m_home.file("in.ckd"), m_home.file("out.rom")}), 1);
    ExpectOneLineError("unknown extension");
    EXPECT_FALSE(m_home.exists("out.rom"));

    EXPECT_EQ(Run({"resave", m_home.file("in.ini"), m_home.file("out.ini")}), 1);
    ExpectOneLineError("unknown extension");

    EXPECT_EQ(Run({"resave", m_home.file("gone.ckd"), m_home.file("out.ckd")}), 1);
    ExpectOneLineError("no such file");
    EXPECT_FALSE(m_home.exists("out.ckd"));

    EXPECT_EQ(Run({"resave", m_home.file("in.ckd"), m_home.file("x/out.ckd")}), 1);
    ExpectOneLineError("Unable to write to " + m_home.file("x/out.ckd"));

    EXPECT_EQ(Run({"resave", m_home.file("in.ckd")}), 2);
    ExpectUsage("usage: tessaron resave");
}

TEST_F(EditorCommands, ShowRedefinitionFile)
{
    m_home.write("doc.ckd", "[GLOBAL_PARAMETERS]\nKey_Click=30\nDOWNLOAD_DELAY=20\n"
                            "[KEY4]\nKeyType=1\nLevel_2_Codes=48690d400132400c4002054040\n"
                            "Level_2_Name=Greeting\nL2_AutoRepeat=1\n"
                            "[KEY9]\nKeyType=3\n");
    ASSERT_EQ(Run({"show", m_home.file("doc.ckd")}), 0) << Err();
    const std::string out = Out();
    EXPECT_EQ(out.rfind("Redefinition file " + m_home.file("doc.ckd") + "\nParameters:\n", 0), 0u)
        << out;
    EXPECT_NE(out.find("  Key_Click                        30\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  DOWNLOAD_DELAY                   20\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  Xon_Character                    17\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Key types: KEY4 Level Shift, KEY9 Alpha Toggle\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("Macros:\n  KEY4 level 2  name \"Greeting\"  AutoRepeat 1  "
                       "SendLineEditKeyASAP 0  13 bytes\n"
                       "    [H] [i] [CR] [Dly 200] [red on] [Beep20] [@@]\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("KEY9 level"), std::string::npos) << out;
    EXPECT_EQ(Err(), "");
}

TEST_F(EditorCommands, ShowEmptyAndRomDocuments)
{
    m_home.write("empty.ckd", "");
    ASSERT_EQ(Run({"show", m_home.file("empty.ckd")}), 0);
    EXPECT_NE(Out().find("Key types: none\nMacros: none\n"), std::string::npos) << Out();

    m_home.write("doc.rom", "[ADVANCED_PARAMETERS]\nECR_String=123456789\nLcdSize=16\n"
                            "[SCREEN2]\nTextLine1=%Welcome%\n[KEY0]\nLevel_1_Codes=7a\n");
    ASSERT_EQ(Run({"show", m_home.file("doc.rom")}), 0);
    const std::string out = Out();
    EXPECT_NE(out.find("ROM file "), std::string::npos);
    EXPECT_NE(out.find("  ECR_String                       \"12345678\"\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("Screen 2:\n  TextLine1                        \"Welcome         \"\n"
                       "  TextLine2                        \"\"\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("KEY0 level 1  name \"\"  AutoRepeat 0  SendLineEditKeyASAP 0  1 bytes\n"
                       "    [z]\n"),
              std::string::npos)
        << out;
    EXPECT_NE(Err().find("ECR Suffix String has been truncated"), std::string::npos);
}

// The same walk for scripts: every field under its file key, packed fields
// in their parts, a flag as a boolean, 8-bit texts as UTF-8.
TEST_F(EditorCommands, ShowAsJson)
{
    m_home.write("doc.ckd", "[GLOBAL_PARAMETERS]\nLED_Function=18\nOperating_Mode=49\n"
                            "CardReader_StartCharacterEnable=1\n"
                            "[KEY4]\nKeyType=1\nLevel_2_Codes=48e90d\nLevel_2_Name=Gr\xfc\xdf\n");
    ASSERT_EQ(Run({"show", "--json", m_home.file("doc.ckd")}), 0) << Err();
    std::string out = Out();
    for (const std::string& part : {
             "{\n  \"file\": \"" + m_home.file("doc.ckd") + "\",\n  \"kind\": \"redefinition\",\n",
             std::string("      \"key\": \"LED_Function\",\n      \"value\": 18,\n      \"parts\": "
                         "{\n        \"green\": \"level_indicator\",\n        \"red\": "
                         "\"host_control\"\n      }\n"),
             std::string("\"key\": \"Operating_Mode\",\n      \"value\": 49,\n      \"parts\": {\n"
                         "        \"line_edit\": true,\n        \"input_masked\": false,\n"
                         "        \"host_mode\": \"hid\"\n"),
             std::string("\"key\": \"CardReader_StartCharacterEnable\",\n      \"value\": true\n"),
             std::string("  \"screens\": [],\n  \"key_types\": [\n    {\n      \"key\": 4,\n"
                         "      \"type\": \"Level Shift\"\n"),
             std::string("      \"level\": 2,\n      \"name\": \"Gr\xc3\xbc\xc3\x9f\",\n"
                         "      \"auto_repeat\": false,\n"),
             std::string("      \"codes\": \"48e90d\",\n      \"items\": [\n        \"H\",\n"),
         }) {
        EXPECT_NE(out.find(part), std::string::npos) << part << "\nin\n" << out;
    }

    m_home.write("doc.rom", "[ADVANCED_PARAMETERS]\nECR_Mode=33154\n[SCREEN3]\nLedModes=21\n");
    ASSERT_EQ(Run({"show", m_home.file("doc.rom"), "--json"}), 0) << Err();
    out = Out();
    EXPECT_NE(out.find("\"kind\": \"rom\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"enabled\": true,\n        \"concatenate\": true,\n"
                       "        \"suppress_leading_zeros\": true,\n        \"prepend_00\": false,\n"
                       "        \"track2\": false,\n        \"field\": 3\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"screen\": 3,"), std::string::npos) << out;
    EXPECT_NE(out.find("\"key\": \"LedModes\",\n          \"value\": 21,\n          \"parts\": {\n"
                       "            \"green\": \"flashing\",\n            \"red\": \"on\"\n"),
              std::string::npos)
        << out;
}

TEST_F(EditorCommands, ShowFailures)
{
    EXPECT_EQ(Run({"show", m_home.file("nothing.ckd")}), 1);
    ExpectOneLineError("no such file");
    EXPECT_EQ(Out(), "");
    EXPECT_EQ(Run({"show", m_home.file("x.hex")}), 1);
    ExpectOneLineError("unknown extension");
    EXPECT_EQ(Run({"show", m_home.path() + "/.ckd"}), 1);
    ExpectOneLineError("no such file");
}

} // namespace
} // namespace tessaron::cli
