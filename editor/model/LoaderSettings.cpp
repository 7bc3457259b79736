#include "LoaderSettings.h"

#include "common/AtomicFile.h"
#include "common/IniFile.h"
#include "common/SuiteFolder.h"

namespace tessaron {

std::string LoaderSettingsPath()
{
    return SuitePath("Tavrix.ini");
}

TLoaderPortStatus ReadLoaderPortStatus(const std::string& loaderSettingsPath)
{
    const IniFile ini(loaderSettingsPath);
    TLoaderPortStatus status;
    status.ComPort = ini.readInt(LoaderPortSection, "ComPort", 0);
    status.ComType = ini.readString(LoaderPortSection, "ComType", "?");
    return status;
}

int ReadTestComPort(const std::string& loaderSettingsPath)
{
    if (!FileExists(loaderSettingsPath)) {
        return 0;
    }
    return IniFile(loaderSettingsPath).readInt(LoaderPortSection, "ComPort", 0);
}

void UpdateDownloadDelay(const std::string& loaderSettingsPath, std::int32_t downloadDelay)
{
    // The file belongs to the loader: only a file that names a port is touched,
    // and a missing one is never created.
    IniFile ini(loaderSettingsPath);
    if (!ini.existed() || ini.readInt(LoaderPortSection, "ComPort", -1) == -1) {
        return;
    }
    ini.writeInt(LoaderPortSection, "DownloadDelay", downloadDelay);
    ini.save();
}

} // namespace tessaron
