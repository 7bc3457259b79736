#include "SuiteFolder.h"

#include "PrivateFolder.h"
#include "RuntimePlace.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Where an installation puts its files, relative to the prefix (from the build).
#ifndef TESSARON_INSTALL_BINDIR
#define TESSARON_INSTALL_BINDIR "bin"
#endif
#ifndef TESSARON_INSTALL_DATADIR
#define TESSARON_INSTALL_DATADIR "share"
#endif
#ifndef TESSARON_INSTALL_LIBEXECDIR
#define TESSARON_INSTALL_LIBEXECDIR "libexec"
#endif

namespace tessaron {

namespace fs = std::filesystem;

namespace {

// Set once at start by the programs with windows; tests reset it.
SuiteFolderRefusalHandler g_refusalHandler;

} // namespace

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

namespace {

std::string join(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

std::string withoutTrailingSlashes(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

bool isFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

std::string sharedFolderOf(const std::string& prefix)
{
    return join(join(prefix, TESSARON_INSTALL_DATADIR), "tessaron");
}

// A path read from the environment counts only when it is absolute, as the XDG
// base directory rules say.
const char* absoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    return (value != nullptr && value[0] == '/') ? value : nullptr;
}

std::string userHome()
{
    if (const char* home = absoluteEnv("HOME")) {
        return home;
    }
    return RuntimePlace::PasswdHome(::getuid());
}

// $XDG_DATA_HOME/tessaron, "" when the user has no home to put it in.
std::string perUserFolder()
{
    std::string base;
    if (const char* data = absoluteEnv("XDG_DATA_HOME")) {
        base = data;
    } else {
        const std::string home = userHome();
        if (home.empty()) {
            return {};
        }
        base = join(home, ".local/share");
    }
    return join(withoutTrailingSlashes(base), "tessaron");
}

// mkdir -p; folders made here are private to the user, as the XDG rules ask.
void makeParentFolders(const std::string& folder)
{
    if (folder.empty() || isFolder(folder)) {
        return;
    }
    makeParentFolders(FolderOf(folder));
    ::mkdir(folder.c_str(), 0700);
}

// The folder of the shipped sample documents: beside the executable, else in
// the installation's shared folder.
std::string samplesFolderFor(std::string_view exeFolder)
{
    const std::string beside = join(exeFolder, "Macro Files");
    if (isFolder(beside)) {
        return beside;
    }
    const std::string prefix = InstallPrefixOf(exeFolder);
    return prefix.empty() ? std::string() : join(sharedFolderOf(prefix), "Macro Files");
}

// Makes the per-user suite folder unless it exists, with copies of the sample
// documents in its "Macro Files". It is filled under a temporary name and then
// renamed into place, so that a second program starting at the same moment
// never sees it half made; the loser of that race throws its copy away. A
// folder that cannot be made is left to the first write into it to report.
void makeOnFirstUse(const std::string& folder, const std::string& samples)
{
    if (isFolder(folder)) {
        return;
    }
    const std::string parent = FolderOf(folder);
    makeParentFolders(parent);
    std::string staging;
    for (int attempt = 0;; ++attempt) {
        staging =
            join(parent, ".tessaron-" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        if (::mkdir(staging.c_str(), 0700) == 0) {
            break;
        }
        if (errno != EEXIST || attempt == 100) {
            return;
        }
    }
    std::error_code error;
    const fs::path documents = fs::path(staging) / "Macro Files";
    fs::create_directory(documents, error);
    if (!samples.empty()) {
        for (const fs::directory_entry& entry : fs::directory_iterator(samples, error)) {
            if (!entry.is_regular_file(error)) {
                continue;
            }
            const fs::path copy = documents / entry.path().filename();
            // The copy is the user's to change, whatever the shipped file's mode.
            if (fs::copy_file(entry.path(), copy, error)) {
                fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write,
                                fs::perm_options::add, error);
            }
        }
    }
    if (::rename(staging.c_str(), folder.c_str()) != 0) {
        fs::remove_all(staging, error);
    }
}

// A folder that only the user or root can change: a build or copy of the
// user's own, or an installation. Programs and files are taken from beside
// the executable or from the installation only then, never from a shared copy
// that others may write to.
bool trusted(const std::string& folder)
{
    return PrivateFolder::Check(folder, ::getuid(), true).isPrivate() ||
           PrivateFolder::Check(folder, 0, true).isPrivate();
}

template <typename Test>
std::string firstFound(std::string_view exeFolder, std::string_view name,
                       std::string_view prefixSubfolder, Test exists)
{
    // The suite folder is private by now (SuiteFolderFor refuses any other).
    const std::string inSuite = join(SuiteFolderFor(exeFolder), name);
    if (exists(inSuite)) {
        return inSuite;
    }
    if (!exeFolder.empty()) {
        const std::string exe = withoutTrailingSlashes(std::string(exeFolder));
        const std::string beside = join(exe, name);
        if (exists(beside) && trusted(exe) && trusted(FolderOf(beside))) {
            return beside;
        }
        const std::string prefix = InstallPrefixOf(exe);
        if (!prefix.empty()) {
            const std::string root = join(prefix, prefixSubfolder);
            const std::string installed = join(root, name);
            if (exists(installed) && trusted(root) && trusted(FolderOf(installed))) {
                return installed;
            }
        }
    }
    return inSuite;
}

} // namespace

std::string InstallPrefixOf(std::string_view exeFolder)
{
    const std::string folder = withoutTrailingSlashes(std::string(exeFolder));
    for (const std::string& installed :
         {std::string(TESSARON_INSTALL_BINDIR), join(TESSARON_INSTALL_LIBEXECDIR, "tessaron")}) {
        if (folder.size() <= installed.size() ||
            folder.compare(folder.size() - installed.size(), installed.size(), installed) != 0 ||
            folder[folder.size() - installed.size() - 1] != '/') {
            continue;
        }
        std::string prefix = folder.substr(0, folder.size() - installed.size() - 1);
        if (prefix.empty()) {
            prefix = "/";
        }
        // A build's bin/ has no share/tessaron beside it.
        if (isFolder(sharedFolderOf(prefix))) {
            return prefix;
        }
    }
    return {};
}

std::string SuiteFolderFor(std::string_view exeFolder, std::string& refusal)
{
    refusal.clear();
    const uid_t uid = ::getuid();
    const char* home = std::getenv("TESSARON_HOME");
    if (home != nullptr && *home != '\0') {
        // Asked for by name: one that is not private is refused, not swapped
        // for another folder behind the user's back. One that does not exist
        // yet is the user's to make.
        std::string folder = withoutTrailingSlashes(home);
        const PrivateFolder check = PrivateFolder::Check(folder, uid, true);
        if (!check.isPrivate() && check.verdict() != PrivateFolder::Verdict::Missing) {
            refusal = "TESSARON_HOME: " + check.problem() +
                      ". Point TESSARON_HOME at a folder that belongs to you and that nobody "
                      "else may write to, or unset it";
            return {};
        }
        return folder;
    }
    const std::string exe = withoutTrailingSlashes(std::string(exeFolder));
    // root may write anywhere: an installed tree is never the suite folder.
    // A folder that others may write to (a shared, group-writable copy) is not
    // either: they could replace the sibling programs the user starts, or link
    // ports/COMn to a terminal of theirs.
    if (!exe.empty() && InstallPrefixOf(exe).empty() && ::access(exe.c_str(), W_OK) == 0 &&
        PrivateFolder::Check(exe, uid, true).isPrivate()) {
        return exe;
    }
    const std::string user = perUserFolder();
    if (user.empty()) {
        refusal = "no folder for the suite's files: you have no home folder, and the "
                  "programs' folder " +
                  exe +
                  " is an installation or not a private folder of yours. Set TESSARON_HOME to "
                  "a folder of your own";
        return {};
    }
    makeOnFirstUse(user, samplesFolderFor(exe));
    const PrivateFolder check = PrivateFolder::Check(user, uid, true);
    if (!check.isPrivate() && check.verdict() != PrivateFolder::Verdict::Missing) {
        refusal = check.problem() + (check.verdict() == PrivateFolder::Verdict::WritableByOthers
                                         ? ". Make it private: chmod go-w '" + user + "'"
                                         : ". Move it away; a new one is made at the next start");
        return {};
    }
    // One that could not be made is left to the first write into it to report.
    return user;
}

std::string SuiteFolderFor(std::string_view exeFolder)
{
    std::string refusal;
    std::string folder = SuiteFolderFor(exeFolder, refusal);
    if (!refusal.empty()) {
        if (g_refusalHandler) {
            g_refusalHandler(refusal);
        } else {
            std::fprintf(stderr, "%s: %s\n", FileNameOf(OwnExecutablePath()).c_str(),
                         refusal.c_str());
        }
        // Whatever the handler did, a refused folder is never used.
        std::exit(1);
    }
    return folder;
}

void SetSuiteFolderRefusalHandler(SuiteFolderRefusalHandler handler)
{
    g_refusalHandler = std::move(handler);
}

std::string SuiteFolder()
{
    return SuiteFolderFor(FolderOf(OwnExecutablePath()));
}

std::string SharedFilePathFor(std::string_view exeFolder, std::string_view name)
{
    return firstFound(exeFolder, name, join(TESSARON_INSTALL_DATADIR, "tessaron"), isRegularFile);
}

std::string SiblingProgramPathFor(std::string_view exeFolder, std::string_view fileName)
{
    return firstFound(exeFolder, fileName, join(TESSARON_INSTALL_LIBEXECDIR, "tessaron"),
                      isProgram);
}

std::string SharedFilePath(std::string_view name)
{
    return SharedFilePathFor(FolderOf(OwnExecutablePath()), name);
}

std::string SiblingProgramPath(std::string_view fileName)
{
    return SiblingProgramPathFor(FolderOf(OwnExecutablePath()), fileName);
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
