#include "editor/model/PackedFields.h"

#include <gtest/gtest.h>

namespace tessaron {
namespace {

// The USER Properties list shows each stored value as an entry and stores the
// entry's value back: every entry survives the round trip, and a value the list
// cannot show comes back as the entry it was shown as.
TEST(UserWordFormat, EntriesAndValuesRoundTrip)
{
    const std::pair<int, std::uint8_t> entries[] = {{0, 8}, {1, 0}, {2, 6}, {3, 2}};
    for (const auto& [entry, value] : entries) {
        EXPECT_EQ(UserWordFormatValue(entry), value) << entry;
        EXPECT_EQ(UserWordFormatEntry(value), entry) << entry;
    }
    for (int value = 0; value < 256; ++value) {
        const int entry = UserWordFormatEntry(static_cast<std::uint8_t>(value));
        ASSERT_GE(entry, 0);
        ASSERT_LT(entry, UserWordFormatCount);
        EXPECT_EQ(UserWordFormatEntry(UserWordFormatValue(entry)), entry) << value;
    }
    EXPECT_EQ(UserWordFormatEntry(0x0F), 0) << "8 data bits win";
    EXPECT_EQ(UserWordFormatEntry(0x04), 1) << "odd without parity on is none";
}

} // namespace
} // namespace tessaron
