#include "portmgr/io/ByteRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessaron {
namespace {

std::vector<std::uint8_t> bytes(int n, int first = 0)
{
    std::vector<std::uint8_t> out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        out[static_cast<size_t>(i)] = static_cast<std::uint8_t>(first + i);
    }
    return out;
}

TEST(ByteRing, HoldsAtMost1023Bytes)
{
    TByteRing ring;
    EXPECT_TRUE(ring.Append(bytes(1023).data(), 1023));
    EXPECT_EQ(ring.Count(), 1023);
    const std::uint8_t one = 7;
    EXPECT_FALSE(ring.Append(&one, 1));
    EXPECT_EQ(ring.Count(), 1023);
}

TEST(ByteRing, BatchThatWouldReach1024IsDroppedWhole)
{
    TByteRing ring;
    ASSERT_TRUE(ring.Append(bytes(1020, 1).data(), 1020));
    // 1020 + 4 = 1024: refused whole, not cut to the three that would fit.
    EXPECT_FALSE(ring.Append(bytes(4, 200).data(), 4));
    EXPECT_EQ(ring.Count(), 1020);
    EXPECT_TRUE(ring.Append(bytes(3, 200).data(), 3));
    for (int i = 0; i < 1020; ++i) {
        ASSERT_EQ(ring.PopByte(), static_cast<std::uint8_t>(1 + i)) << i;
    }
    EXPECT_EQ(ring.PopByte(), 200);
    EXPECT_EQ(ring.PopByte(), 201);
    EXPECT_EQ(ring.PopByte(), 202);
    EXPECT_EQ(ring.Count(), 0);
}

TEST(ByteRing, EmptyRingPopsZero)
{
    TByteRing ring;
    EXPECT_EQ(ring.PopByte(), 0);
    EXPECT_EQ(ring.Count(), 0);
    const std::uint8_t b = 9;
    ring.Append(&b, 1);
    EXPECT_EQ(ring.PopByte(), 9);
    EXPECT_EQ(ring.PopByte(), 0);
}

TEST(ByteRing, IndexesWrapAroundTheEnd)
{
    TByteRing ring;
    ASSERT_TRUE(ring.Append(bytes(1000).data(), 1000));
    std::uint8_t out[1000];
    EXPECT_EQ(ring.Take(out, 1000), 1000);
    // The next batch runs from index 1000 over 1023 to the start.
    ASSERT_TRUE(ring.Append(bytes(100, 50).data(), 100));
    EXPECT_EQ(ring.Take(out, 7), 7);
    EXPECT_EQ(out[0], 50);
    EXPECT_EQ(out[6], 56);
    EXPECT_EQ(ring.Take(out, 1000), 93);
    EXPECT_EQ(out[92], 149);
    EXPECT_EQ(ring.Count(), 0);
}

TEST(ByteRing, RejectsNonsenseBatches)
{
    TByteRing ring;
    const std::uint8_t b = 1;
    EXPECT_FALSE(ring.Append(&b, -1));
    EXPECT_FALSE(ring.Append(nullptr, 3));
    EXPECT_TRUE(ring.Append(nullptr, 0));
    EXPECT_EQ(ring.Count(), 0);
}

} // namespace
} // namespace tessaron
