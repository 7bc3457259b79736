#include "editor/model/AdvancedClass.h"

#include <gtest/gtest.h>

namespace tessaron {
namespace {

TEST(AdvancedClass, NewAndFileDefaultsDiffer)
{
    const TAdvancedParams n = NewAdvancedParams();
    const TAdvancedParams f = FileDefaultAdvancedParams();
    EXPECT_EQ(n.LED_Function, 31);
    EXPECT_EQ(n.Character_Pacing, 0);
    EXPECT_EQ(f.LED_Function, 49);
    EXPECT_EQ(f.Character_Pacing, 2);
    EXPECT_EQ(n.Xon_Character, 0);
    EXPECT_EQ(f.Xon_Character, 17);
    EXPECT_EQ(n.Xoff_Character, 0);
    EXPECT_EQ(f.Xoff_Character, 19);
    EXPECT_EQ(n.Key_Click, 40);
    EXPECT_EQ(f.Key_Click, 20);
    EXPECT_EQ(n.CardReader_StartCharacter, 0);
    EXPECT_EQ(f.CardReader_StartCharacter, 9);
    EXPECT_EQ(n.CardReader_BadSwipe, 0);
    EXPECT_EQ(f.CardReader_BadSwipe, 33);

    EXPECT_EQ(n.MaskChar, '*');
    EXPECT_EQ(n.LcdSize, 32);
    EXPECT_EQ(n.SignOnMsgLine1, "*  Halvorsten  *");
    EXPECT_EQ(n.SignOnMsgLine2, "*   Tessaron   *");
    EXPECT_EQ(n.CardReadMsgLine1, " Card Read OK!  ");
    EXPECT_EQ(n.CardReadMsgLine2, " ==== ==== ===  ");
    EXPECT_EQ(n.CardWordFormat, 0x90);
    EXPECT_EQ(n.TSignOnHold, 1000);
    EXPECT_EQ(n.TCardReadHold, 1000);
    EXPECT_EQ(n.TBeepChirp, 10);
    EXPECT_EQ(n.TBeepError, 200);
    EXPECT_EQ(n.TBeepCardOK, 100);
    EXPECT_EQ(n.CursorStyle, 3);
    EXPECT_EQ(n.LcdBrightness, 9);
    EXPECT_EQ(n.CDC_Serial_No, 1);
    EXPECT_EQ(n.ECR_String, "");
    EXPECT_EQ(f.SignOnMsgLine1, n.SignOnMsgLine1);
    EXPECT_EQ(f.CardReadMsgLine2, n.CardReadMsgLine2);
}

TEST(AdvancedClass, NewScreens)
{
    for (int n = 1; n <= ScreenCount; ++n) {
        const TScreenDataRec s = NewScreenData(n);
        EXPECT_EQ(s.TextLine1, "This is screen " + std::to_string(n));
        EXPECT_EQ(s.TextLine2, "> _____________ ");
        EXPECT_EQ(s.CardSwipeAction, 1);
        EXPECT_EQ(s.UserDataAction, 12);
        EXPECT_EQ(s.EnterAction, 1);
        EXPECT_EQ(s.UserFullAction, 9);
        EXPECT_EQ(s.BackNormalAction, 10);
        EXPECT_EQ(s.BackEmptyAction, 9);
        EXPECT_EQ(s.ClearNormalAction, 11);
        EXPECT_EQ(s.ClearEmptyAction, 9);
        EXPECT_EQ(s.TimeoutPeriod, 1000);
        EXPECT_EQ(s.TimeoutAction, 0);
        EXPECT_EQ(s.LedModes, 0);
    }
    const TScreenDataRec f = FileDefaultScreenData();
    EXPECT_EQ(f.TextLine1, "Line 1          ");
    EXPECT_EQ(f.TextLine2, "Line 2          ");
    EXPECT_EQ(f.TimeoutPeriod, 0);
    EXPECT_EQ(f.UserDataAction, 0);
}

TEST(TRomRecords, DefaultsAtCreationAndReset)
{
    TRomRecords rom;
    EXPECT_EQ(rom.AdvancedParams, NewAdvancedParams());
    EXPECT_EQ(rom.ScreenData[7], NewScreenData(8));
    rom.AdvancedParams.ECR_String = "abc";
    rom.ScreenData[2].TextLine1 = "x";
    rom.SetRomDefaults();
    EXPECT_EQ(rom.AdvancedParams, NewAdvancedParams());
    EXPECT_EQ(rom.ScreenData[2], NewScreenData(3));
}

TEST(PadLcdLine, PadsToSixteen)
{
    EXPECT_EQ(PadLcdLine(""), std::string(16, ' '));
    EXPECT_EQ(PadLcdLine("AB"), "AB" + std::string(14, ' '));
    EXPECT_EQ(PadLcdLine("0123456789abcdefXY"), "0123456789abcdefXY");
}

} // namespace
} // namespace tessaron
