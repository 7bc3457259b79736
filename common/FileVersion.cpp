#include "FileVersion.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" const char tessaron_version_marker[];

namespace tessaron {

namespace {

// Built at run time so that this code does not itself carry a valid marker.
std::string markerTag()
{
    return std::string("TESSARON-FILE") + "VERSION=";
}

// "d+.d+.d+.d+" followed by a NUL byte; returns its length, 0 when it is not one.
size_t versionLength(std::string_view s)
{
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t start = i;
        while (i < s.size() && i - start < 5 && s[i] >= '0' && s[i] <= '9') {
            ++i;
        }
        if (i == start) {
            return 0;
        }
        if (part < 3) {
            if (i >= s.size() || s[i] != '.') {
                return 0;
            }
            ++i;
        }
    }
    return (i < s.size() && s[i] == '\0') ? i : 0;
}

} // namespace

std::string FindVersionMarker(std::string_view bytes)
{
    const std::string tag = markerTag();
    size_t from = 0;
    while (true) {
        const size_t at = bytes.find(tag, from);
        if (at == std::string_view::npos) {
            return {};
        }
        const std::string_view rest = bytes.substr(at + tag.size());
        if (const size_t n = versionLength(rest)) {
            return std::string(rest.substr(0, n));
        }
        from = at + 1;
    }
}

std::string OwnFileVersion()
{
    const char* marker = tessaron_version_marker;
    // The marker starts with a NUL byte that keeps it apart from neighbouring data.
    return FindVersionMarker(std::string_view(marker + 1, std::strlen(marker + 1) + 1));
}

std::string ReadFileVersion(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
        ::close(fd);
        return {};
    }
    const auto size = static_cast<size_t>(st.st_size);
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        return {};
    }
    std::string version = FindVersionMarker(std::string_view(static_cast<const char*>(map), size));
    ::munmap(map, size);
    return version;
}

} // namespace tessaron
