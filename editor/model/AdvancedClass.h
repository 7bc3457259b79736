#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessaron {

constexpr int ScreenCount = 8;
constexpr int LcdLineLength = 16;
constexpr int EcrStringLimit = 8;

// The ROM properties of ROM Edit mode (names of their file keys).
struct TAdvancedParams
{
    std::uint8_t Operating_Mode;
    std::uint8_t bHostEcho;
    std::uint8_t MaskChar;
    std::uint8_t ScreenEnable;
    std::uint8_t StartScreen;
    std::uint8_t CalcPrefix;
    std::uint8_t CalcStart;
    std::uint8_t LineEdit_TailCharacter;
    std::uint8_t CalcSuffix;
    std::uint8_t Key_Roll_Over;
    std::uint8_t Character_Pacing;
    std::int32_t DOWNLOAD_DELAY;
    std::uint8_t LED_Function;
    std::uint8_t LcdSize;
    std::string SignOnMsgLine1;
    std::string SignOnMsgLine2;
    std::int32_t TSignOnHold;
    std::uint8_t CursorStyle;
    std::uint8_t ScrollWrap;
    std::uint8_t LcdXlate;
    std::uint8_t LcdBrightness;
    std::int32_t HostType;
    std::uint8_t Baud_Rate;
    std::uint8_t Word_Format;
    std::uint8_t Xon_Character;
    std::uint8_t Xoff_Character;
    std::uint8_t Command_Prefix;
    std::int32_t CDC_Serial_No;
    std::int32_t TBeepChirp;
    std::uint8_t Key_Click;
    std::int32_t TBeepError;
    std::int32_t TBeepCardOK;
    std::uint8_t CardReader_Type;
    std::uint8_t DeviceType;
    std::uint8_t CardBaudRate;
    std::uint8_t CardWordFormat;
    std::string CardReadMsgLine1;
    std::string CardReadMsgLine2;
    std::int32_t TCardReadHold;
    std::uint8_t CardReader_StartCharacter;
    std::uint8_t CardStartDelim;
    std::uint8_t CardEndDelim;
    std::uint8_t CardReader_EndCharacter;
    std::uint8_t CardReader_Tracks;
    std::uint8_t CardReader_StartSentinel;
    std::uint8_t CardReader_EndSentinel;
    std::uint8_t CardReader_FieldSeparator;
    std::uint8_t CardReader_BadSwipe;
    std::int32_t ECR_Mode;
    std::string ECR_String;

    bool operator==(const TAdvancedParams&) const = default;
};

// One LCD screen of Automated Screen Mode.
struct TScreenDataRec
{
    std::string TextLine1;
    std::string TextLine2;
    std::uint8_t bTimeoutEnable;
    std::uint8_t TimeoutAction;
    std::int32_t TimeoutPeriod;
    std::uint8_t bCardSwipeEnable;
    std::uint8_t CardSwipeAction;
    std::uint8_t UserDataAction;
    std::uint8_t EnterAction;
    std::uint8_t UserFullAction;
    std::uint8_t BackNormalAction;
    std::uint8_t BackEmptyAction;
    std::uint8_t ClearNormalAction;
    std::uint8_t ClearEmptyAction;
    std::uint8_t bUserMaskInput;
    std::uint8_t bRequireAllData;
    std::uint8_t bSaveDataForNextScreen;
    std::uint8_t LedModes;
    std::uint8_t OnShowChar;
    std::uint8_t OnLeaveChar;

    bool operator==(const TScreenDataRec&) const = default;
};

using TScreenDataArray = std::array<TScreenDataRec, ScreenCount>;

// The values of a new document (SetRomDefaults).
TAdvancedParams NewAdvancedParams();
TScreenDataRec NewScreenData(int screenNumber); // 1..8

// The values the ROM-file reader takes for missing keys.
TAdvancedParams FileDefaultAdvancedParams();
TScreenDataRec FileDefaultScreenData();

// The document's ROM records. Owned by whoever owns the document (the
// editor's main window, the tool); the dialogs edit copies of their own.
struct TRomRecords
{
    TAdvancedParams AdvancedParams = NewAdvancedParams();
    TScreenDataArray ScreenData;

    TRomRecords();

    // Sets AdvancedParams and the eight ScreenData to their new values.
    void SetRomDefaults();
};

// text padded with blanks to at least 16 characters.
std::string PadLcdLine(std::string text);

} // namespace tessaron
