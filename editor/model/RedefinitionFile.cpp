#include "RedefinitionFile.h"

#include "GlobalParameters.h"
#include "KeySections.h"

#include "common/IniFile.h"

namespace tessaron {

bool ReadRedefinitionFile(TKeypadClass& keypad, const std::string& path, std::string* refusal)
{
    const IniFile ini(path);
    if (refusal != nullptr) {
        *refusal = ini.readError();
    }
    if (!ini.existed()) {
        return false;
    }
    keypad.Reset();
    ReadGlobalParameters(ini, keypad);
    ReadKeySections(ini, keypad);
    return true;
}

void WriteRedefinitionFile(const TKeypadClass& keypad, const std::string& path)
{
    IniFile ini(path);
    WriteGlobalParameters(ini, keypad);
    WriteKeySections(ini, keypad);
    ini.save(true);
}

} // namespace tessaron
