#include "ModelTestSupport.h"

#include "common/FileWriteError.h"
#include "common/IniFile.h"
#include "editor/model/RedefinitionFile.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tessaron {
namespace {

using test::AddEmptyKeySections;
using test::CrlfLines;
using test::ReadFile;
using test::SetMacro;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> FreshGlobalLines()
{
    return {"[GLOBAL_PARAMETERS]",
            "MODEL_NUMBER=Plindorax",
            "DOWNLOAD_DELAY=0",
            "MACRO_LENGTH=200",
            "LEVEL1_LENGTH=100",
            "Key_Roll_Over=2",
            "Key_Click=40",
            "Character_Pacing=2",
            "LED_Function=49",
            "Baud_Rate=3",
            "Word_Format=8",
            "Command_Prefix=64",
            "Xon_Character=0",
            "Xoff_Character=0",
            "Operating_Mode=1",
            "LineEdit_TailCharacter=13",
            "CardReader_Type=1",
            "CardReader_StartCharacter=9",
            "CardReader_StartCharacterEnable=0",
            "CardReader_EndCharacter=13",
            "CardReader_EndCharacterEnable=1",
            "CardReader_Tracks=3",
            "CardReader_StartSentinel=0",
            "CardReader_EndSentinel=13",
            "CardReader_FieldSeparator=9",
            "CardReader_BadSwipe=0",
            "RF_Keypad_ID=0",
            "CDC_Serial_No=1"};
}

// A document that uses every parameter and both levels of several keys.
TKeypadClass FullDocument()
{
    TKeypadClass k;
    k.Key_Roll_Over = 1;
    k.LED_Function = 0x23;
    k.Character_Pacing = 10;
    k.DOWNLOAD_DELAY = 50;
    k.Operating_Mode = 0x31;
    k.LineEdit_TailCharacter = 10;
    k.Key_Click = 100;
    k.Baud_Rate = 7;
    k.Word_Format = 2;
    k.Xon_Character = 1;
    k.Xoff_Character = 2;
    k.CardReader_Type = 2;
    k.CardReader_StartCharacter = 3;
    k.CardReader_StartCharacterEnable = 1;
    k.CardReader_EndCharacter = 4;
    k.CardReader_EndCharacterEnable = 0;
    k.CardReader_Tracks = 1;
    k.CardReader_StartSentinel = 5;
    k.CardReader_EndSentinel = 6;
    k.CardReader_FieldSeparator = 7;
    k.CardReader_BadSwipe = 8;
    k.RF_Keypad_ID = 5;
    k.CDC_Serial_No = 4321;
    SetMacro(k, 0, 0, "48656c6c6f4001324009");
    k.SetMacroName(0, 0, "Hello");
    k.SetAutoRepeat(0, 0, 1);
    SetMacro(k, 0, 1, "4002194040");
    k.SetSendLineEditKeyASAP(0, 1, 1);
    k.SetMacroName(0, 1, "Second level");
    SetMacro(k, 19, 1, "0d0a");
    k.SetKeyType(19, KeyTypeAlphaToggle);
    SetMacro(k, 7, 0, "");
    k.SetKeyType(7, KeyTypeLevelShift);
    k.SetMacroName(7, 0, "Shift");
    return k;
}

void ExpectSameDocument(TKeypadClass& a, TKeypadClass& b)
{
    EXPECT_EQ(a.Key_Roll_Over, b.Key_Roll_Over);
    EXPECT_EQ(a.LED_Function, b.LED_Function);
    EXPECT_EQ(a.Character_Pacing, b.Character_Pacing);
    EXPECT_EQ(a.DOWNLOAD_DELAY, b.DOWNLOAD_DELAY);
    EXPECT_EQ(a.Operating_Mode, b.Operating_Mode);
    EXPECT_EQ(a.LineEdit_TailCharacter, b.LineEdit_TailCharacter);
    EXPECT_EQ(a.Key_Click, b.Key_Click);
    EXPECT_EQ(a.Command_Prefix, b.Command_Prefix);
    EXPECT_EQ(a.Baud_Rate, b.Baud_Rate);
    EXPECT_EQ(a.Word_Format, b.Word_Format);
    EXPECT_EQ(a.Xon_Character, b.Xon_Character);
    EXPECT_EQ(a.Xoff_Character, b.Xoff_Character);
    EXPECT_EQ(a.CardReader_Type, b.CardReader_Type);
    EXPECT_EQ(a.CardReader_StartCharacter, b.CardReader_StartCharacter);
    EXPECT_EQ(a.CardReader_StartCharacterEnable, b.CardReader_StartCharacterEnable);
    EXPECT_EQ(a.CardReader_EndCharacter, b.CardReader_EndCharacter);
    EXPECT_EQ(a.CardReader_EndCharacterEnable, b.CardReader_EndCharacterEnable);
    EXPECT_EQ(a.CardReader_Tracks, b.CardReader_Tracks);
    EXPECT_EQ(a.CardReader_StartSentinel, b.CardReader_StartSentinel);
    EXPECT_EQ(a.CardReader_EndSentinel, b.CardReader_EndSentinel);
    EXPECT_EQ(a.CardReader_FieldSeparator, b.CardReader_FieldSeparator);
    EXPECT_EQ(a.CardReader_BadSwipe, b.CardReader_BadSwipe);
    EXPECT_EQ(a.RF_Keypad_ID, b.RF_Keypad_ID);
    EXPECT_EQ(a.CDC_Serial_No, b.CDC_Serial_No);
    for (int key = 0; key < MaxKeys; ++key) {
        SCOPED_TRACE(key);
        EXPECT_EQ(a.Keys(key).KeyType, b.Keys(key).KeyType);
        for (int level = 0; level < 2; ++level) {
            const TMacroData& x = a.Keys(key).Levels[static_cast<size_t>(level)];
            const TMacroData& y = b.Keys(key).Levels[static_cast<size_t>(level)];
            EXPECT_EQ(x.Items, y.Items);
            EXPECT_EQ(x.AutoRepeat, y.AutoRepeat);
            EXPECT_EQ(x.SendLineEditKeyASAP, y.SendLineEditKeyASAP);
            EXPECT_EQ(x.MacroName, y.MacroName);
        }
    }
}

TEST(WriteRedefinitionFile, FreshDocumentExactText)
{
    TempDir dir;
    TKeypadClass k;
    const std::string path = dir.file("fresh.ckd");
    WriteRedefinitionFile(k, path);

    std::vector<std::string> lines = FreshGlobalLines();
    AddEmptyKeySections(lines);
    EXPECT_EQ(ReadFile(path), CrlfLines(lines));

    const IniFile ini(path);
    EXPECT_EQ(ini.sectionNames().size(), 21u);
}

TEST(WriteRedefinitionFile, WritesMacrosFlagsNamesAndTypes)
{
    TempDir dir;
    TKeypadClass k;
    SetMacro(k, 4, 0, "41400132400c");
    k.SetAutoRepeat(4, 0, 1);
    k.SetMacroName(4, 0, "Launch");
    k.SetKeyType(4, 0x82); // bit 7 is not stored
    SetMacro(k, 4, 1, "0d");
    k.SetSendLineEditKeyASAP(4, 1, 1);
    const std::string path = dir.file("k.ckd");
    WriteRedefinitionFile(k, path);

    const std::string text = ReadFile(path);
    EXPECT_NE(text.find(CrlfLines(
                  {"[KEY4]", "KeyType=2", "L1_AutoRepeat=1", "L1_SendLineEditKeyASAP=0",
                   "Level_1_Codes=41400132400c", "Level_1_Name=Launch", "L2_AutoRepeat=0",
                   "L2_SendLineEditKeyASAP=1", "Level_2_Codes=0d", "Level_2_Name=", "[KEY5]"})),
              std::string::npos)
        << text;
}

TEST(WriteRedefinitionFile, KeepsWhatItDoesNotWrite)
{
    TempDir dir;
    const std::string path = dir.file("old.ckd");
    WriteFile(path, "; my notes\n[GLOBAL_PARAMETERS]\nKey_Click=10\nOwner=me\n\n"
                    "[NOTES]\nline=kept\n[KEY3]\nextra=1\nLevel_1_Codes=41\n");
    TKeypadClass k;
    WriteRedefinitionFile(k, path);

    const std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("; my notes\n[GLOBAL_PARAMETERS]\nKey_Click=40\nOwner=me\n", 0), 0u)
        << text;
    const IniFile ini(path);
    EXPECT_EQ(ini.readString("NOTES", "line", ""), "kept");
    EXPECT_EQ(ini.readString("KEY3", "extra", ""), "1");
    EXPECT_EQ(ini.readString("KEY3", "Level_1_Codes", "?"), "");
    EXPECT_EQ(ini.readString("GLOBAL_PARAMETERS", "MODEL_NUMBER", ""), "Plindorax");
    EXPECT_EQ(ini.sectionNames().size(), 22u);
    // The file keeps its own line ends.
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(WriteRedefinitionFile, FailureRaisesAndKeepsTheOldFile)
{
    TempDir dir;
    TKeypadClass k;
    const std::string missing = dir.file("no/such/folder/a.ckd");
    try {
        WriteRedefinitionFile(k, missing);
        FAIL() << "no error raised";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
        EXPECT_EQ(e.path(), missing);
    }

    const std::string path = dir.file("old.ckd");
    WriteFile(path, "[GLOBAL_PARAMETERS]\r\nKey_Click=10\r\n");
    {
        test::FileSizeLimit limit(64);
        EXPECT_THROW(WriteRedefinitionFile(k, path), FileWriteError);
    }
    EXPECT_EQ(ReadFile(path), "[GLOBAL_PARAMETERS]\r\nKey_Click=10\r\n");
}

TEST(ReadRedefinitionFile, MissingFileChangesNothing)
{
    TempDir dir;
    TKeypadClass k;
    SetMacro(k, 2, 0, "41");
    k.Key_Click = 6;
    EXPECT_FALSE(ReadRedefinitionFile(k, dir.file("none.ckd")));
    EXPECT_FALSE(ReadRedefinitionFile(k, dir.path())); // a folder is no file
    EXPECT_EQ(k.Key_Click, 6);
    EXPECT_EQ(k.ItemCount(2, 0), 1);
}

TEST(ReadRedefinitionFile, MissingKeysReadAsFileDefaults)
{
    TempDir dir;
    const std::string path = dir.file("empty.ckd");
    WriteFile(path, "");
    TKeypadClass k;
    SetMacro(k, 2, 0, "41");
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.Xon_Character, 17);
    EXPECT_EQ(k.Xoff_Character, 19);
    EXPECT_EQ(k.Key_Click, 20);
    EXPECT_EQ(k.CardReader_BadSwipe, 33);
    EXPECT_EQ(k.Key_Roll_Over, 2);
    EXPECT_EQ(k.LED_Function, 49);
    EXPECT_EQ(k.Character_Pacing, 2);
    EXPECT_EQ(k.DOWNLOAD_DELAY, 0);
    EXPECT_EQ(k.Operating_Mode, 1);
    EXPECT_EQ(k.LineEdit_TailCharacter, 13);
    EXPECT_EQ(k.Command_Prefix, 64);
    EXPECT_EQ(k.Baud_Rate, 3);
    EXPECT_EQ(k.Word_Format, 8);
    EXPECT_EQ(k.CardReader_Type, 1);
    EXPECT_EQ(k.CardReader_StartCharacter, 9);
    EXPECT_EQ(k.CardReader_StartCharacterEnable, 0);
    EXPECT_EQ(k.CardReader_EndCharacter, 13);
    EXPECT_EQ(k.CardReader_EndCharacterEnable, 1);
    EXPECT_EQ(k.CardReader_Tracks, 3);
    EXPECT_EQ(k.CardReader_StartSentinel, 0);
    EXPECT_EQ(k.CardReader_EndSentinel, 13);
    EXPECT_EQ(k.CardReader_FieldSeparator, 9);
    EXPECT_EQ(k.RF_Keypad_ID, 0);
    EXPECT_EQ(k.CDC_Serial_No, 1);
    EXPECT_EQ(k.ItemCount(2, 0), 0);
}

