#include "AdvancedClass.h"

#include "GlobalParameters.h"
#include "RomSections.h"

namespace tessaron {

namespace {

TAdvancedParams advancedDefaults(bool fileDefaults)
{
    TAdvancedParams p{};
    SetGlobalParameterDefaults(p, fileDefaults);
    SetSectionDefaults(p, AdvancedFields, fileDefaults);
    return p;
}

} // namespace

TAdvancedParams NewAdvancedParams()
{
    return advancedDefaults(false);
}

TAdvancedParams FileDefaultAdvancedParams()
{
    return advancedDefaults(true);
}

TScreenDataRec NewScreenData(int screenNumber)
{
    TScreenDataRec s{};
    SetSectionDefaults(s, ScreenFields, false);
    s.TextLine1 += std::to_string(screenNumber);
    return s;
}

TScreenDataRec FileDefaultScreenData()
{
    TScreenDataRec s{};
    SetSectionDefaults(s, ScreenFields, true);
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
}

std::string PadLcdLine(std::string text)
{
    if (text.size() < static_cast<size_t>(LcdLineLength)) {
        text.append(static_cast<size_t>(LcdLineLength) - text.size(), ' ');
    }
    return text;
}

} // namespace tessaron
