#include "AdvancedClass.h"

namespace tessaron {

TAdvancedParams NewAdvancedParams()
{
    TAdvancedParams p{};
    p.Operating_Mode = 1;
    p.bHostEcho = 0;
    p.MaskChar = '*';
    p.ScreenEnable = 0;
    p.StartScreen = 0;
    p.CalcPrefix = 0;
    p.CalcStart = 0;
    p.LineEdit_TailCharacter = 13;
    p.CalcSuffix = 0;
    p.Key_Roll_Over = 2;
    p.Character_Pacing = 0;
    p.DOWNLOAD_DELAY = 0;
    p.LED_Function = 31;
    p.LcdSize = 32;
    p.SignOnMsgLine1 = "*  Halvorsten  *";
    p.SignOnMsgLine2 = "*   Tessaron   *";
    p.TSignOnHold = 1000;
    p.CursorStyle = 3;
    p.ScrollWrap = 0;
    p.LcdXlate = 0;
    p.LcdBrightness = 9;
    p.HostType = 0;
    p.Baud_Rate = 3;
    p.Word_Format = 8;
    p.Xon_Character = 0;
    p.Xoff_Character = 0;
    p.Command_Prefix = 64;
    p.CDC_Serial_No = 1;
    p.TBeepChirp = 10;
    p.Key_Click = 40;
    p.TBeepError = 200;
    p.TBeepCardOK = 100;
    p.CardReader_Type = 1;
    p.DeviceType = 0;
    p.CardBaudRate = 3;
    p.CardWordFormat = 0x90;
    p.CardReadMsgLine1 = " Card Read OK!  ";
    p.CardReadMsgLine2 = " ==== ==== ===  ";
    p.TCardReadHold = 1000;
    p.CardReader_StartCharacter = 0;
    p.CardStartDelim = 0;
    p.CardEndDelim = 0;
    p.CardReader_EndCharacter = 13;
    p.CardReader_Tracks = 3;
    p.CardReader_StartSentinel = 0;
    p.CardReader_EndSentinel = 13;
    p.CardReader_FieldSeparator = 9;
    p.CardReader_BadSwipe = 0;
    p.ECR_Mode = 0;
    p.ECR_String.clear();
    return p;
}

TAdvancedParams FileDefaultAdvancedParams()
{
    TAdvancedParams p = NewAdvancedParams();
    p.Character_Pacing = 2;
    p.LED_Function = 49;
    p.Xon_Character = 17;
    p.Xoff_Character = 19;
    p.Key_Click = 20;
    p.CardReader_StartCharacter = 9;
    p.CardReader_BadSwipe = 33;
    return p;
}

TScreenDataRec NewScreenData(int screenNumber)
{
    TScreenDataRec s{};
    s.TextLine1 = "This is screen " + std::to_string(screenNumber);
    s.TextLine2 = "> _____________ ";
    s.bTimeoutEnable = 0;
    s.TimeoutAction = 0;
    s.TimeoutPeriod = 1000;
    s.bCardSwipeEnable = 0;
    s.CardSwipeAction = 1;
    s.UserDataAction = 12;
    s.EnterAction = 1;
    s.UserFullAction = 9;
    s.BackNormalAction = 10;
    s.BackEmptyAction = 9;
    s.ClearNormalAction = 11;
    s.ClearEmptyAction = 9;
    s.bUserMaskInput = 0;
    s.bRequireAllData = 0;
    s.bSaveDataForNextScreen = 0;
    s.LedModes = 0;
    s.OnShowChar = 0;
    s.OnLeaveChar = 0;
    return s;
}

TScreenDataRec FileDefaultScreenData()
{
    TScreenDataRec s{};
    s.TextLine1 = PadLcdLine("Line 1");
    s.TextLine2 = PadLcdLine("Line 2");
    return s;
}

TRomRecords::TRomRecords()
{
    SetRomDefaults();
}

void TRomRecords::SetRomDefaults()
{
    AdvancedParams = NewAdvancedParams();
    for (int i = 0; i < ScreenCount; ++i) {
        ScreenData[static_cast<size_t>(i)] = NewScreenData(i + 1);
    }
    AdvancedParamsWork = AdvancedParams;
    ScreenDataWork = ScreenData;
}

std::string PadLcdLine(std::string text)
{
    if (text.size() < static_cast<size_t>(LcdLineLength)) {
        text.append(static_cast<size_t>(LcdLineLength) - text.size(), ' ');
    }
    return text;
}

} // namespace tessaron
