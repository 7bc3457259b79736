#include "ThreadTestSupport.h"

#include "portmgr/io/FileWriteThread.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tessaron {
namespace {

using test::FakeUsbKeypad;
using test::PtyPair;
using test::WaitFor;

std::vector<unsigned char> output(int id, int index)
{
    unsigned char data[64] = {};
    const int n = fakehid_output(id, index, data, sizeof data);
    return n < 0 ? std::vector<unsigned char>() : std::vector<unsigned char>(data, data + n);
}

const std::uint8_t* bytesOf(const std::string& s)
{
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

TEST(FileWriteThreadUsb, TenBytesLeaveAsTwoReportsOfSevenAndThree)
{
    FakeUsbKeypad keypad;
    TFileWriteThread writer(keypad.handle.get(), LinkUsb);
    EXPECT_TRUE(writer.Queue(10, bytesOf("0123456789")));
    ASSERT_EQ(fakehid_wait_outputs(keypad.id, 2, 3000), 2);
    const std::vector<unsigned char> first = {0x00, 7, '0', '1', '2', '3', '4', '5', '6'};
    const std::vector<unsigned char> second = {0x00, 3, '7', '8', '9', 0, 0, 0, 0};
    EXPECT_EQ(output(keypad.id, 0), first);
    EXPECT_EQ(output(keypad.id, 1), second);
    ASSERT_TRUE(WaitFor([&] { return writer.Pending() == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(fakehid_output_count(keypad.id), 2);
}

TEST(FileWriteThreadUsb, ChunksLeaveAtMostOnePer10Ms)
{
    FakeUsbKeypad keypad;
    TFileWriteThread writer(keypad.handle.get(), LinkUsb);
    const auto start = std::chrono::steady_clock::now();
    writer.Queue(70, bytesOf(std::string(70, 'p')));
    ASSERT_EQ(fakehid_wait_outputs(keypad.id, 10, 5000), 10);
    // Ten reports with a pause of 10 ms after each of the first nine.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}

TEST(FileWriteThreadUsb, BatchThatCannotFitIsRefusedWhole)
{
    FakeUsbKeypad keypad;
    TFileWriteThread writer(keypad.handle.get(), LinkUsb);
    EXPECT_FALSE(writer.Queue(1024, bytesOf(std::string(1024, 'r'))));
    std::string text;
    for (int i = 0; i < 1023; ++i) {
        text += static_cast<char>('A' + i % 26);
    }
    EXPECT_TRUE(writer.Queue(1023, bytesOf(text)));
    // 146 full reports and one with the last byte.
    ASSERT_EQ(fakehid_wait_outputs(keypad.id, 147, 10000), 147);
    std::string sent;
    for (int i = 0; i < 147; ++i) {
        const std::vector<unsigned char> report = output(keypad.id, i);
        ASSERT_EQ(report.size(), 9u);
        sent.append(reinterpret_cast<const char*>(report.data()) + 2, report[1]);
    }
    EXPECT_EQ(sent, text);
    EXPECT_EQ(output(keypad.id, 146)[1], 1);
}

TEST(FileWriteThreadUsb, QueueWakesAnIdleWriter)
{
    FakeUsbKeypad keypad;
    TFileWriteThread writer(keypad.handle.get(), LinkUsb);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(fakehid_output_count(keypad.id), 0);
    writer.Queue(2, bytesOf("@\x06"));
    ASSERT_EQ(fakehid_wait_outputs(keypad.id, 1, 3000), 1);
    const std::vector<unsigned char> query = {0x00, 2, '@', 0x06, 0, 0, 0, 0, 0};
    EXPECT_EQ(output(keypad.id, 0), query);
}

TEST(FileWriteThreadUsb, UnpluggedKeypadLosesTheBytesQuietly)
{
    FakeUsbKeypad keypad;
    TFileWriteThread writer(keypad.handle.get(), LinkUsb);
    fakehid_unplug(keypad.id);
    writer.Queue(10, bytesOf("0123456789"));
    ASSERT_TRUE(WaitFor([&] { return writer.Pending() == 0; }));
    EXPECT_EQ(fakehid_output_count(keypad.id), 0);
}

TEST(FileWriteThreadSerial, BytesLeaveBareAndInOrder)
{
    PtyPair port;
    TFileWriteThread writer(port.slave.get(), LinkRs232);
    const std::string label = "@CKeypad #1, RS232";
    writer.Queue(static_cast<int>(label.size()), bytesOf(label));
    EXPECT_EQ(port.Read(label.size(), 3000), label);
    EXPECT_EQ(port.Read(1, 100), "");
}

TEST(FileWriteThreadSerial, CdcKeypadGetsTheSameBytes)
{
    PtyPair port;
    TFileWriteThread writer(port.slave.get(), LinkCdc);
    writer.Queue(2, bytesOf("@C"));
    EXPECT_EQ(port.Read(2, 3000), "@C");
}

} // namespace
} // namespace tessaron
