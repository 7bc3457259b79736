#include "ThreadTestSupport.h"

#include "portmgr/io/FileReadThread.h"
#include "portmgr/io/FileWriteThread.h"
#include "portmgr/io/TWakeEvent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tessaron {
namespace {

using test::FakeUsbKeypad;
using test::PtyPair;
using test::WaitFor;

std::string popAll(TFileReadThread& thread)
{
    std::string out;
    while (thread.Available() > 0) {
        out += static_cast<char>(thread.PopByte());
    }
    return out;
}

// Bytes 2 to 1 + n of each report, n = byte 1 but at most 7 and at most what
// the report holds, whether the reports are numbered or not.
TEST(FileReadThreadUsb, ReportsGiveTheirBytesInOrder)
{
    struct Case
    {
        const char* what;
        int reportId;                                    // -1: unnumbered
        std::vector<std::vector<unsigned char>> reports; // none: the text is typed
        std::string text;
    };
    const Case cases[] = {
        {"typed, two reports: 7 + 7", -1, {}, "Hello, keypad!"},
        {"a count above seven carries seven",
         -1,
         {{9, '1', '2', '3', '4', '5', '6', '7'}, {1, '8', 0, 0, 0, 0, 0, 0}},
         "12345678"},
        {"a short report gives only what it has",
         -1,
         {{5, 'a', 'b'}, {1, 'c', 0, 0, 0, 0, 0, 0}},
         "abc"},
        {"numbered reports keep their layout", 2, {}, "numbered!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeUsbKeypad keypad;
        fakehid_set_report_id(keypad.id, c.reportId);
        TFileReadThread reader(keypad.handle.get(), LinkUsb);
        if (c.reports.empty()) {
            fakehid_type(keypad.id, reinterpret_cast<const unsigned char*>(c.text.data()),
                         c.text.size());
        }
        for (const std::vector<unsigned char>& report : c.reports) {
            fakehid_send_input_report(keypad.id, report.data(), report.size());
        }
        ASSERT_TRUE(WaitFor([&] { return reader.Available() == static_cast<int>(c.text.size()); }));
        EXPECT_EQ(popAll(reader), c.text);
        EXPECT_EQ(reader.PopByte(), 0);
    }
}

// Reads are stepped: every released read is one 50 ms wait that ended without
// a report, so the count can be checked exactly.
TEST(FileReadThreadUsb, SilentWaitsCountEachEmptyWaitAndResetOnAReport)
{
    FakeUsbKeypad keypad;
    fakehid_hold_reads(keypad.id, 1);
    TFileReadThread reader(keypad.handle.get(), LinkUsb);
    ASSERT_GE(fakehid_wait_reads(keypad.id, 1, 3000), 1);
    fakehid_release_reads(keypad.id, 21);
    // The 22nd read has started, so the 21st wait has been counted.
    ASSERT_GE(fakehid_wait_reads(keypad.id, 22, 3000), 22);
    EXPECT_EQ(reader.SilentWaits.load(), 21);

    const unsigned char key = 'k';
    fakehid_type(keypad.id, &key, 1);
    ASSERT_GE(fakehid_wait_reads(keypad.id, 23, 3000), 23);
    EXPECT_EQ(reader.SilentWaits.load(), 0);
    EXPECT_EQ(reader.Available(), 1);
    fakehid_hold_reads(keypad.id, 0);
}

// A silent keypad costs a few long waits, not one wake-up per 50 ms, and the
// thread tells the event loop once when the silence passes the limit.
TEST(FileReadThreadUsb, SilenceIsCountedInLongWaitsAndSignalledOnce)
{
    FakeUsbKeypad keypad;
    fakehid_set_idle_interval(keypad.id, 0);
    TWakeEvent loop;
    TFileReadThread reader(keypad.handle.get(), LinkUsb, loop.Fd());
    ASSERT_TRUE(WaitFor([&] { return reader.SilentWaits.load() > 20; }, 10000));
    EXPECT_LE(fakehid_wait_reads(keypad.id, 0, 0), 8) << "21 waits of 50 ms in at most 200 ms each";
    std::uint64_t signals = 0;
    ASSERT_EQ(::read(loop.Fd(), &signals, sizeof signals), static_cast<ssize_t>(sizeof signals));
    EXPECT_EQ(signals, 1u);
    EXPECT_EQ(reader.Available(), 0);
}

TEST(FileReadThreadUsb, EmptyReportResetsSilentWaitsAndStoresNothing)
{
    FakeUsbKeypad keypad;
    fakehid_hold_reads(keypad.id, 1);
    TFileReadThread reader(keypad.handle.get(), LinkUsb);
    fakehid_release_reads(keypad.id, 5);
    ASSERT_GE(fakehid_wait_reads(keypad.id, 6, 3000), 6);
    EXPECT_EQ(reader.SilentWaits.load(), 5);
    const unsigned char empty[8] = {0};
    fakehid_send_input_report(keypad.id, empty, sizeof empty);
    ASSERT_GE(fakehid_wait_reads(keypad.id, 7, 3000), 7);
    EXPECT_EQ(reader.SilentWaits.load(), 0);
    EXPECT_EQ(reader.Available(), 0);
    fakehid_hold_reads(keypad.id, 0);
}

TEST(FileReadThreadUsb, FullRingDropsWholeReports)
{
    FakeUsbKeypad keypad;
    fakehid_hold_reads(keypad.id, 1); // reports come at once, no idle ones
    TFileReadThread reader(keypad.handle.get(), LinkUsb);
    // 1030 bytes: 147 full reports and one of a single byte. 146 reports fill
    // 1022 bytes; every further full one would reach 1024 and is dropped; the
    // last single byte still fits.
    std::string text;
    for (int i = 0; i < 1030; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    fakehid_type(keypad.id, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    ASSERT_GE(fakehid_wait_reads(keypad.id, 149, 5000), 149);
    EXPECT_EQ(reader.Available(), 1023);
    const std::string held = popAll(reader);
    EXPECT_EQ(held.substr(0, 1022), text.substr(0, 1022));
    EXPECT_EQ(held.back(), text.back());
    fakehid_hold_reads(keypad.id, 0);
}

TEST(FileReadThreadUsb, UnpluggedKeypadCountsSilenceWithoutSpinning)
{
    FakeUsbKeypad keypad;
    TFileReadThread reader(keypad.handle.get(), LinkUsb);
    ASSERT_GE(fakehid_wait_reads(keypad.id, 1, 3000), 1);
    fakehid_unplug(keypad.id); // every read now fails at once
    const int before = fakehid_wait_reads(keypad.id, 0, 0);
    const int waitsBefore = reader.SilentWaits.load();
    ASSERT_TRUE(WaitFor([&] { return reader.SilentWaits.load() >= waitsBefore + 5; }));
    // Each failed read counts as a silent wait after a pause: no busy loop.
    const int asked = fakehid_wait_reads(keypad.id, 0, 0) - before;
    EXPECT_LE(asked, reader.SilentWaits.load() - waitsBefore + 2);
}

TEST(FileReadThreadUsb, StopEndsTheLoopDuringAWait)
{
    FakeUsbKeypad keypad;
    fakehid_set_idle_interval(keypad.id, 0); // silent: every read waits its 50 ms
    TFileReadThread reader(keypad.handle.get(), LinkUsb);
    ASSERT_GE(fakehid_wait_reads(keypad.id, 2, 3000), 2);
    reader.Stop();
    EXPECT_TRUE(reader.JoinWithin(10000));
    EXPECT_TRUE(reader.Terminated());
}

TEST(FileReadThreadSerial, BytesArriveInOrder)
{
    PtyPair port;
    TFileReadThread reader(port.slave.get(), LinkRs232);
    port.Write("RS232 keypad data");
    ASSERT_TRUE(WaitFor([&] { return reader.Available() == 17; }));
    EXPECT_EQ(popAll(reader), "RS232 keypad data");
    EXPECT_EQ(reader.SilentWaits.load(), 0); // counted for USB keypads only
}

TEST(FileReadThreadSerial, FullRingKeepsItsBatchesWhole)
{
    PtyPair port;
    TFileReadThread reader(port.slave.get(), LinkCdc);
    port.Write(std::string(1100, 'x'));
    ASSERT_TRUE(WaitFor([&] { return reader.Available() >= 1015; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(reader.Available(), 1023);
}

TEST(FileThread, NamesItselfAfterItsKind)
{
    PtyPair port;
    struct Case
    {
        char kind;
        const char* reader;
        const char* writer;
    };
    const Case cases[] = {{LinkUsb, "USB Read Thread", "USB Write Thread"},
                          {LinkRs232, "RS232 Read Thread", "RS232 Write Thread"},
                          {LinkCdc, "CDC Read Thread", "CDC Write Thread"},
                          {'x', "Read Thread", "Write Thread"}};
    for (const Case& c : cases) {
        TFileReadThread reader(port.slave.get(), c.kind);
        TFileWriteThread writer(port.slave.get(), c.kind);
        EXPECT_STREQ(reader.Name(), c.reader);
        EXPECT_STREQ(writer.Name(), c.writer);
        for (TFileThread* thread :
             {static_cast<TFileThread*>(&reader), static_cast<TFileThread*>(&writer)}) {
            ASSERT_LE(std::strlen(thread->SystemName()), 15u) << thread->Name();
            char system[16] = {};
            ASSERT_TRUE(WaitFor([&] {
                ::pthread_getname_np(thread->NativeHandle(), system, sizeof system);
                return std::strcmp(system, thread->SystemName()) == 0;
            })) << system;
        }
    }
}

} // namespace
} // namespace tessaron
