#pragma once

#include "editor/model/DownloadImage.h"
#include "editor/model/KeypadClass.h"
#include "siblings/core/DownloadImageFile.h"
#include "tests/editor/model/ModelTestSupport.h"
#include "tests/support/TempHome.h"

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaron::test {

// The download image that the editor's writer makes of a document, as file text.
inline std::string ImageTextOf(TKeypadClass& keypad, const TempDir& dir)
{
    const std::string path = dir.file("image.hex");
    WriteDownloadImage(keypad, path, dir.file("no-Tavrix.ini"));
    return ReadFile(path);
}

// The download image of a document whose key 0 types "A" on level 1, written
// to path; its length in bytes.
inline std::size_t WriteOneKeyImage(const TempHome& home, const std::string& path)
{
    TKeypadClass k;
    SetMacro(k, 0, 0, "41");
    WriteDownloadImage(k, path, home.file("none.ini"));
    return ReadDownloadImageFile(path).Bytes.size();
}

// Tavrix.ini naming COM3, attached as comType ("U" or "R"), delay ms after each byte.
inline void WriteCom3Settings(const TempHome& home, const std::string& comType, int delay)
{
    home.write("Tavrix.ini", "[Com Port Configuration]\r\nComPort=3\r\nComType=" + comType +
                                 "\r\nDownloadDelay=" + std::to_string(delay) + "\r\n");
}

// Another process that holds a device open until the object ends.
class HeldByChild
{
public:
    explicit HeldByChild(const std::string& path)
    {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            // Only the device: inherited descriptors (a pseudo-terminal's master
            // among them) would make it look like the device's own side.
            for (int fd = 3; fd < 1024; ++fd) {
                if (fd != ready[1]) {
                    ::close(fd);
                }
            }
            const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            const char ok = fd >= 0 ? '1' : '0';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char ok = '0';
        m_open = ::read(ready[0], &ok, 1) == 1 && ok == '1';
        ::close(ready[0]);
    }
    ~HeldByChild()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    HeldByChild(const HeldByChild&) = delete;
    HeldByChild& operator=(const HeldByChild&) = delete;

    bool open() const { return m_open; }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    bool m_open = false;
};

} // namespace tessaron::test
