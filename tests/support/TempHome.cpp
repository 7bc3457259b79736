#include "TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tessaron::test {

namespace fs = std::filesystem;

namespace {

std::string makeTempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "tessaron-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}

} // namespace

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, std::string_view contents)
{
    const fs::path p(path);
    if (p.has_parent_path()) {
        fs::create_directories(p.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
{
    if (const char* old = std::getenv(name)) {
        m_old = old;
    }
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}

ScopedEnv::~ScopedEnv()
{
    if (m_old) {
        ::setenv(m_name, m_old->c_str(), 1);
    } else {
        ::unsetenv(m_name);
    }
}

TempHome::TempHome()
    : m_path(makeTempFolder()), m_lockDir(makeTempFolder()), m_home("TESSARON_HOME", m_path),
      m_locks("TESSARON_LOCK_DIR", m_lockDir), m_uucpLocks("TESSARON_UUCP_LOCK_DIR", uucpLocks())
{
    fs::create_directory(uucpLocks());
}

TempHome::~TempHome()
{
    std::error_code ignored;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
    fs::remove_all(m_lockDir, ignored);
}

std::string TempHome::file(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

std::string TempHome::write(std::string_view name, std::string_view contents) const
{
    const std::string path = file(name);
    WriteFile(path, contents);
    return path;
}

std::string TempHome::read(std::string_view name) const
{
    return ReadFile(file(name));
}

bool TempHome::exists(std::string_view name) const
{
    return fs::exists(file(name));
}

TempDir::TempDir() : m_path(makeTempFolder()) {}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

std::string TempDir::file(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

} // namespace tessaron::test