TEST(ReadRedefinitionFile, ClampsAndLowBits)
{
    TempDir dir;
    const std::string path = dir.file("c.ckd");
    TKeypadClass k;
    const struct
    {
        const char* rollOver;
        int expected;
    } rolls[] = {{"0", 1}, {"7", 2}, {"1", 1}, {"2", 2}, {"258", 2}, {"256", 1}, {"-1", 2}};
    for (const auto& r : rolls) {
        WriteFile(path, std::string("[GLOBAL_PARAMETERS]\nKey_Roll_Over=") + r.rollOver + "\n");
        ASSERT_TRUE(ReadRedefinitionFile(k, path));
        EXPECT_EQ(k.Key_Roll_Over, r.expected) << r.rollOver;
    }
    WriteFile(path, "[GLOBAL_PARAMETERS]\nCDC_Serial_No=12345\nKey_Click=300\n"
                    "Baud_Rate=0x05\nXon_Character=-1\nDOWNLOAD_DELAY=1000\n");
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.CDC_Serial_No, 9999);
    EXPECT_EQ(k.Key_Click, 300 - 256);
    EXPECT_EQ(k.Baud_Rate, 5);
    EXPECT_EQ(k.Xon_Character, 255);
    EXPECT_EQ(k.DOWNLOAD_DELAY, 1000);
}

