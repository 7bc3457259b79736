#include "SuiteFolder.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace tessaron {

std::string OwnExecutablePath()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<size_t>(n));
}

std::string FolderOf(std::string_view path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(slash == 0 ? path.substr(0, 1) : path.substr(0, slash));
}

std::string FileNameOf(std::string_view path)
{
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string SuiteFolder()
{
    const char* home = std::getenv("TESSARON_HOME");
    std::string folder =
        (home != nullptr && *home != '\0') ? std::string(home) : FolderOf(OwnExecutablePath());
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder.empty() ? std::string(".") : folder;
}

std::string SuitePath(std::string_view name)
{
    std::string path = SuiteFolder();
    if (path != "/") {
        path += '/';
    }
    path += name;
    return path;
}

} // namespace tessaron
