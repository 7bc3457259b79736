#pragma once

#include "WaitFor.h"

#include <cstdint>
#include <string>

namespace tessaron::test {

// A host application's end of a virtual port: opens ports/COMn like a serial
// port (non-blocking, no controlling terminal) and reads with deadlines.
class PtyHost
{
public:
    PtyHost() = default;
    explicit PtyHost(const std::string& path) { open(path); }
    ~PtyHost() { close(); }
    PtyHost(const PtyHost&) = delete;
    PtyHost& operator=(const PtyHost&) = delete;

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    bool write(const std::string& bytes);
    // Everything that arrives until count bytes came or milliseconds passed.
    std::string read(size_t count, int milliseconds);
    // Whatever arrives within milliseconds (for "nothing arrives" checks).
    std::string drain(int milliseconds) { return read(1 << 20, milliseconds); }

private:
    int m_fd = -1;
};

} // namespace tessaron::test
