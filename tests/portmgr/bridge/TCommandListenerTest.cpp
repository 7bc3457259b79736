// The command channel's listening end: clients that send nothing, or their
// pair in pieces, hold nobody up, and a pair gets the handler's reply.
#include "portmgr/bridge/CommandListener.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessaron {
namespace {

int connectTo(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return fd;
}

// What the client reads until the listener closes: its reply, "" when
// dropped unanswered; "(open)" when the listener keeps it.
std::string readAll(int fd)
{
    std::string text;
    char buffer[16];
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        if (::poll(&p, 1, 5000) != 1) {
            text = "(open)";
            break;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

TEST(TCommandListener, SilentClientsHoldNobodyUp)
{
    test::TempHome home;
    std::string received;
    TCommandListener listener([&](char a, char b) {
        received += {a, b};
        return std::string(a == 'S' ? "ok" : "ignored");
    });
    std::string error;
    ASSERT_TRUE(listener.Listen(home.file("channel"), error)) << error;
    const auto dispatch = [&] {
        pollfd p{listener.PollFd(), POLLIN, 0};
        while (::poll(&p, 1, 0) == 1) {
            listener.Dispatch();
        }
    };

    const int oldest = connectTo(home.file("channel"));
    int silent[TCommandListener::MaxWaiting - 1];
    for (int& fd : silent) {
        fd = connectTo(home.file("channel"));
    }
    const int split = connectTo(home.file("channel")); // one more: the oldest goes
    dispatch();
    ASSERT_EQ(::write(split, "S", 1), 1);
    dispatch();
    ASSERT_EQ(::write(split, "tXY", 3), 3); // what follows the pair is not read
    dispatch();
    EXPECT_EQ(readAll(split), "ok\n");
    EXPECT_EQ(readAll(oldest), "");

    const int other = connectTo(home.file("channel"));
    ASSERT_EQ(::write(other, "Zz", 2), 2);
    dispatch();
    EXPECT_EQ(readAll(other), "ignored\n");
    EXPECT_EQ(received, "StZz");

    listener.Close();
    EXPECT_NE(::access(home.file("channel").c_str(), F_OK), 0);
    for (int fd : silent) {
        EXPECT_EQ(readAll(fd), "");
    }
}

} // namespace
} // namespace tessaron
