#include "TavrixSettings.h"

#include "common/IniFile.h"
#include "editor/model/LoaderSettings.h"

#include <algorithm>

namespace tessaron {

TTavrixSettings ReadTavrixSettings(const std::string& path)
{
    TTavrixSettings s;
    const TLoaderPortStatus port = ReadLoaderPortStatus(path);
    s.ComPort = port.ComPort;
    s.ComType = port.ComType;
    const IniFile ini(path);
    s.DownloadDelay =
        std::clamp(ini.readInt(LoaderPortSection, "DownloadDelay", 0), 0, MaxDownloadDelay);
    return s;
}

void WriteTavrixPort(const std::string& path, int comPort,
                     const std::optional<std::string>& comType)
{
    IniFile ini(path);
    ini.writeInt(LoaderPortSection, "ComPort", comPort);
    if (comType) {
        ini.writeString(LoaderPortSection, "ComType", *comType);
    }
    ini.save(!ini.existed());
}

} // namespace tessaron
