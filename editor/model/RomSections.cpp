#include "RomSections.h"

#include "GlobalParameters.h"
#include "KeySections.h"

#include "common/IniFile.h"

#include <algorithm>
#include <functional>

namespace tessaron {

namespace {

using A = TAdvancedParams;
using S = TScreenDataRec;
using F = TFieldKind;

constexpr char Quote = '%';

const char* const EcrTruncatedMessage =
    "Warning: ECR Suffix String has been truncated to the max width of 8 characters.";

} // namespace

// clang-format off
const TSectionFields<TAdvancedParams, AdvancedFieldCount> AdvancedFields = {{
    {"bHostEcho", F::Flag, 0, 0, &A::bHostEcho},
    {"MaskChar", F::Number, '*', '*', &A::MaskChar},
    {"ScreenEnable", F::Flag, 0, 0, &A::ScreenEnable},
    {"StartScreen", F::Number, 0, 0, &A::StartScreen},
    {"CalcPrefix", F::Number, 0, 0, &A::CalcPrefix},
    {"CalcStart", F::Number, 0, 0, &A::CalcStart},
    {"CalcSuffix", F::Number, 0, 0, &A::CalcSuffix},
    // Before the texts: a one-line LCD empties the second lines.
    {"LcdSize", F::Number, 32, 32, &A::LcdSize},
    {"SignOnMsgLine1", F::LcdLine1, "*  Halvorsten  *", "*  Halvorsten  *", &A::SignOnMsgLine1},
    {"SignOnMsgLine2", F::LcdLine2, "*   Tessaron   *", "*   Tessaron   *", &A::SignOnMsgLine2},
    {"TSignOnHold", F::Number, 1000, 1000, &A::TSignOnHold},
    {"CursorStyle", F::Number, 3, 3, &A::CursorStyle},
    {"ScrollWrap", F::Number, 0, 0, &A::ScrollWrap},
    {"LcdXlate", F::Number, 0, 0, &A::LcdXlate},
    {"LcdBrightness", F::Number, 9, 9, &A::LcdBrightness},
    {"HostType", F::Number, 0, 0, &A::HostType},
    {"TBeepChirp", F::Number, 10, 10, &A::TBeepChirp},
    {"TBeepError", F::Number, 200, 200, &A::TBeepError},
    {"TBeepCardOK", F::Number, 100, 100, &A::TBeepCardOK},
    {"CardBaudRate", F::Number, 3, 3, &A::CardBaudRate},
    {"CardWordFormat", F::Number, 0x90, 0x90, &A::CardWordFormat},
    {"DeviceType", F::Number, 0, 0, &A::DeviceType},
    {"CardReadMsgLine1", F::LcdLine1, " Card Read OK!  ", " Card Read OK!  ", &A::CardReadMsgLine1},
    {"CardReadMsgLine2", F::LcdLine2, " ==== ==== ===  ", " ==== ==== ===  ", &A::CardReadMsgLine2},
    {"TCardReadHold", F::Number, 1000, 1000, &A::TCardReadHold},
    {"CardStartDelim", F::Number, 0, 0, &A::CardStartDelim},
    {"CardEndDelim", F::Number, 0, 0, &A::CardEndDelim},
    {"ECR_Mode", F::Number, 0, 0, &A::ECR_Mode},
    {"ECR_String", F::Text, "", "", &A::ECR_String},
}};

const TSectionFields<TScreenDataRec, ScreenFieldCount> ScreenFields = {{
    // A new screen's first line ends with the screen's number.
    {"TextLine1", F::LcdLine1, "This is screen ", "Line 1          ", &S::TextLine1},
    {"TextLine2", F::LcdLine2, "> _____________ ", "Line 2          ", &S::TextLine2},
    {"bTimeoutEnable", F::Flag, 0, 0, &S::bTimeoutEnable},
    {"TimeoutAction", F::Number, 0, 0, &S::TimeoutAction},
    // Read as at most 60000.
    {"TimeoutPeriod", F::Number, 1000, 0, &S::TimeoutPeriod},
    {"bCardSwipeEnable", F::Flag, 0, 0, &S::bCardSwipeEnable},
    {"CardSwipeAction", F::Number, 1, 0, &S::CardSwipeAction},
    {"UserDataAction", F::Number, 12, 0, &S::UserDataAction},
    {"EnterAction", F::Number, 1, 0, &S::EnterAction},
    {"UserFullAction", F::Number, 9, 0, &S::UserFullAction},
    {"BackNormalAction", F::Number, 10, 0, &S::BackNormalAction},
    {"BackEmptyAction", F::Number, 9, 0, &S::BackEmptyAction},
    {"ClearNormalAction", F::Number, 11, 0, &S::ClearNormalAction},
    {"ClearEmptyAction", F::Number, 9, 0, &S::ClearEmptyAction},
    {"bUserMaskInput", F::Flag, 0, 0, &S::bUserMaskInput},
    {"bRequireAllData", F::Flag, 0, 0, &S::bRequireAllData},
    {"bSaveDataForNextScreen", F::Flag, 0, 0, &S::bSaveDataForNextScreen},
    {"LedModes", F::Number, 0, 0, &S::LedModes},
    {"OnShowChar", F::Number, 0, 0, &S::OnShowChar},
    {"OnLeaveChar", F::Number, 0, 0, &S::OnLeaveChar},
}};
// clang-format on

namespace {

bool isLcdLine(TFieldKind kind)
{
    return kind == F::LcdLine1 || kind == F::LcdLine2;
}

// "%" + text + "%", every "%" inside doubled.
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
void fitLine(std::string& line, TFieldKind kind, std::uint8_t lcdSize)
{
    line = PadLcdLine(std::move(line));
    if (kind == F::LcdLine2 && lcdSize == 16) {
        line.clear();
    }
}

template <class Record, std::size_t Count>
void fitLines(Record& record, const TSectionFields<Record, Count>& fields, std::uint8_t lcdSize)
{
    for (const TSectionField<Record>& f : fields) {
        if (isLcdLine(f.Kind)) {
            fitLine(f.Field.Text(record), f.Kind, lcdSize);
        }
    }
}

template <class Record, std::size_t Count>
void writeSection(IniFile& ini, std::string_view section, const Record& record,
                  const TSectionFields<Record, Count>& fields, std::uint8_t lcdSize)
{
    for (const TSectionField<Record>& f : fields) {
        switch (f.Kind) {
        case F::Number:
            ini.writeInt(section, f.Key, f.Field.Get(record));
            break;
        case F::Flag:
            ini.writeBool(section, f.Key, f.Field.Get(record) != 0);
            break;
        case F::LcdLine1:
        case F::LcdLine2: {
            std::string line = f.Field.Text(record);
            fitLine(line, f.Kind, lcdSize);
            ini.writeString(section, f.Key, quoteLcdText(line));
            break;
        }
        case F::Text:
            ini.writeString(section, f.Key, f.Field.Text(record));
            break;
        }
    }
}

// The rows are read in order: lcdSize may be a field of the record that an
// earlier row reads.
template <class Record, std::size_t Count>
void readSection(const IniFile& ini, std::string_view section, Record& record,
                 const TSectionFields<Record, Count>& fields, const std::uint8_t& lcdSize)
{
    for (const TSectionField<Record>& f : fields) {
        switch (f.Kind) {
        case F::Number:
            f.Field.Set(record, ini.readInt(section, f.Key, f.File.Number));
            break;
        case F::Flag:
            f.Field.Set(record, ReadFlag(ini, section, f.Key, f.File.Number != 0));
            break;
        case F::LcdLine1:
        case F::LcdLine2: {
            const auto value = ini.value(section, f.Key);
            std::string& line = f.Field.Text(record);
            line = value ? unquoteLcdText(*value) : std::string(f.File.Text);
            fitLine(line, f.Kind, lcdSize);
            break;
        }
        case F::Text:
            f.Field.Text(record) = ini.readString(section, f.Key, f.File.Text);
            break;
        }
    }
}

} // namespace

void WriteAdvancedSection(IniFile& ini, const TAdvancedParams& params)
{
    writeSection(ini, AdvancedSection, params, AdvancedFields, params.LcdSize);
}

void ReadAdvancedSection(const IniFile& ini, TAdvancedParams& params, TMessageSink* messages)
{
    readSection(ini, AdvancedSection, params, AdvancedFields, params.LcdSize);
    if (params.ECR_String.size() > static_cast<size_t>(EcrStringLimit)) {
        params.ECR_String.resize(static_cast<size_t>(EcrStringLimit));
        if (messages != nullptr) {
            messages->ShowInformation(EcrTruncatedMessage);
        }
    }
}

void WriteScreenSection(IniFile& ini, int number, const TScreenDataRec& screen,
                        std::uint8_t lcdSize)
{
    writeSection(ini, ScreenSectionName(number), screen, ScreenFields, lcdSize);
}

void ReadScreenSection(const IniFile& ini, int number, TScreenDataRec& screen, std::uint8_t lcdSize)
{
    readSection(ini, ScreenSectionName(number), screen, ScreenFields, lcdSize);
    screen.TimeoutPeriod = std::min(screen.TimeoutPeriod, 60000);
}

void FitLcdTexts(TRomRecords& rom)
{
    fitLines(rom.AdvancedParams, AdvancedFields, rom.AdvancedParams.LcdSize);
    for (TScreenDataRec& screen : rom.ScreenData) {
        fitLines(screen, ScreenFields, rom.AdvancedParams.LcdSize);
    }
}

std::array<TRomProperty, RomPropertyCount> RomPropertiesInRecordOrder()
{
    std::array<TRomProperty, RomPropertyCount> properties{};
    size_t count = 0;
    for (const TGlobalParameter& p : GlobalParameters) {
        // A ROM flag only mirrors its character's field.
        if (p.Value == TGlobalValue::Integer && p.Rom.Exists()) {
            properties.at(count++) = {p.Key, F::Number, p.Rom};
        }
    }
    for (const TSectionField<TAdvancedParams>& f : AdvancedFields) {
        properties.at(count++) = {f.Key, f.Kind, f.Field};
    }
    const TAdvancedParams record{};
    std::sort(properties.begin(), properties.end(),
              [&record](const TRomProperty& a, const TRomProperty& b) {
                  return std::less<const void*>()(a.Field.Address(record), b.Field.Address(record));
              });
    return properties;
}

} // namespace tessaron
