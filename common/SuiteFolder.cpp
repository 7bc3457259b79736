#include "SuiteFolder.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
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

namespace {

std::string join(std::string folder, std::string_view name)
{
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    folder += name;
    return folder;
}

// The installation prefix of an executable in <prefix>/bin, "" otherwise.
std::string installPrefix(const std::string& exeFolder)
{
    if (FileNameOf(exeFolder) != "bin") {
        return {};
    }
    return FolderOf(exeFolder);
}

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isProgram(const std::string& path)
{
    return isRegularFile(path) && ::access(path.c_str(), X_OK) == 0;
}

template <typename Test>
std::string firstFound(std::string_view name, std::string_view prefixSubfolder, Test exists)
{
    const std::string inSuite = SuitePath(name);
    if (exists(inSuite)) {
        return inSuite;
    }
    const std::string exeFolder = FolderOf(OwnExecutablePath());
    if (!exeFolder.empty()) {
        const std::string beside = join(exeFolder, name);
        if (exists(beside)) {
            return beside;
        }
        const std::string prefix = installPrefix(exeFolder);
        if (!prefix.empty()) {
            const std::string installed = join(join(prefix, prefixSubfolder), name);
            if (exists(installed)) {
                return installed;
            }
        }
    }
    return inSuite;
}

} // namespace

std::string SharedFilePath(std::string_view name)
{
    return firstFound(name, "share/tessaron", isRegularFile);
}

std::string SiblingProgramPath(std::string_view fileName)
{
    return firstFound(fileName, "libexec/tessaron", isProgram);
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
