#include "ModelTestSupport.h"

#include "common/FileWriteError.h"
#include "common/IniFile.h"
#include "editor/model/RedefinitionFile.h"
#include "editor/model/RomFile.h"
#include "editor/model/RomSections.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tessaron {
namespace {

using test::AddEmptyKeySections;
using test::CrlfLines;
using test::ReadFile;
using test::RecordingMessages;
using test::SetMacro;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> ScreenLines(int n, const std::string& line1, const std::string& line2)
{
    return {"[SCREEN" + std::to_string(n) + "]",
            "TextLine1=" + line1,
            "TextLine2=" + line2,
            "bTimeoutEnable=0",
            "TimeoutAction=0",
            "TimeoutPeriod=1000",
            "bCardSwipeEnable=0",
            "CardSwipeAction=1",
            "UserDataAction=12",
            "EnterAction=1",
            "UserFullAction=9",
            "BackNormalAction=10",
            "BackEmptyAction=9",
            "ClearNormalAction=11",
            "ClearEmptyAction=9",
            "bUserMaskInput=0",
            "bRequireAllData=0",
            "bSaveDataForNextScreen=0",
            "LedModes=0",
            "OnShowChar=0",
            "OnLeaveChar=0"};
}

class RomFile : public ::testing::Test
{
protected:
    std::string path(const char* name) const { return m_dir.file(name); }

    TempDir m_dir;
    TKeypadClass m_keypad;
    TRomRecords m_rom;
    RecordingMessages m_messages;
};

TEST_F(RomFile, FreshDocumentExactText)
{
    WriteRomFile(m_keypad, m_rom, path("new.rom"));
    std::vector<std::string> lines = {"[GLOBAL_PARAMETERS]",
                                      "MODEL_NUMBER=Plindorax",
                                      "APPL_VERSION=6.0.0",
                                      "DOWNLOAD_DELAY=0",
                                      "MACRO_LENGTH=200",
                                      "LEVEL1_LENGTH=100",
                                      "Key_Roll_Over=2",
                                      "Key_Click=40",
                                      "Character_Pacing=0",
                                      "LED_Function=31",
                                      "Baud_Rate=3",
                                      "Word_Format=8",
                                      "Command_Prefix=64",
                                      "Xon_Character=0",
                                      "Xoff_Character=0",
                                      "Operating_Mode=1",
                                      "LineEdit_TailCharacter=13",
                                      "CardReader_Type=1",
                                      "CardReader_StartCharacter=0",
                                      "CardReader_StartCharacterEnable=0",
                                      "CardReader_EndCharacter=13",
                                      "CardReader_EndCharacterEnable=1",
                                      "CardReader_Tracks=3",
                                      "CardReader_StartSentinel=0",
                                      "CardReader_EndSentinel=13",
                                      "CardReader_FieldSeparator=9",
                                      "CardReader_BadSwipe=0",
                                      "CDC_Serial_No=1",
                                      "[ADVANCED_PARAMETERS]",
                                      "bHostEcho=0",
                                      "MaskChar=42",
                                      "ScreenEnable=0",
                                      "StartScreen=0",
                                      "CalcPrefix=0",
                                      "CalcStart=0",
                                      "CalcSuffix=0",
                                      "LcdSize=32",
                                      "SignOnMsgLine1=%*  Halvorsten  *%",
                                      "SignOnMsgLine2=%*   Tessaron   *%",
                                      "TSignOnHold=1000",
                                      "CursorStyle=3",
                                      "ScrollWrap=0",
                                      "LcdXlate=0",
                                      "LcdBrightness=9",
                                      "HostType=0",
                                      "TBeepChirp=10",
                                      "TBeepError=200",
                                      "TBeepCardOK=100",
                                      "CardBaudRate=3",
                                      "CardWordFormat=144",
                                      "DeviceType=0",
                                      "CardReadMsgLine1=% Card Read OK!  %",
                                      "CardReadMsgLine2=% ==== ==== ===  %",
                                      "TCardReadHold=1000",
                                      "CardStartDelim=0",
                                      "CardEndDelim=0",
                                      "ECR_Mode=0",
                                      "ECR_String="};
    AddEmptyKeySections(lines);
    for (int n = 1; n <= ScreenCount; ++n) {
        for (const std::string& line :
             ScreenLines(n, "%This is screen " + std::to_string(n) + "%", "%> _____________ %")) {
            lines.push_back(line);
        }
    }
    EXPECT_EQ(ReadFile(path("new.rom")), CrlfLines(lines));
    EXPECT_EQ(IniFile(path("new.rom")).sectionNames().size(), 1u + 1 + 20 + 8);
}

TEST_F(RomFile, OneLineLcdEmptiesSecondLines)
{
    m_rom.AdvancedParams.LcdSize = 16;
    m_rom.AdvancedParams.SignOnMsgLine1 = "AB";
    WriteRomFile(m_keypad, m_rom, path("one.rom"));
    const IniFile ini(path("one.rom"));
    EXPECT_EQ(ini.readString("ADVANCED_PARAMETERS", "SignOnMsgLine1", ""),
              "%AB" + std::string(14, ' ') + "%");
    EXPECT_EQ(ini.readString("ADVANCED_PARAMETERS", "SignOnMsgLine2", ""), "%%");
    EXPECT_EQ(ini.readString("ADVANCED_PARAMETERS", "CardReadMsgLine2", ""), "%%");
    EXPECT_EQ(ini.readString("SCREEN4", "TextLine2", ""), "%%");
    EXPECT_EQ(ini.readString("SCREEN4", "TextLine1", ""), "%This is screen 4%");
    // The writer leaves the document alone; a save fits the document copies
    // in place before it writes.
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine1, "AB");
    FitLcdTexts(m_rom);
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine1, "AB" + std::string(14, ' '));
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine2, "");
    EXPECT_EQ(m_rom.ScreenData[3].TextLine2, "");

    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("one.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine1, "AB" + std::string(14, ' '));
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine2, "");
    EXPECT_EQ(m_rom.ScreenData[3].TextLine2, "");
}

