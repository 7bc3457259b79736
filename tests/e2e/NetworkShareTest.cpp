// A keypad shared over the network: a real `tessaron bridge` with a simulated
// USB keypad, its virtual port served by ser2net as RFC 2217 with the
// configuration that the README shows, and pyserial's RFC 2217 client as the
// host application on the other machine.
#include "BridgeProcess.h"
#include "tests/portmgr/PortSettingsText.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace tessaron::test;

namespace {

// Debian's python3 with python3-serial, not one that a pyenv puts first.
constexpr const char* Python = "/usr/bin/python3";

// ser2net lives in sbin, which an ordinary user's PATH may lack.
std::string ser2netPath()
{
    std::string dirs = "/usr/sbin:/usr/local/sbin:";
    if (const char* path = std::getenv("PATH")) {
        dirs += path;
    }
    size_t from = 0;
    while (from <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', from), dirs.size());
        const std::string candidate = dirs.substr(from, end - from) + "/ser2net";
        if (end > from && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        from = end + 1;
    }
    return {};
}

bool havePyserial()
{
    ChildProcess python;
    return python.start({Python, "-c", "import serial.rfc2217"}, ChildEnvironment({})) &&
           python.wait(10000) == 0;
}

// A TCP port that nobody listens on just now.
int freeTcpPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

// The README's ser2net configuration, for this port and on 127.0.0.1.
std::string readmeConfiguration(const std::string& portPath, int tcpPort)
{
    const std::string readme = ReadFile(TESSARON_README);
    const size_t section = readme.find("\n## Sharing a keypad over the network\n");
    const size_t start = readme.find("```yaml\n", section);
    const size_t end = readme.find("```\n", start + 8);
    if (section == std::string::npos || start == std::string::npos || end == std::string::npos) {
        return {};
    }
    std::string text = readme.substr(start + 8, end - start - 8);
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"/home/ada/.local/share/tessaron/ports/COM5",
                                              portPath},
          {"tcp,3005", "tcp,127.0.0.1," + std::to_string(tcpPort)}}) {
        const size_t at = text.find(from);
        if (at == std::string::npos) {
            return {};
        }
        text.replace(at, from.size(), to);
    }
    return text;
}

} // namespace

TEST(NetworkShare, Ser2netServesTheVirtualPortToAnRfc2217ClientBothWays)
{
    const std::string ser2net = ser2netPath();
    if (ser2net.empty()) {
        GTEST_SKIP() << "ser2net is not installed (Debian: apt-get install ser2net)";
    }
    if (!havePyserial()) {
        GTEST_SKIP() << Python << " has no pyserial (Debian: apt-get install python3-serial)";
    }
    TempHome home;
    const std::string runtime = home.file("runtime");
    ::mkdir(runtime.c_str(), 0700);
    home.write("Corvandelle.ini", PortSettingsText({{"sim-1", 5}}));
    BridgeProcess bridge(home.path(), runtime);
    bridge.setUp({"add 16c0:0604 sim-1"});
    ASSERT_TRUE(bridge.start());
    ASSERT_TRUE(bridge.waitForLine("COM5 created (keypad #1)", 15000)) << bridge.errorOutput();

    const int tcpPort = freeTcpPort();
    const std::string configuration = readmeConfiguration(home.file("ports/COM5"), tcpPort);
    ASSERT_NE(configuration, "") << "the README's ser2net configuration is not where expected";
    // As the README runs it: in the foreground, no UUCP lock files.
    ChildProcess server;
    ASSERT_TRUE(server.start({ser2net, "-n", "-u", "-c", home.write("ser2net.yaml", configuration)},
                             ChildEnvironment({})));
    ChildProcess client;
    ASSERT_TRUE(client.start({Python, RFC2217_CLIENT,
                              "rfc2217://127.0.0.1:" + std::to_string(tcpPort) +
                                  "?ign_set_control"},
                             ChildEnvironment({})));
    const auto ask = [&client](const std::string& command) {
        std::string answer;
        EXPECT_TRUE(client.write(command + "\n"));
        EXPECT_TRUE(client.readLine(answer, 10000)) << command << ": " << client.errorOutput();
        return answer;
    };
    std::string opened;
    ASSERT_TRUE(client.readLine(opened, 10000)) << client.errorOutput();
    ASSERT_EQ(opened, "open");
    ASSERT_TRUE(bridge.waitForLine("COM5 opened by a host", 5000));

    // Keypad to the remote host, in order.
    FakeHidClient keypad(bridge.controlSocket());
    std::string typed;
    for (int i = 0; i < 60; ++i) {
        typed += static_cast<char>('a' + i * 7 % 26);
    }
    keypad.command("type 1 " + typed);
    EXPECT_EQ(ask("read " + std::to_string(typed.size())), typed);

    // The remote host to the keypad, in order.
    const std::string sent = "@C Shared over TCP";
    EXPECT_EQ(ask("write " + sent), "written");
    EXPECT_EQ(keypad.outputText(1, sent.size(), 5000), sent);

    // A baud-rate change is answered and reaches the port; bytes still flow.
    EXPECT_EQ(ask("baud 19200"), "baud 19200");
    const int fd = ::open(home.file("ports/COM5").c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    ASSERT_EQ(::tcgetattr(fd, &settings), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&settings), B19200);
    keypad.command("type 1 after");
    EXPECT_EQ(ask("read 5"), "after");
}
