// The bridge threads allocate nothing in their loops: every operator new made
// on a thread named like a serial bridge thread is counted while bytes flow
// both ways. (USB threads call into the simulated hidapi, which allocates for
// its own records, so the serial kinds stand for the shared loop code.)
#include "ThreadTestSupport.h"

#include "portmgr/io/FileReadThread.h"
#include "portmgr/io/FileWriteThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

// GCC sees the free() of the replaced delete meet a new-expression when it
// inlines gtest's factories and takes it for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_bridgeAllocations{0};

bool onSerialBridgeThread()
{
    char name[16] = {};
    if (::pthread_getname_np(::pthread_self(), name, sizeof name) != 0) {
        return false;
    }
    return std::strncmp(name, "RS232 ", 6) == 0;
}

} // namespace

void* operator new(std::size_t size)
{
    if (g_counting.load(std::memory_order_relaxed) && onSerialBridgeThread()) {
        g_bridgeAllocations.fetch_add(1);
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace tessaron {
namespace {

TEST(BridgeThreads, LoopsAllocateNothing)
{
    test::PtyPair port;
    TFileReadThread reader(port.slave.get(), LinkRs232);
    TFileWriteThread writer(port.slave.get(), LinkRs232);
    ASSERT_TRUE(test::WaitFor([&] {
        char name[16] = {};
        ::pthread_getname_np(writer.NativeHandle(), name, sizeof name);
        return std::strcmp(name, writer.SystemName()) == 0;
    }));
    g_counting = true;
    const std::string text(300, 'z');
    port.Write(text);
    writer.Queue(200, reinterpret_cast<const std::uint8_t*>(text.data()));
    const std::string echoed = port.Read(200, 5000);
    ASSERT_TRUE(test::WaitFor([&] { return reader.Available() == 300; }));
    g_counting = false;
    EXPECT_EQ(echoed.size(), 200u);
    EXPECT_EQ(g_bridgeAllocations.load(), 0);
}

} // namespace
} // namespace tessaron