TEST_F(RomFile, OneLineLcdEmptiesSecondLinesOnReading)
{
    WriteFile(path("r.rom"), "[ADVANCED_PARAMETERS]\nSignOnMsgLine2=%two%\nLcdSize=16\n"
                             "[SCREEN1]\nTextLine2=%two%\n");
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("r.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine2, "");
    EXPECT_EQ(m_rom.AdvancedParams.CardReadMsgLine2, "");
    EXPECT_EQ(m_rom.ScreenData[0].TextLine2, "");
    EXPECT_EQ(m_rom.ScreenData[1].TextLine2, "");
    EXPECT_EQ(m_rom.AdvancedParams.SignOnMsgLine1, "*  Halvorsten  *");
}

TEST_F(RomFile, QuotedTexts)
{
    const struct
    {
        const char* value;
        std::string text;
    } cases[] = {
        {"%AB%", "AB" + std::string(14, ' ')},
        {"%100%% sure%", "100% sure" + std::string(7, ' ')},
        {"%%%%", "%" + std::string(15, ' ')},
        {"%%%%%", "%%" + std::string(14, ' ')}, // no closing: kept to the end
        {"%a%b%", "a" + std::string(15, ' ')},
        {"%no closing", "no closing" + std::string(6, ' ')}, // kept to the end
        {"%ends in doubled%%", "ends in doubled%"},
        {"plain", std::string(16, ' ')},
        {"", std::string(16, ' ')},
        {"%%", std::string(16, ' ')},
        {"%", std::string(16, ' ')},
        {"%0123456789abcdefXYZ%", "0123456789abcdefXYZ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        WriteFile(path("q.rom"), std::string("[SCREEN3]\nTextLine1=") + c.value + "\n");
        ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("q.rom"), &m_messages));
        EXPECT_EQ(m_rom.ScreenData[2].TextLine1, c.text);
    }
}

