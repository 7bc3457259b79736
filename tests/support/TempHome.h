#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaron::test {

// Sets (or, with nullopt, unsets) an environment variable for a scope.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A temporary suite folder: TESSARON_HOME points at it while the object lives,
// and the folder and everything in it is removed afterwards. It is made with
// mode 0700 (mkdtemp), a private folder as the programs require. TESSARON_LOCK_DIR
// points at a private folder of its own meanwhile, so that tests running side
// by side never meet in the user's locks (or those of a bridge the user runs),
// and TESSARON_UUCP_LOCK_DIR at a folder of its own for serial ports' UUCP
// lock files (uucp/ inside that folder), so that the system's are never touched.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return m_path; }
    // The folder of the UUCP lock files meanwhile.
    std::string uucpLocks() const { return m_lockDir + "/uucp"; }
    // name inside the folder.
    std::string file(std::string_view name) const;

    // Writes a file (folders below are created); returns its path.
    std::string write(std::string_view name, std::string_view contents) const;
    // The file's bytes, "" when it does not exist.
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;

private:
    std::string m_path;
    std::string m_lockDir;
    ScopedEnv m_home;
    ScopedEnv m_locks;
    ScopedEnv m_uucpLocks;
};

// A temporary folder removed at the end of its scope (without touching TESSARON_HOME).
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const;

private:
    std::string m_path;
};

// Reads a file whole ("" when missing) and writes one, for test set-up.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view contents);

} // namespace tessaron::test
