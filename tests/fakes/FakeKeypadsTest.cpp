// The simulated keypads themselves: their command parser, the text commands
// and the control socket that other processes use.
#include "FakeHid.h"
#include "KeypadCommandParser.h"

#include "tests/support/TempHome.h"

#include <hidapi/hidapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessaron::test {
namespace {

using Clock = KeypadCommandParser::Clock;

std::vector<KeypadCommandParser::Query> feed(KeypadCommandParser& p, const std::string& bytes,
                                             Clock::time_point at)
{
    std::vector<KeypadCommandParser::Query> queries;
    p.Feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), at, queries);
    return queries;
}

TEST(KeypadCommandParser, FindsQueriesAndMessages)
{
    KeypadCommandParser p;
    const Clock::time_point t = Clock::now();
    const auto queries = feed(p, std::string("@\x05@\x06") + "@CKeypad #2, COM5 " + "xy", t);
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(queries[0], KeypadCommandParser::Query::Type);
    EXPECT_EQ(queries[1], KeypadCommandParser::Query::Identification);
    // 16 characters end the message; what follows is data.
    ASSERT_EQ(p.Messages().size(), 1u);
    EXPECT_EQ(p.Messages()[0], "Keypad #2, COM5 ");
    EXPECT_EQ(p.Data(), "xy");
}

TEST(KeypadCommandParser, ShortMessageEndsAtTheNextCommandOrAQuietLine)
{
    KeypadCommandParser p;
    const Clock::time_point t = Clock::now();
    feed(p, "@C", t);
    EXPECT_TRUE(p.MessagePending());
    p.FlushIfQuiet(t + std::chrono::milliseconds(50));
    EXPECT_TRUE(p.Messages().empty());
    p.FlushIfQuiet(t + std::chrono::milliseconds(100));
    ASSERT_EQ(p.Messages().size(), 1u);
    EXPECT_EQ(p.Messages()[0], "");

    feed(p, "@CKey", t);
    feed(p, "@C", t);
    ASSERT_EQ(p.Messages().size(), 2u);
    EXPECT_EQ(p.Messages()[1], "Key");
    // A message sent in chunks 10 ms apart stays one message.
    feed(p, "Keypad ", t + std::chrono::milliseconds(10));
    feed(p, "#3, RS2", t + std::chrono::milliseconds(20));
    feed(p, "32", t + std::chrono::milliseconds(30));
    ASSERT_EQ(p.Messages().size(), 3u);
    EXPECT_EQ(p.Messages()[2], "Keypad #3, RS232");
}

class FakeHidCommandTest : public ::testing::Test
{
protected:
    FakeHidCommandTest() { fakehid_reset(); }
    ~FakeHidCommandTest() override { fakehid_reset(); }

    std::string Run(const std::string& line)
    {
        char reply[4096] = {};
        fakehid_command(line.c_str(), reply, sizeof reply);
        return reply;
    }
};

TEST_F(FakeHidCommandTest, CommandsDriveTheKeypads)
{
    const std::string added = Run("add 16c0:0604 /dev/hidraw-cmd Command keypad  ");
    const int id = std::atoi(added.c_str());
    ASSERT_GT(id, 0);
    EXPECT_EQ(added, std::to_string(id) + "\nok\n");
    const std::string n = std::to_string(id);
    EXPECT_EQ(Run("list"), n + " 16c0:0604 /dev/hidraw-cmd plugged open=0\nok\n");

    hid_device* dev = hid_open_path("/dev/hidraw-cmd");
    ASSERT_NE(dev, nullptr);
    EXPECT_EQ(Run("type " + n + " a\\tb\\x41"), "ok\n");
    unsigned char report[9] = {};
    ASSERT_EQ(hid_read_timeout(dev, report, sizeof report, 1000), 8);
    EXPECT_EQ(report[0], 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(report) + 1, 4), "a\tbA");

    const unsigned char query[9] = {0, 2, '@', 0x06};
    hid_write(dev, query, sizeof query);
    std::string ident;
    while (ident.size() < 16) {
        ASSERT_EQ(hid_read_timeout(dev, report, sizeof report, 1000), 8);
        ident.append(reinterpret_cast<char*>(report) + 1, report[0]);
    }
    EXPECT_EQ(ident, "Command keypad  ");
    EXPECT_EQ(Run("outputs " + n), "00 02 40 06 00 00 00 00 00\nok\n");

    EXPECT_EQ(Run("unplug " + n), "ok\n");
    EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, 10), -1);
    EXPECT_EQ(hid_open_path("/dev/hidraw-cmd"), nullptr);
    EXPECT_EQ(Run("plug " + n + " /dev/hidraw-moved"), "ok\n");
    hid_device* again = hid_open_path("/dev/hidraw-moved");
    EXPECT_NE(again, nullptr);
    hid_close(again);
    hid_close(dev);
}

TEST_F(FakeHidCommandTest, BadCommandsSayWhy)
{
    EXPECT_EQ(Run("bogus 1"), "error: unknown command bogus (try help)\n");
    EXPECT_EQ(Run("type 999 x"), "error: no device 999\n");
    EXPECT_EQ(Run("add 16c0 /dev/x"), "error: usage: add VID:PID PATH [IDENTIFICATION]\n");
    EXPECT_EQ(Run("deny 1 EWHAT"), "error: unknown errno EWHAT\n");
    EXPECT_EQ(Run("# a comment"), "ok\n");
    EXPECT_NE(Run("help").find("unplug ID"), std::string::npos);
}

// Another process reaches the keypads through the socket that hid_init opens.
TEST_F(FakeHidCommandTest, ControlSocketTakesCommandsFromOutside)
{
    TempDir dir;
    const std::string path = dir.file("control.sock");
    ::setenv("TESSARON_FAKEHID_CONTROL", path.c_str(), 1);
    ASSERT_EQ(hid_init(), 0);
    ::unsetenv("TESSARON_FAKEHID_CONTROL");

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string commands = "add 16c0:0604 /dev/hidraw-sock\nlist\n";
    ASSERT_EQ(::write(fd, commands.data(), commands.size()), static_cast<ssize_t>(commands.size()));
    std::string reply;
    char buffer[256];
    while (std::count(reply.begin(), reply.end(), '\n') < 3) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        ASSERT_GT(n, 0);
        reply.append(buffer, static_cast<size_t>(n));
    }
    EXPECT_NE(reply.find("/dev/hidraw-sock plugged open=0\nok\n"), std::string::npos) << reply;
    ::close(fd);

    hid_device_info* list = hid_enumerate(0x16C0, 0x0604);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list->path, "/dev/hidraw-sock");
    hid_free_enumeration(list);
    hid_exit();
    EXPECT_NE(::access(path.c_str(), F_OK), 0); // the socket is gone with the library
}

} // namespace
} // namespace tessaron::test