TEST_F(RomFile, PercentSignsSurviveARoundTrip)
{
    for (const std::string text :
         {"%", "50% off", "%%x%%", "  lead%trail%  ", "16 chars ending%", "%%%%%%%%%%%%%%%%"}) {
        SCOPED_TRACE(text);
        m_rom.SetRomDefaults();
        m_rom.AdvancedParams.CardReadMsgLine1 = text;
        m_rom.ScreenData[5].TextLine2 = text;
        WriteRomFile(m_keypad, m_rom, path("p.rom"));
        TRomRecords back;
        ASSERT_TRUE(ReadRomFile(m_keypad, back, path("p.rom"), &m_messages));
        EXPECT_EQ(back.AdvancedParams.CardReadMsgLine1, PadLcdLine(text));
        EXPECT_EQ(back.ScreenData[5].TextLine2, PadLcdLine(text));
    }
}

TEST_F(RomFile, EcrStringIsCutToEightWithAWarning)
{
    WriteFile(path("e.rom"), "[ADVANCED_PARAMETERS]\nECR_String=123456789\n");
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("e.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams.ECR_String, "12345678");
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0],
              "Warning: ECR Suffix String has been truncated to the max width of 8 characters.");

    m_messages.shown.clear();
    WriteFile(path("e.rom"), "[ADVANCED_PARAMETERS]\nECR_String=12345678\n");
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("e.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams.ECR_String, "12345678");
    EXPECT_TRUE(m_messages.shown.empty());

    // Without a sink the reader still cuts and goes on.
    WriteFile(path("e.rom"), "[ADVANCED_PARAMETERS]\nECR_String=abcdefghijkl\n[KEY1]\n"
                             "Level_1_Codes=41\n");
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("e.rom"), nullptr));
    EXPECT_EQ(m_rom.AdvancedParams.ECR_String, "abcdefgh");
    EXPECT_EQ(m_keypad.MacroText(1, 0), "41");
}

TEST_F(RomFile, RedefinitionFileReadAsRomFile)
{
    TKeypadClass user;
    user.Key_Click = 60;
    user.Command_Prefix = 64;
    SetMacro(user, 6, 1, "41400105");
    user.SetKeyType(6, KeyTypeLevelToggle);
    WriteRedefinitionFile(user, path("doc.ckd"));

    m_rom.AdvancedParams.TBeepError = 5;
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("doc.ckd"), &m_messages));
    const TAdvancedParams& a = m_rom.AdvancedParams;
    EXPECT_EQ(a.Key_Click, 60);
    EXPECT_EQ(a.LED_Function, 49);
    EXPECT_EQ(a.Character_Pacing, 2);
    EXPECT_EQ(a.TBeepError, 200);
    EXPECT_EQ(a.Xon_Character, 0); // written by the redefinition file
    EXPECT_EQ(a.SignOnMsgLine1, "*  Halvorsten  *");
    EXPECT_EQ(a.LcdSize, 32);
    for (const TScreenDataRec& s : m_rom.ScreenData) {
        EXPECT_EQ(s, FileDefaultScreenData());
    }
    EXPECT_EQ(m_keypad.MacroText(6, 1), "41400105");
    EXPECT_EQ(m_keypad.Keys(6).KeyType, KeyTypeLevelToggle);
}