TEST(ReadRedefinitionFile, JunkValuesReadAsDefaults)
{
    TempDir dir;
    const std::string path = dir.file("junk.ckd");
    WriteFile(path, "[GLOBAL_PARAMETERS]\nKey_Click=loud\nXon_Character=\nCDC_Serial_No=12a\n"
                    "CardReader_EndCharacterEnable=yes\nCommand_Prefix=99999999999\n"
                    "[KEY1]\nKeyType=shift\nL1_AutoRepeat=7\nLevel_1_Codes=41 42 zz\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.Key_Click, 20);
    EXPECT_EQ(k.Xon_Character, 17);
    EXPECT_EQ(k.CDC_Serial_No, 1);
    EXPECT_EQ(k.CardReader_EndCharacterEnable, 1);
    EXPECT_EQ(k.Command_Prefix, 64);
    EXPECT_EQ(k.Keys(1).KeyType, 0);
    EXPECT_EQ(k.Macro(1, 0).AutoRepeat, 1);
    EXPECT_EQ(k.MacroText(1, 0), "4142");
}

TEST(ReadRedefinitionFile, AnyLetterCaseBlanksAndOrder)
{
    TempDir dir;
    const std::string path = dir.file("hand.ckd");
    WriteFile(path, "[key7]\r\n  level_1_codes =  41 42  \r\n Level_1_NAME = Hand made \r\n"
                    "keytype=1\r\n[Global_Parameters]\r\nkey_click = 12\r\n"
                    "[KEY2]\r\nLEVEL_2_CODES=43\r\nl2_autorepeat=1\r\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.Key_Click, 12);
    EXPECT_EQ(k.Keys(7).KeyType, KeyTypeLevelShift);
    EXPECT_EQ(k.MacroText(7, 0), "4142");
    EXPECT_EQ(k.Macro(7, 0).MacroName, "Hand made");
    EXPECT_EQ(k.MacroText(2, 1), "43");
    EXPECT_EQ(k.Macro(2, 1).AutoRepeat, 1);
    for (int key : {0, 1, 3, 19}) {
        EXPECT_EQ(k.ItemCount(key, 1), 0);
    }
}

TEST(ReadRedefinitionFile, SectionsThatNameNoKeyAreSkipped)
{
    TempDir dir;
    const std::string path = dir.file("odd.ckd");
    WriteFile(path, "[KEY5]\nLevel_1_Codes=35\nLevel_1_Name=five\n"
                    "[KEY20]\nLevel_1_Codes=99\nLevel_1_Name=twenty\n"
                    "[KEY]\nLevel_1_Name=none\n"
                    "[NOTES]\nLevel_1_Name=notes\n"
                    "[KEY-1]\nLevel_1_Name=minus\n"
                    "[KEY5x]\nLevel_1_Name=junk\n"
                    "[KEY99999999999999]\nLevel_1_Name=huge\n"
                    "[FOO6]\nLevel_1_Name=six\n"
                    "[KEY08]\nLevel_1_Name=eight\n"
                    "[SCREEN1]\nLevel_1_Name=screen\n"
                    "[advanced_parameters]\nLevel_1_Name=adv\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.Macro(5, 0).MacroName, "five");
    EXPECT_EQ(k.MacroText(5, 0), "35");
    // Only the first three characters are ignored.
    EXPECT_EQ(k.Macro(6, 0).MacroName, "six");
    EXPECT_EQ(k.Macro(8, 0).MacroName, "eight");
    EXPECT_EQ(k.Macro(0, 0).MacroName, "");
    EXPECT_EQ(k.Macro(1, 0).MacroName, "");
}

TEST(ReadRedefinitionFile, LaterSectionForTheSameKeyReplacesCodes)
{
    TempDir dir;
    const std::string path = dir.file("twice.ckd");
    WriteFile(path, "[KEY5]\nLevel_1_Codes=4142\n[XYZ5]\nLevel_1_Codes=43\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.MacroText(5, 0), "43");
}

TEST(ReadRedefinitionFile, CodesDecodedWithTheFilesPrefix)
{
    TempDir dir;
    const std::string path = dir.file("p.ckd");
    WriteFile(path, "[KEY1]\nLevel_1_Codes=7e01327e0c40\n"
                    "[GLOBAL_PARAMETERS]\nCommand_Prefix=126\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    ASSERT_EQ(k.ItemCount(1, 0), 3);
    EXPECT_EQ(k.Item(1, 0, 0), DelayBase + 0x32);
    EXPECT_EQ(k.Item(1, 0, 1), LedBase + 12);
    EXPECT_EQ(k.Item(1, 0, 2), 0x40);
}

TEST(ReadRedefinitionFile, LongCodeListIsCut)
{
    TempDir dir;
    const std::string path = dir.file("long.ckd");
    WriteFile(path, "[KEY0]\nLevel_1_Codes=" + std::string(400, '6') + "\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.BytesUsed(0, 0), 100);
}

TEST(RedefinitionFile, RoundTrip)
{
    TempDir dir;
    TKeypadClass original = FullDocument();
    const std::string path = dir.file("full.ckd");
    WriteRedefinitionFile(original, path);

    TKeypadClass back;
    ASSERT_TRUE(ReadRedefinitionFile(back, path));
    ExpectSameDocument(original, back);

    // Writing what was read gives the same bytes.
    WriteRedefinitionFile(back, dir.file("again.ckd"));
    EXPECT_EQ(ReadFile(dir.file("again.ckd")), ReadFile(path));
}

TEST(RedefinitionFile, NamesLoseOuterBlanks)
{
    TempDir dir;
    TKeypadClass k;
    k.SetMacroName(0, 0, "  padded  ");
    WriteRedefinitionFile(k, dir.file("n.ckd"));
    TKeypadClass back;
    ASSERT_TRUE(ReadRedefinitionFile(back, dir.file("n.ckd")));
    EXPECT_EQ(back.Macro(0, 0).MacroName, "padded");
}

TEST(ReadRedefinitionFile, RomFileGivesKeysAndGlobals)
{
    TempDir dir;
    const std::string path = dir.file("doc.rom");
    WriteFile(path, "[GLOBAL_PARAMETERS]\nMODEL_NUMBER=Plindorax\nAPPL_VERSION=6.0.0\n"
                    "Key_Click=30\nCommand_Prefix=64\n"
                    "[ADVANCED_PARAMETERS]\nLcdSize=16\nKeyType=3\n"
                    "[KEY3]\nKeyType=2\nLevel_2_Codes=61\n"
                    "[SCREEN2]\nTextLine1=%x%\nKeyType=1\n");
    TKeypadClass k;
    ASSERT_TRUE(ReadRedefinitionFile(k, path));
    EXPECT_EQ(k.Key_Click, 30);
    EXPECT_EQ(k.RF_Keypad_ID, 0);
    EXPECT_EQ(k.Keys(3).KeyType, KeyTypeLevelToggle);
    EXPECT_EQ(k.MacroText(3, 1), "61");
    for (int key : {1, 2}) {
        EXPECT_EQ(k.Keys(key).KeyType, 0) << key;
    }
}

} // namespace
} // namespace tessaron
