#include "FileIO.h"
#include "GlobalParameters.h"
#include "KeySections.h"

#include "common/FileVersion.h"
#include "common/IniFile.h"

namespace tessaron {

namespace {

constexpr char Quote = '%';

const char* const EcrTruncatedMessage =
    "Warning: ECR Suffix String has been truncated to the max width of 8 characters.";

// "%" + text + "%", every "%" inside doubled, the text padded to 16 first.
std::string quoteLcdText(const std::string& text)
{
    std::string quoted(1, Quote);
    for (char c : text) {
        quoted += c;
        if (c == Quote) {
            quoted += Quote;
        }
    }
    quoted += Quote;
    return quoted;
}

// The text between the opening "%" and the next single "%", doubled ones
// undone, padded to 16. A value that does not begin with "%" is an empty text.
// A closing "%" that is missing (a hand-edited file) is taken to be at the end
// of the value, so the text typed is kept rather than lost.
std::string unquoteLcdText(std::string_view value)
{
    std::string text;
    if (value.empty() || value.front() != Quote) {
        return PadLcdLine(text);
    }
    for (size_t i = 1; i < value.size(); ++i) {
        if (value[i] != Quote) {
            text += value[i];
        } else if (i + 1 < value.size() && value[i + 1] == Quote) {
            text += Quote;
            ++i;
        } else {
            break;
        }
    }
    return PadLcdLine(text);
}

// Pads a first line, or pads and (for a one-line LCD) empties a second line.
void fitLine(std::string& line, bool secondLine, std::uint8_t lcdSize)
{
    line = PadLcdLine(std::move(line));
    if (secondLine && lcdSize == 16) {
        line.clear();
    }
}

std::string readLcdText(const IniFile& ini, std::string_view section, std::string_view key,
                        const std::string& defaultText, bool secondLine, std::uint8_t lcdSize)
{
    const auto value = ini.value(section, key);
    std::string text = value ? unquoteLcdText(*value) : PadLcdLine(defaultText);
    fitLine(text, secondLine, lcdSize);
    return text;
}

std::string applVersion()
{
    const std::string version = OwnFileVersion();
    return version.empty() ? std::string("NA") : version.substr(0, 5);
}

// An LCD text as the file holds it: fitted, then quoted.
std::string lcdValue(const std::string& text, bool secondLine, std::uint8_t lcdSize)
{
    std::string line = text;
    fitLine(line, secondLine, lcdSize);
    return quoteLcdText(line);
}

void fitAdvanced(TAdvancedParams& a)
{
    fitLine(a.SignOnMsgLine1, false, a.LcdSize);
    fitLine(a.SignOnMsgLine2, true, a.LcdSize);
    fitLine(a.CardReadMsgLine1, false, a.LcdSize);
    fitLine(a.CardReadMsgLine2, true, a.LcdSize);
}

void writeAdvanced(IniFile& ini, const TAdvancedParams& a)
{
    const std::string_view s = AdvancedSection;
    ini.writeBool(s, "bHostEcho", a.bHostEcho != 0);
    ini.writeInt(s, "MaskChar", a.MaskChar);
    ini.writeBool(s, "ScreenEnable", a.ScreenEnable != 0);
    ini.writeInt(s, "StartScreen", a.StartScreen);
    ini.writeInt(s, "CalcPrefix", a.CalcPrefix);
    ini.writeInt(s, "CalcStart", a.CalcStart);
    ini.writeInt(s, "CalcSuffix", a.CalcSuffix);
    ini.writeInt(s, "LcdSize", a.LcdSize);
    ini.writeString(s, "SignOnMsgLine1", lcdValue(a.SignOnMsgLine1, false, a.LcdSize));
    ini.writeString(s, "SignOnMsgLine2", lcdValue(a.SignOnMsgLine2, true, a.LcdSize));
    ini.writeInt(s, "TSignOnHold", a.TSignOnHold);
    ini.writeInt(s, "CursorStyle", a.CursorStyle);
    ini.writeInt(s, "ScrollWrap", a.ScrollWrap);
    ini.writeInt(s, "LcdXlate", a.LcdXlate);
    ini.writeInt(s, "LcdBrightness", a.LcdBrightness);
    ini.writeInt(s, "HostType", a.HostType);
    ini.writeInt(s, "TBeepChirp", a.TBeepChirp);
    ini.writeInt(s, "TBeepError", a.TBeepError);
    ini.writeInt(s, "TBeepCardOK", a.TBeepCardOK);
    ini.writeInt(s, "CardBaudRate", a.CardBaudRate);
    ini.writeInt(s, "CardWordFormat", a.CardWordFormat);
    ini.writeInt(s, "DeviceType", a.DeviceType);
    ini.writeString(s, "CardReadMsgLine1", lcdValue(a.CardReadMsgLine1, false, a.LcdSize));
    ini.writeString(s, "CardReadMsgLine2", lcdValue(a.CardReadMsgLine2, true, a.LcdSize));
    ini.writeInt(s, "TCardReadHold", a.TCardReadHold);
    ini.writeInt(s, "CardStartDelim", a.CardStartDelim);
    ini.writeInt(s, "CardEndDelim", a.CardEndDelim);
    ini.writeInt(s, "ECR_Mode", a.ECR_Mode);
    ini.writeString(s, "ECR_String", a.ECR_String);
}

void writeScreen(IniFile& ini, int number, const TScreenDataRec& screen, std::uint8_t lcdSize)
{
    const std::string s = ScreenSectionName(number);
    ini.writeString(s, "TextLine1", lcdValue(screen.TextLine1, false, lcdSize));
    ini.writeString(s, "TextLine2", lcdValue(screen.TextLine2, true, lcdSize));
    ini.writeBool(s, "bTimeoutEnable", screen.bTimeoutEnable != 0);
    ini.writeInt(s, "TimeoutAction", screen.TimeoutAction);
    ini.writeInt(s, "TimeoutPeriod", screen.TimeoutPeriod);
    ini.writeBool(s, "bCardSwipeEnable", screen.bCardSwipeEnable != 0);
    ini.writeInt(s, "CardSwipeAction", screen.CardSwipeAction);
    ini.writeInt(s, "UserDataAction", screen.UserDataAction);
    ini.writeInt(s, "EnterAction", screen.EnterAction);
    ini.writeInt(s, "UserFullAction", screen.UserFullAction);
    ini.writeInt(s, "BackNormalAction", screen.BackNormalAction);
    ini.writeInt(s, "BackEmptyAction", screen.BackEmptyAction);
    ini.writeInt(s, "ClearNormalAction", screen.ClearNormalAction);
    ini.writeInt(s, "ClearEmptyAction", screen.ClearEmptyAction);
    ini.writeBool(s, "bUserMaskInput", screen.bUserMaskInput != 0);
    ini.writeBool(s, "bRequireAllData", screen.bRequireAllData != 0);
    ini.writeBool(s, "bSaveDataForNextScreen", screen.bSaveDataForNextScreen != 0);
    ini.writeInt(s, "LedModes", screen.LedModes);
    ini.writeInt(s, "OnShowChar", screen.OnShowChar);
    ini.writeInt(s, "OnLeaveChar", screen.OnLeaveChar);
}

void readAdvanced(const IniFile& ini, TAdvancedParams& a, TMessageSink* messages)
{
    const TAdvancedParams d = FileDefaultAdvancedParams();
    const std::string_view s = AdvancedSection;
    a.bHostEcho = ReadFlag(ini, s, "bHostEcho", d.bHostEcho != 0);
    a.MaskChar = ReadByte(ini, s, "MaskChar", d.MaskChar);
    a.ScreenEnable = ReadFlag(ini, s, "ScreenEnable", d.ScreenEnable != 0);
    a.StartScreen = ReadByte(ini, s, "StartScreen", d.StartScreen);
    a.CalcPrefix = ReadByte(ini, s, "CalcPrefix", d.CalcPrefix);
    a.CalcStart = ReadByte(ini, s, "CalcStart", d.CalcStart);
    a.CalcSuffix = ReadByte(ini, s, "CalcSuffix", d.CalcSuffix);
    // Before the texts: a one-line LCD empties the second lines.
    a.LcdSize = ReadByte(ini, s, "LcdSize", d.LcdSize);
    a.SignOnMsgLine1 = readLcdText(ini, s, "SignOnMsgLine1", d.SignOnMsgLine1, false, a.LcdSize);
    a.SignOnMsgLine2 = readLcdText(ini, s, "SignOnMsgLine2", d.SignOnMsgLine2, true, a.LcdSize);
    a.TSignOnHold = ini.readInt(s, "TSignOnHold", d.TSignOnHold);
    a.CursorStyle = ReadByte(ini, s, "CursorStyle", d.CursorStyle);
    a.ScrollWrap = ReadByte(ini, s, "ScrollWrap", d.ScrollWrap);
    a.LcdXlate = ReadByte(ini, s, "LcdXlate", d.LcdXlate);
    a.LcdBrightness = ReadByte(ini, s, "LcdBrightness", d.LcdBrightness);
    a.HostType = ini.readInt(s, "HostType", d.HostType);
    a.TBeepChirp = ini.readInt(s, "TBeepChirp", d.TBeepChirp);
    a.TBeepError = ini.readInt(s, "TBeepError", d.TBeepError);
    a.TBeepCardOK = ini.readInt(s, "TBeepCardOK", d.TBeepCardOK);
    a.CardBaudRate = ReadByte(ini, s, "CardBaudRate", d.CardBaudRate);
    a.CardWordFormat = ReadByte(ini, s, "CardWordFormat", d.CardWordFormat);
    a.DeviceType = ReadByte(ini, s, "DeviceType", d.DeviceType);
    a.CardReadMsgLine1 =
        readLcdText(ini, s, "CardReadMsgLine1", d.CardReadMsgLine1, false, a.LcdSize);
    a.CardReadMsgLine2 =
        readLcdText(ini, s, "CardReadMsgLine2", d.CardReadMsgLine2, true, a.LcdSize);
    a.TCardReadHold = ini.readInt(s, "TCardReadHold", d.TCardReadHold);
    a.CardStartDelim = ReadByte(ini, s, "CardStartDelim", d.CardStartDelim);
    a.CardEndDelim = ReadByte(ini, s, "CardEndDelim", d.CardEndDelim);
    a.ECR_Mode = ini.readInt(s, "ECR_Mode", d.ECR_Mode);
    a.ECR_String = ini.readString(s, "ECR_String", d.ECR_String);
    if (a.ECR_String.size() > static_cast<size_t>(EcrStringLimit)) {
        a.ECR_String.resize(static_cast<size_t>(EcrStringLimit));
        if (messages != nullptr) {
            messages->ShowInformation(EcrTruncatedMessage);
        }
    }
}

void readScreen(const IniFile& ini, int number, TScreenDataRec& screen, std::uint8_t lcdSize)
{
    const TScreenDataRec d = FileDefaultScreenData();
    const std::string s = ScreenSectionName(number);
    screen.TextLine1 = readLcdText(ini, s, "TextLine1", d.TextLine1, false, lcdSize);
    screen.TextLine2 = readLcdText(ini, s, "TextLine2", d.TextLine2, true, lcdSize);
    screen.bTimeoutEnable = ReadFlag(ini, s, "bTimeoutEnable", false);
    screen.TimeoutAction = ReadByte(ini, s, "TimeoutAction", 0);
    screen.TimeoutPeriod = ini.readInt(s, "TimeoutPeriod", 0);
    if (screen.TimeoutPeriod > 60000) {
        screen.TimeoutPeriod = 60000;
    }
    screen.bCardSwipeEnable = ReadFlag(ini, s, "bCardSwipeEnable", false);
    screen.CardSwipeAction = ReadByte(ini, s, "CardSwipeAction", 0);
    screen.UserDataAction = ReadByte(ini, s, "UserDataAction", 0);
    screen.EnterAction = ReadByte(ini, s, "EnterAction", 0);
    screen.UserFullAction = ReadByte(ini, s, "UserFullAction", 0);
    screen.BackNormalAction = ReadByte(ini, s, "BackNormalAction", 0);
    screen.BackEmptyAction = ReadByte(ini, s, "BackEmptyAction", 0);
    screen.ClearNormalAction = ReadByte(ini, s, "ClearNormalAction", 0);
    screen.ClearEmptyAction = ReadByte(ini, s, "ClearEmptyAction", 0);
    screen.bUserMaskInput = ReadFlag(ini, s, "bUserMaskInput", false);
    screen.bRequireAllData = ReadFlag(ini, s, "bRequireAllData", false);
    screen.bSaveDataForNextScreen = ReadFlag(ini, s, "bSaveDataForNextScreen", false);
    screen.LedModes = ReadByte(ini, s, "LedModes", 0);
    screen.OnShowChar = ReadByte(ini, s, "OnShowChar", 0);
    screen.OnLeaveChar = ReadByte(ini, s, "OnLeaveChar", 0);
}

} // namespace

bool ReadRomFile(TKeypadClass& keypad, TRomRecords& rom, const std::string& path,
                 TMessageSink* messages, std::string* refusal)
{
    const IniFile ini(path);
    if (refusal != nullptr) {
        *refusal = ini.readError();
    }
    if (!ini.existed()) {
        return false;
    }
    keypad.Reset();
    rom.SetRomDefaults();

    ReadGlobalParameters(ini, rom.AdvancedParams);
    readAdvanced(ini, rom.AdvancedParams, messages);
    rom.AdvancedParamsWork = rom.AdvancedParams;

    for (int i = 0; i < ScreenCount; ++i) {
        auto& screen = rom.ScreenData[static_cast<size_t>(i)];
        readScreen(ini, i + 1, screen, rom.AdvancedParams.LcdSize);
        rom.ScreenDataWork[static_cast<size_t>(i)] = screen;
    }

    // Decoded with the key table's own prefix, not that of AdvancedParams.
    ReadKeySections(ini, keypad);
    return true;
}

void WriteRomFile(const TKeypadClass& keypad, const TRomRecords& rom, const std::string& path)
{
    IniFile ini(path);
    WriteGlobalParameters(ini, rom.AdvancedParams, applVersion());
    writeAdvanced(ini, rom.AdvancedParams);
    WriteKeySections(ini, keypad);
    for (int i = 0; i < ScreenCount; ++i) {
        writeScreen(ini, i + 1, rom.ScreenData[static_cast<size_t>(i)], rom.AdvancedParams.LcdSize);
    }
    ini.save(true);
}

void FitLcdTexts(TRomRecords& rom)
{
    fitAdvanced(rom.AdvancedParams);
    for (TScreenDataRec& screen : rom.ScreenData) {
        fitLine(screen.TextLine1, false, rom.AdvancedParams.LcdSize);
        fitLine(screen.TextLine2, true, rom.AdvancedParams.LcdSize);
    }
}

} // namespace tessaron