TEST_F(RomFile, FileDefaultsForMissingKeys)
{
    WriteFile(path("empty.rom"), "[GLOBAL_PARAMETERS]\n");
    m_rom.AdvancedParams.TBeepChirp = 1;
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("empty.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams, FileDefaultAdvancedParams());
    EXPECT_EQ(m_rom.ScreenData[0].TimeoutPeriod, 0);
    EXPECT_EQ(m_rom.ScreenData[0].TextLine1, "Line 1          ");
}

TEST_F(RomFile, PrefixOfTheFileDoesNotDecodeItsCodes)
{
    WriteFile(path("p.rom"), "[GLOBAL_PARAMETERS]\nCommand_Prefix=126\n"
                             "[KEY2]\nLevel_1_Codes=7e0132400132\n");
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("p.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams.Command_Prefix, 126);
    EXPECT_EQ(m_keypad.Command_Prefix, 64);
    ASSERT_EQ(m_keypad.ItemCount(2, 0), 4);
    EXPECT_EQ(m_keypad.Item(2, 0, 0), 0x7E);
    EXPECT_EQ(m_keypad.Item(2, 0, 1), 0x01);
    EXPECT_EQ(m_keypad.Item(2, 0, 2), 0x32);
    EXPECT_EQ(m_keypad.Item(2, 0, 3), DelayBase + 0x32);
}

TEST_F(RomFile, TimeoutPeriodClampAndClampsOfGlobals)
{
    WriteFile(path("t.rom"),
              "[SCREEN1]\nTimeoutPeriod=70000\n[SCREEN2]\nTimeoutPeriod=60000\n"
              "[GLOBAL_PARAMETERS]\nKey_Roll_Over=0\nCardReader_StartCharacterEnable=1\n"
              "CardReader_StartCharacter=0\nRF_Keypad_ID=4\n");
    ASSERT_TRUE(ReadRomFile(m_keypad, m_rom, path("t.rom"), &m_messages));
    EXPECT_EQ(m_rom.ScreenData[0].TimeoutPeriod, 60000);
    EXPECT_EQ(m_rom.ScreenData[1].TimeoutPeriod, 60000);
    EXPECT_EQ(m_rom.ScreenData[2].TimeoutPeriod, 0);
    EXPECT_EQ(m_rom.AdvancedParams.Key_Roll_Over, 1);
    EXPECT_EQ(m_rom.AdvancedParams.CardReader_StartCharacter, 0);
    EXPECT_EQ(m_keypad.RF_Keypad_ID, 0);
}

TEST_F(RomFile, EnableFlagsFollowTheCharacters)
{
    m_rom.AdvancedParams.CardReader_StartCharacter = 2;
    m_rom.AdvancedParams.CardReader_EndCharacter = 0;
    WriteRomFile(m_keypad, m_rom, path("f.rom"));
    const IniFile ini(path("f.rom"));
    EXPECT_EQ(ini.readString("GLOBAL_PARAMETERS", "CardReader_StartCharacterEnable", ""), "1");
    EXPECT_EQ(ini.readString("GLOBAL_PARAMETERS", "CardReader_EndCharacterEnable", ""), "0");
    EXPECT_FALSE(ini.value("GLOBAL_PARAMETERS", "RF_Keypad_ID").has_value());
}

TEST_F(RomFile, RoundTrip)
{
    TAdvancedParams& a = m_rom.AdvancedParams;
    a.Operating_Mode = 3;
    a.bHostEcho = 1;
    a.MaskChar = '#';
    a.ScreenEnable = 1;
    a.StartScreen = 8;
    a.CalcPrefix = 1;
    a.CalcStart = 2;
    a.LineEdit_TailCharacter = 3;
    a.CalcSuffix = 4;
    a.Key_Roll_Over = 1;
    a.Character_Pacing = 6;
    a.DOWNLOAD_DELAY = 90;
    a.LED_Function = 0x12;
    a.SignOnMsgLine1 = "Hello";
    a.SignOnMsgLine2 = "  World  ";
    a.TSignOnHold = 10000;
    a.CursorStyle = 1;
    a.ScrollWrap = 2;
    a.LcdXlate = 1;
    a.LcdBrightness = 4;
    a.HostType = 7;
    a.Baud_Rate = 8;
    a.Word_Format = 0x9D;
    a.Xon_Character = 11;
    a.Xoff_Character = 12;
    a.Command_Prefix = 0x7E;
    a.CDC_Serial_No = 9999;
    a.TBeepChirp = 2500;
    a.Key_Click = 250;
    a.TBeepError = 0;
    a.TBeepCardOK = 1;
    a.CardReader_Type = 3;
    a.DeviceType = 0x82;
    a.CardBaudRate = 5;
    a.CardWordFormat = 0x95;
    a.CardReadMsgLine1 = "Read";
    a.CardReadMsgLine2 = "OK";
    a.TCardReadHold = 10;
    a.CardReader_StartCharacter = 21;
    a.CardStartDelim = 22;
    a.CardEndDelim = 23;
    a.CardReader_EndCharacter = 24;
    a.CardReader_Tracks = 2;
    a.CardReader_StartSentinel = 25;
    a.CardReader_EndSentinel = 26;
    a.CardReader_FieldSeparator = 27;
    a.CardReader_BadSwipe = 28;
    a.ECR_Mode = 0x81DF;
    a.ECR_String = "SUFFIX!";
    for (int i = 0; i < ScreenCount; ++i) {
        TScreenDataRec& s = m_rom.ScreenData[static_cast<size_t>(i)];
        s.TextLine1 = "Screen " + std::to_string(i);
        s.TextLine2 = "";
        s.bTimeoutEnable = 1;
        s.TimeoutAction = static_cast<std::uint8_t>(i + 1);
        s.TimeoutPeriod = 100 * (i + 1);
        s.bCardSwipeEnable = 1;
        s.CardSwipeAction = 8;
        s.UserDataAction = 12;
        s.EnterAction = 11;
        s.UserFullAction = 10;
        s.BackNormalAction = 9;
        s.BackEmptyAction = 8;
        s.ClearNormalAction = 7;
        s.ClearEmptyAction = 6;
        s.bUserMaskInput = 1;
        s.bRequireAllData = 1;
        s.bSaveDataForNextScreen = 1;
        s.LedModes = 21;
        s.OnShowChar = 5;
        s.OnLeaveChar = 6;
    }
    SetMacro(m_keypad, 10, 0, "616263400104400c");
    m_keypad.SetMacroName(10, 0, "abc");
    m_keypad.SetKeyType(10, KeyTypeAlphaToggle);
    m_keypad.SetAutoRepeat(10, 0, 1);

    FitLcdTexts(m_rom);
    WriteRomFile(m_keypad, m_rom, path("full.rom"));
    TKeypadClass keypad;
    TRomRecords back;
    ASSERT_TRUE(ReadRomFile(keypad, back, path("full.rom"), &m_messages));
    EXPECT_EQ(back.AdvancedParams, m_rom.AdvancedParams);
    EXPECT_EQ(back.ScreenData, m_rom.ScreenData);
    EXPECT_EQ(back.AdvancedParams.SignOnMsgLine1, "Hello           ");
    EXPECT_EQ(back.AdvancedParams.SignOnMsgLine2, "  World         ");
    EXPECT_EQ(keypad.Keys(10).Levels[0].Items, m_keypad.Keys(10).Levels[0].Items);
    EXPECT_EQ(keypad.Keys(10).Levels[0].MacroName, "abc");
    EXPECT_EQ(keypad.Keys(10).KeyType, KeyTypeAlphaToggle);
    EXPECT_TRUE(m_messages.shown.empty());

    WriteRomFile(keypad, back, path("again.rom"));
    EXPECT_EQ(ReadFile(path("again.rom")), ReadFile(path("full.rom")));
}

TEST_F(RomFile, MissingFileChangesNothing)
{
    m_rom.AdvancedParams.TBeepError = 5;
    SetMacro(m_keypad, 1, 0, "41");
    EXPECT_FALSE(ReadRomFile(m_keypad, m_rom, path("none.rom"), &m_messages));
    EXPECT_EQ(m_rom.AdvancedParams.TBeepError, 5);
    EXPECT_EQ(m_keypad.MacroText(1, 0), "41");
}

TEST_F(RomFile, FailureRaisesAndKeepsTheOldFile)
{
    const std::string old = path("old.rom");
    WriteFile(old, "[GLOBAL_PARAMETERS]\r\n");
    {
        test::FileSizeLimit limit(64);
        EXPECT_THROW(WriteRomFile(m_keypad, m_rom, old), FileWriteError);
    }
    EXPECT_EQ(ReadFile(old), "[GLOBAL_PARAMETERS]\r\n");
    EXPECT_THROW(WriteRomFile(m_keypad, m_rom, path("x/y/z.rom")), FileWriteError);
}

TEST_F(RomFile, ReadingARedefinitionFileLeavesRomRecords)
{
    m_rom.AdvancedParams.TBeepError = 5;
    WriteRomFile(m_keypad, m_rom, path("r.rom"));
    m_rom.AdvancedParams.TBeepError = 6;
    ASSERT_TRUE(ReadRedefinitionFile(m_keypad, path("r.rom")));
    EXPECT_EQ(m_rom.AdvancedParams.TBeepError, 6);
}

} // namespace
} // namespace tessaron
